#include "CReportExport.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>
#include <utility>

#include "CEditorJournal.h"
#include "CJournalReader.h"
#include "CMyPropSheet.h"
#include "CPlanStore.h"
#include "EditorTexts.h"
#include "FileStatus.h"
#include "MessageBoxes.h"
#include "Remembered.h"
#include "WriteReport.h"

namespace {

// The file dialog leaves the extension to the user; one typed without it gets the chosen
// type's, since the extension says which report is written.
QString ChooseReportPath(QWidget* parent, const QString& suggested) {
    const QString pdf = QStringLiteral("PDF (*.pdf)");
    const QString html = QStringLiteral("HTML (*.html *.htm)");
    QString chosenType = pdf;
    // The sheet asks before replacing a file itself: the extension may be added after this.
    QString path = QFileDialog::getSaveFileName(
        parent, QString::fromUtf8(EditorTexts::kReportButton), suggested,
        pdf + QStringLiteral(";;") + html, &chosenType, QFileDialog::DontConfirmOverwrite);
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (!path.isEmpty() && suffix != QLatin1String("pdf") && suffix != QLatin1String("html") &&
        suffix != QLatin1String("htm")) {
        path += chosenType == html ? QStringLiteral(".html") : QStringLiteral(".pdf");
    }
    return path;
}

constexpr char kTechnicianQuestion[] = "Technicien qui signe le rapport :";

// Named on the report's first page and under its signature box; may stay empty.
std::optional<QString> AskTechnicianName(QWidget* parent, const QString& last) {
    bool given = false;
    const QString name = QInputDialog::getText(
        parent, QString::fromUtf8(EditorTexts::kReportButton),
        QString::fromUtf8(kTechnicianQuestion), QLineEdit::Normal, last, &given);
    return given ? std::optional<QString>(name.trimmed()) : std::nullopt;
}

// The suggested name in the folder of the last report, else in the user's documents.
QString InStartFolder(const QString& fileName) {
    QString folder = Remembered::ReportFolder();
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    }
    return folder.isEmpty() ? fileName : QDir(folder).filePath(fileName);
}

}  // namespace

CReportExport::CReportExport(CEditorJournal& journal, std::function<QString()> network)
    : journal(journal),
      network(std::move(network)),
      chooser(ChooseReportPath),
      askTechnician(AskTechnicianName),
      asBuilt(journal, this->network) {}

void CReportExport::Install(CMyPropSheet& sheet) {
    window = &sheet;
    button = new QPushButton(QString::fromUtf8(EditorTexts::kReportButton));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, &CReportExport::Save);
    sheet.AddToRowStart(button);
    asBuilt.Install(sheet);
}

void CReportExport::SetPathChooser(PathChooser newChooser) {
    chooser = std::move(newChooser);
}

void CReportExport::SetTechnicianAsker(TechnicianAsker asker) {
    askTechnician = std::move(asker);
}

// The site's facts come with the network's plan; without one only the technician is known.
std::optional<ReportSite> CReportExport::AskSite() {
    const std::optional<QString> name = askTechnician(window, technician);
    if (!name) {
        return std::nullopt;
    }
    technician = *name;
    ReportSite site;
    site.technician = name->toStdString();
    return site;
}

void CReportExport::Save() {
    const QString name = network();
    const QString suggested = QString::fromUtf8(MapViewTexts::kReportFileName)
                                  .arg(name.isEmpty() ? QStringLiteral("reseau") : name);
    const QString path = chooser(window, InStartFolder(suggested));
    if (path.isEmpty() || !MayReplace(path)) {
        return;
    }
    std::optional<ReportSite> site = AskSite();
    if (!site) {
        return;
    }
    Remembered::SetReportFolder(QFileInfo(path).absolutePath());
    const ReportInput input = InputOf(name, std::move(*site));
    std::string error;
    if (WriteReport(input, path.toStdString(), error) != REPORT_OK) {
        AfxMessageBox(QString::fromStdString(error));
        return;
    }
    TellWritten(path);
}

// A stored plan that no longer reads is left aside: the report is then judged as sent.
ReportInput CReportExport::InputOf(const QString& name, ReportSite site) const {
    const std::string utf8 = name.toStdString();
    ReportInput input = ReportInputOf(utf8, ReadJournal({journal.Folder()}, utf8), std::move(site));
    SitePlan plan;
    if (CPlanStore(CPlanStore::FolderBeside(journal.Folder())).Load(utf8, plan) == FILE_OK) {
        JudgeAgainstPlan(input, std::move(plan));
    }
    return input;
}

void CReportExport::TellWritten(const QString& path) const {
    QMessageBox box(QMessageBox::Information,
                    window != nullptr ? window->windowTitle() : AppTitle(),
                    QString::fromUtf8(EditorTexts::kReportWritten)
                        .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath())),
                    QMessageBox::Ok, window);
    QPushButton* open =
        box.addButton(QString::fromUtf8(EditorTexts::kOpenReport), QMessageBox::ActionRole);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
    if (box.clickedButton() == open) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    }
}

bool CReportExport::MayReplace(const QString& path) const {
    return MayReplaceFile(window, window != nullptr ? window->windowTitle() : QString(), path,
                          QString::fromUtf8(EditorTexts::kReplaceReport).arg(path));
}

#include "moc_CReportExport.cpp"
