#include "FileStatus.h"

#include <cerrno>

namespace {

struct ReasonRow {
    int status;
    const char* reason;
};

constexpr ReasonRow kReasons[] = {
    {ENOENT, "fichier ou dossier introuvable"},  // reading a file or writing into a folder
    {EACCES, "permission refusée"},
    {EPERM, "permission refusée"},
    {EROFS, "système de fichiers en lecture seule"},
    {ENOSPC, "disque plein"},
    {EDQUOT, "quota de disque dépassé"},
    {EFBIG, "taille de fichier permise dépassée"},
    {ENOTDIR, "un fichier occupe la place d'un dossier"},
    {EISDIR, "un dossier porte ce nom"},
    {ENAMETOOLONG, "nom de fichier trop long"},
    {ELOOP, "le fichier est un lien symbolique"},
    {EIO, "erreur d'entrée-sortie"},
    {ENOMEM, "mémoire insuffisante"},
    {FILE_REFUSED_SYMLINK, "le fichier est un lien symbolique"},
    {FILE_REFUSED_LINKED, "le fichier porte un autre nom ailleurs (lien physique)"},
    {FILE_REFUSED_NOT_REGULAR, "ce n'est pas un fichier ordinaire"},
    {FILE_REFUSED_EXISTS, "le fichier existe déjà"},
    {FILE_REFUSED_TOO_LONG, "le fichier est plus long que ce que l'outil y écrit"},
};

}  // namespace

std::string FileStatusReason(int status) {
    for (const ReasonRow& row : kReasons) {
        if (row.status == status) {
            return row.reason;
        }
    }
    return "erreur système " + std::to_string(status);
}
