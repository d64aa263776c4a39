#pragma once

#include "MapStates.h"
#include "NetworkTexts.h"

// The editors' own texts, each once. Exchange texts (progress of a read, failures) belong
// to the link layer, and so do the sentences that refuse a value.
namespace EditorTexts {

inline constexpr const char* kNoConfigCapital = "Pas de Configuration";
inline constexpr const char* kNoConfig = "Pas de configuration";
inline constexpr const char* kRefused = "\r\n Pas de configuration.";

inline constexpr const char* kSending = "\r\n Emission en cours ...";
inline constexpr const char* kSendingModem = "\r\n Emission en cours...";
inline constexpr const char* kQuickSendingRepeater = "\r\n Emettre au cours ...";
inline constexpr const char* kQuickSendingSensor = "\r\n Emission au cours ...";

inline constexpr const char* kSheetCaption = "Zav7305 : Configuration par défaut";
inline constexpr const char* kPageQuestionCaption = "ZU7305";
inline constexpr const char* kModemCaption = "DevOv7305";

inline constexpr const char* kNotRepeaterId =
    "Cet ID n'est pas un ID de répéteur.\nVoulez-vous le programmer ?";
inline constexpr const char* kNotSensorId =
    "Cet ID n'est pas un ID de capteur.\nVoulez-vous le programmer ?";
inline constexpr const char* kIdAlreadyAssigned =
    "ID déjà attribué.\nVoulez-vous le reprogrammer ?";
inline constexpr const char* kCannotSendTwice = "Impossible emettre 2 fois";
inline constexpr const char* kNoParamChosen = "Erreur de choix des paramètres à configurer";

inline constexpr const char* kEmettre = "Emettre";
inline constexpr const char* kQuitter = "Quitter";
inline constexpr const char* kRetour = "Retour";

// Beside the status box while an exchange waits; %1 is the whole seconds left.
inline constexpr const char* kCountdownReport = "Réponse attendue : %1 s";
inline constexpr const char* kCountdownPause = "Pause avant lecture : %1 s";
// Beside the countdown: ends the wait as its deadline would (Escape does the same).
inline constexpr const char* kCancelWait = "Annuler";
// The ID field has moved on after a send that must be done again: the verdict names the ID.
inline constexpr const char* kIdToRedo = "ID %1 à reprendre";
inline constexpr const char* kIdToRedoBecause = "ID %1 à reprendre : %2";

inline constexpr const char* kWindowIcon = ":/icons/143.ico";

inline constexpr const char* kNetworkLabel = "Réseau :";
inline constexpr const char* kNetworkName = "Nom du réseau";
inline constexpr const char* kReportButton = NetworkTexts::kReportTitle;
inline constexpr const char* kRenameNetwork =
    "Le réseau « %1 » a déjà des échanges enregistrés ; il les garde.\n"
    "Commencer le réseau « %2 » ?";
inline constexpr const char* kReportWritten = "Le rapport est enregistré dans :\n%1";
inline constexpr const char* kOpenReport = "Ouvrir le rapport";
inline constexpr const char* kJournalButton = "Journal…";
inline constexpr const char* kJournalNotKept =
    "Le dossier du journal %1 n'a pas pu être gardé : %2";
inline constexpr const char* kReplaceReport =
    "Le fichier %1 existe déjà.\nVoulez-vous le remplacer ?";

}  // namespace EditorTexts

// The map of the network beside the sheet's pages.
namespace MapViewTexts {

inline constexpr const char* kRepeaterBand = "Répéteurs : ID 1 à %1";
inline constexpr const char* kSensorBand = "Capteurs : ID %1 à %2";
inline constexpr const char* kModemBand = NetworkTexts::kModem;
inline constexpr const char* kNoMark = StateInfo(DeviceState::kNotProgrammed).mark;
inline constexpr const char* kNextCell = "prochain envoi";
inline constexpr const char* kChooseCell = "Cliquez sur une case pour voir son dernier échange.";
inline constexpr const char* kSentLine = "Envoyé : %1";
inline constexpr const char* kReadLine = "Lu : %1";
inline constexpr const char* kVerdictLine = "Verdict : %1";
inline constexpr const char* kMessageLine = "Message : %1";
inline constexpr const char* kCauseLine = "Cause : %1";
inline constexpr const char* kSkippedLines = "%1 ligne(s) du journal illisible(s), ignorée(s).";
inline constexpr const char* kUnreadableFiles =
    "Fichiers du journal illisibles, laissés de côté : %1";
inline constexpr const char* kLeftAside =
    "%1 fichier(s) du dossier laissé(s) de côté (copies de synchronisation, fichiers "
    "temporaires ou étrangers).";
inline constexpr const char* kReportFileName = "rapport-%1.pdf";
inline constexpr const char* kNoNetwork =
    "Nommez le réseau pour suivre sa mise en service d'un jour à l'autre.";

}  // namespace MapViewTexts
