#pragma once

// The French texts the exchange sequences put in front of the user, each written once.

inline constexpr char kTextReadingConfig[] = "\r\n Lecture en cours ...";
inline constexpr char kTextReadingModem[] = "\r\n Lecture en cours...";

inline constexpr char kTextConfigNotReceived[] = "\r\n Configuration non reçue";
inline constexpr char kTextConfigNotReceivedTight[] = "\r\nConfiguration non reçue";

inline constexpr char kTextReadFailure[] = "Echec de lecture de la configuration.";
inline constexpr char kTextConfigFailure[] = "Echec de la configuration.";

inline constexpr char kTextSendFailure[] = "Echec d'émission de la configuration";
inline constexpr char kTextSendFailurePeriod[] = "Echec d'émission de la configuration.";

inline constexpr char kTextModemNotReceived[] = "Configuration non reçue!";
inline constexpr char kTextModemNotReceivedStatus[] = "\r\n Configuration non reçue!";

// After the message of an exchange whose wait the user ended, where the exchange is recorded.
inline constexpr char kTextWaitCancelled[] = " (attente annulée)";

// Shown on its own after a reply cut by a hang-up was decoded as if it were whole.
inline constexpr char kTextReplyCut[] =
    "L'appareil a été déconnecté pendant sa réponse : l'état affiché est incomplet. "
    "Rebranchez l'appareil et émettez de nouveau.";
