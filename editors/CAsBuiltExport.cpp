#include "CAsBuiltExport.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <utility>

#include "AsBuiltPlan.h"
#include "CEditorJournal.h"
#include "CJournalReader.h"
#include "CMyPropSheet.h"
#include "CNetworkMap.h"
#include "CPlanStore.h"
#include "CReplacingFile.h"
#include "EditorTexts.h"
#include "FileStatus.h"
#include "MessageBoxes.h"
#include "PlanWriter.h"

namespace {

constexpr char kAsBuiltButton[] = "Exporter tel que construit…";
constexpr char kAsBuiltFileName[] = "%1 tel que construit.csv";
constexpr char kNothingRead[] =
    "Aucun appareil du réseau « %1 » n'a été relu en entier : pas de plan à écrire.";
constexpr char kAsBuiltWritten[] = "Le réseau tel que construit est enregistré dans :\n%1";
constexpr char kLeftOut[] = "\nSans relecture complète, laissés hors du plan : %1.";
constexpr char kNotWritten[] = "Le fichier %1 n'a pas été écrit : %2.";

// The file dialog leaves the extension to the user; the plan is a .csv file.
QString ChooseCsvPath(QWidget* parent, const QString& suggested) {
    QString path = QFileDialog::getSaveFileName(parent, QString::fromUtf8(kAsBuiltButton),
                                                suggested, QStringLiteral("CSV (*.csv)"), nullptr,
                                                QFileDialog::DontConfirmOverwrite);
    if (!path.isEmpty() && QFileInfo(path).suffix().toLower() != QLatin1String("csv")) {
        path += QStringLiteral(".csv");
    }
    return path;
}

// "7, 8, le modem": what the file leaves out, so that nobody takes it for the whole network.
QString LeftOut(const AsBuilt& built) {
    QStringList names;
    for (const int32_t id : built.leftOut) {
        names << QStringLiteral("ID %1").arg(id);
    }
    if (built.modemLeftOut) {
        names << QStringLiteral("le modem");
    }
    return names.isEmpty() ? QString() : QString::fromUtf8(kLeftOut).arg(names.join(", "));
}

}  // namespace

CAsBuiltExport::CAsBuiltExport(CEditorJournal& journal, std::function<QString()> network)
    : journal(journal), network(std::move(network)), chooser(ChooseCsvPath) {}

void CAsBuiltExport::Install(CMyPropSheet& sheet) {
    window = &sheet;
    button = new QPushButton(QString::fromUtf8(kAsBuiltButton));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, &CAsBuiltExport::Save);
    sheet.AddToRowStart(button);
}

void CAsBuiltExport::SetPathChooser(PathChooser newChooser) {
    chooser = std::move(newChooser);
}

QString CAsBuiltExport::Caption() const {
    return window != nullptr ? window->windowTitle() : AppTitle();
}

void CAsBuiltExport::Save() {
    const QString name = network();
    const std::string utf8 = name.toStdString();
    CNetworkMap map(utf8);
    map.Add(ReadJournal({journal.Folder()}, utf8).entries);
    SitePlan stored;
    const bool planned =
        CPlanStore(CPlanStore::FolderBeside(journal.Folder())).Load(utf8, stored) == FILE_OK;
    const AsBuilt built = AsBuiltPlan(map, planned ? &stored : nullptr);
    if (built.plan.Devices().empty() && !built.plan.Modem()) {
        AfxMessageBox(QString::fromUtf8(kNothingRead).arg(name));
        return;
    }
    const QString suggested =
        QString::fromUtf8(kAsBuiltFileName).arg(name.isEmpty() ? QStringLiteral("reseau") : name);
    const QString path = chooser(window, suggested);
    if (path.isEmpty() || !MayReplace(path)) {
        return;
    }
    const int status =
        ReplaceFile(path.toStdString(), PlanText(built.plan), CReplacingFile::Mode::kReplace);
    if (status != FILE_OK) {
        AfxMessageBox(QString::fromUtf8(kNotWritten)
                          .arg(path, QString::fromStdString(FileStatusReason(status))));
        return;
    }
    QMessageBox box(QMessageBox::Information, Caption(),
                    QString::fromUtf8(kAsBuiltWritten)
                            .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath())) +
                        LeftOut(built),
                    QMessageBox::Ok, window);
    box.exec();
}

bool CAsBuiltExport::MayReplace(const QString& path) const {
    return MayReplaceFile(window, Caption(), path,
                          QString::fromUtf8(EditorTexts::kReplaceReport).arg(path));
}

#include "moc_CAsBuiltExport.cpp"
