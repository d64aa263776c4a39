#pragma once

// The fixed French texts of the network's map and report, written once.
namespace NetworkTexts {

inline constexpr char kReportTitle[] = "Rapport de mise en service";
inline constexpr char kModem[] = "Modem";
inline constexpr char kReportNotWritten[] = "Impossible d'écrire le rapport";
// The journal's editor column for the two pages that program a band, their tabs' words.
inline constexpr char kRepeaterEditor[] = "Répéteur";
inline constexpr char kSensorEditor[] = "Capteur";
// A cell whose machines' latest sends differ, with how many machines sent: "programmé sur 2
// postes".
inline constexpr char kProgrammedOnPrefix[] = "programmé sur ";
inline constexpr char kProgrammedOnSuffix[] = " postes";

}  // namespace NetworkTexts
