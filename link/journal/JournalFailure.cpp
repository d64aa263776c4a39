#include "JournalFailure.h"

#include <cerrno>

#include "CJournal.h"

namespace {

struct ReasonRow {
    int err;
    const char* reason;
};

// The system errors a journal folder meets, and the journal's own refusals.
constexpr ReasonRow kReasons[] = {
    {ENOENT, "aucun dossier n'a été trouvé"},
    {EACCES, "permission refusée"},
    {EPERM, "permission refusée"},
    {EROFS, "système de fichiers en lecture seule"},
    {ENOSPC, "disque plein"},
    {EDQUOT, "quota de disque dépassé"},
    {ENOTDIR, "un fichier occupe la place d'un dossier"},
    {EISDIR, "un dossier porte le nom du fichier du jour"},
    {ELOOP, "le fichier du jour est un lien symbolique"},
    {EIO, "erreur d'entrée-sortie"},
    {EMSGSIZE, "l'échange est trop long pour le journal"},
    {JOURNAL_REFUSED_NOT_REGULAR, "le fichier du jour n'est pas un fichier ordinaire"},
    {JOURNAL_REFUSED_NOT_OWN, "le fichier du jour appartient à un autre utilisateur"},
    {JOURNAL_REFUSED_LINKED, "le fichier du jour porte un autre nom ailleurs (lien physique)"},
    {JOURNAL_REFUSED_NO_HEADER, "le fichier du jour n'est pas un journal de mise en service"},
    {JOURNAL_REFUSED_OLDER_LAYOUT, "les fichiers du jour suivent tous une autre disposition"},
};

}  // namespace

std::string JournalFailureReason(int err) {
    for (const ReasonRow& row : kReasons) {
        if (row.err == err) {
            return row.reason;
        }
    }
    return "erreur système " + std::to_string(err);
}
