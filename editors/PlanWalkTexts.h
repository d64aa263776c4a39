#pragma once

// What the sheet says while it walks a site's plan, and when a plan is imported.
namespace PlanWalkTexts {

// Each followed by the label and location the plan gives, when it gives any.
inline constexpr const char* kDeviceLine = "Valeurs du plan pour l'ID %1";
inline constexpr const char* kModemLine = "Valeur du plan pour le modem : %1 = %2";
inline constexpr const char* kNotInPlan = "ID %1 hors plan : valeurs tapées à la main";
inline constexpr const char* kNextToDo = "Suivant à faire";
inline constexpr const char* kNextToDoTip =
    "Met dans le champ ID le premier appareil du plan "
    "de cet onglet qui n'est pas encore conforme (F3)";
inline constexpr const char* kBandDone = "Tous les appareils du plan de cet onglet sont conformes.";
inline constexpr const char* kRepeaterCountDiffers =
    "Attention : le plan prévoit %1 répéteur(s), la configuration en annonce %2. Vérifiez le "
    "nombre de répéteurs avant d'émettre.";
inline constexpr const char* kApartBand = "Hors plan (programmés sans être planifiés)";

inline constexpr const char* kPlanButton = "Plan…";
inline constexpr const char* kPlanButtonTip = "Importer le plan du site (fichier CSV)";
inline constexpr const char* kPlanClientTip =
    "L'import d'un plan demande le rôle d'administrateur.";
inline constexpr const char* kChooseFile = "Plan du site";
inline constexpr const char* kFileFilter = "Plan de site (*.csv *.txt);;Tous les fichiers (*)";
inline constexpr const char* kUnreadable = "Impossible de lire le fichier %1.";
inline constexpr const char* kRefused = "Plan refusé, rien n'en est gardé :\n%1";
inline constexpr const char* kNotStored = "Impossible d'enregistrer le plan du réseau « %1 ».";
inline constexpr const char* kCaption = "Plan du site";

}  // namespace PlanWalkTexts
