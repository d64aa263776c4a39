#pragma once

// The French words a site plan is read and written with, and why a plan is refused.
namespace PlanTexts {

// The columns as the header line writes them; matched without case or accents.
inline constexpr char kId[] = "id";
inline constexpr char kRole[] = "rôle";
inline constexpr char kLabel[] = "désignation";
inline constexpr char kLocation[] = "emplacement";

// The facts before the header.
inline constexpr char kNetwork[] = "réseau";
inline constexpr char kClient[] = "client";
inline constexpr char kSite[] = "site";
inline constexpr char kAddress[] = "adresse";
inline constexpr char kRepeaters[] = "répéteurs";

inline constexpr char kRepeater[] = "répéteur";
inline constexpr char kSensor[] = "capteur";
inline constexpr char kModem[] = "modem";

inline constexpr char kLine[] = "ligne";
inline constexpr char kFile[] = "fichier";

inline constexpr char kNotUtf8[] =
    "texte qui n'est pas de l'UTF-8 (enregistrez le fichier en UTF-8)";
inline constexpr char kLineTooLong[] = "ligne trop longue (plus de %1 octets)";
inline constexpr char kTooManyLines[] = "plus de %1 lignes : ce fichier n'est pas un plan";
inline constexpr char kFileTooLong[] =
    "fichier trop long (plus de %1 octets) : ce n'est pas un plan";
inline constexpr char kOpenQuote[] = "guillemet ouvert mais jamais fermé";
inline constexpr char kUnknownKey[] =
    "clé « %1 » inconnue : réseau, client, site, adresse ou répéteurs";
inline constexpr char kKeyTwice[] = "« %1 » déjà donné ligne %2";
inline constexpr char kKeyAfterHeader[] = "« %1 » doit venir avant la ligne des colonnes";
inline constexpr char kOneValue[] = "une clé et sa seule valeur sont attendues";
inline constexpr char kEmptyNetwork[] = "le nom du réseau ne peut pas être vide";
inline constexpr char kKeyMissing[] = "clé « %1 » absente";
inline constexpr char kNoHeader[] =
    "ligne des colonnes absente : id;rôle;désignation;emplacement;CHF;OFT;P0;PRT;TYP";
inline constexpr char kUnknownColumn[] = "colonne « %1 » inconnue";
inline constexpr char kColumnTwice[] = "colonne « %1 » en double";
inline constexpr char kColumnMissing[] = "colonne « %1 » manquante";
inline constexpr char kValueMissing[] = "%1 manquant";
inline constexpr char kExtraValue[] = "valeur en trop après la dernière colonne";
inline constexpr char kUnknownRole[] = "rôle « %1 » inconnu : répéteur, capteur ou modem";
inline constexpr char kRepeaterBeyond[] =
    "le répéteur %1 dépasse les %2 répéteurs du réseau (répéteurs de 1 à %2)";
inline constexpr char kNoRepeaters[] = "le répéteur %1 : le réseau n'a aucun répéteur";
inline constexpr char kSensorAmongRepeaters[] =
    "le capteur %1 a un ID de répéteur (capteurs de %2 à %3)";
inline constexpr char kIdTwice[] = "ID %1 déjà planifié ligne %2";
inline constexpr char kSecondModem[] = "un seul modem par plan (le premier est ligne %1)";
inline constexpr char kControl[] = "%1 : caractère de contrôle";
inline constexpr char kNoDevice[] = "aucun appareil dans le plan";

}  // namespace PlanTexts
