#pragma once

// Why a port failed, shown under the message above; "%1" takes the programs holding a port.
inline constexpr char kCausePermission[] =
    "Ce compte n'a pas le droit d'ouvrir le port série : il n'est pas membre du groupe dialout. "
    "Tapez la commande « sudo usermod -aG dialout $USER », puis fermez la session et "
    "rouvrez-la.";
inline constexpr char kCauseBusy[] =
    "Le port série est déjà utilisé par un autre programme%1. Fermez ce programme ou attendez "
    "qu'il libère le port, puis recommencez.";
inline constexpr char kCauseGone[] =
    "Le port série n'existe plus : l'adaptateur a sans doute été débranché. Rebranchez-le, "
    "puis choisissez de nouveau le port dans la configuration du logiciel.";
inline constexpr char kCauseNotSerial[] =
    "Ce périphérique n'est pas un port série. Choisissez un autre port.";
inline constexpr char kCauseLost[] =
    "La liaison a été coupée pendant l'échange (adaptateur débranché ou erreur "
    "d'entrée-sortie). L'appareil a pu garder une configuration partielle : rebranchez-le et "
    "émettez de nouveau.";
