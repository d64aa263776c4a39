#include "CSheetNetwork.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "CEditorJournal.h"
#include "CJournalReader.h"
#include "CLastNetworkName.h"
#include "CMyPropSheet.h"
#include "CNetworkMapView.h"
#include "EditorTexts.h"
#include "Frames.h"
#include "MapTexts.h"
#include "MessageBoxes.h"
#include "Parameters.h"
#include "ShownText.h"
#include "WriteReport.h"

namespace {

QString Utf8(const std::string& text) {
    return QString::fromStdString(text);
}

QString Device(const std::string& bytes) {
    return QString::fromStdString(DeviceToUtf8(bytes)).trimmed();
}

// The cell's latest exchange: when, who, what went out, what came back, and the verdict.
QString RecordText(const QString& words, const MapCell& cell) {
    if (!cell.last) {
        return words;
    }
    const JournalEntry& last = *cell.last;
    QStringList lines{words, QStringLiteral("%1 · %2 · %3")
                                 .arg(ShownTime(last.epochMs, last.timestamp),
                                      ShownText(last.editor), ShownText(last.portName))};
    const auto add = [&lines](const char* label, const QString& value) {
        if (!value.isEmpty()) {
            lines << QString::fromUtf8(label).arg(value);
        }
    };
    add(MapViewTexts::kSentLine, Device(cell.lastSent.empty() ? last.command : cell.lastSent));
    add(MapViewTexts::kReadLine, last.report ? Device(*last.report) : QString());
    add(MapViewTexts::kVerdictLine, ShownText(last.verdict));
    add(MapViewTexts::kMessageLine, ShownText(last.message));
    add(MapViewTexts::kCauseLine, ShownText(last.cause));
    return lines.join(QLatin1Char('\n'));
}

CNetworkMapView::Cell CellOf(const std::string& words, const MapCell& cell) {
    const QString name = Utf8(words);
    return {Utf8(StateMark(cell.state)), name, RecordText(name, cell)};
}

QString Legend() {
    QStringList parts;
    for (const std::string& item : LegendItems()) {
        parts << Utf8(item);
    }
    // Two lines, so the legend is no wider than the map.
    return parts.mid(0, 3).join(QStringLiteral("   ")) + QLatin1Char('\n') +
           parts.mid(3).join(QStringLiteral("   "));
}

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

}  // namespace

CSheetNetwork::CSheetNetwork(const Setup& setup)
    : journal(setup.journal),
      repeaterCount(setup.repeaterCount),
      lastName(setup.lastName),
      name(setup.lastName.Load()),
      chooser(ChooseReportPath) {
    journal.SetNetwork(name.toStdString(), repeaterCount);
}

CSheetNetwork::~CSheetNetwork() = default;

void CSheetNetwork::Install(CMyPropSheet& sheet) {
    if (window != nullptr) {
        return;
    }
    window = &sheet;
    auto* label = new QLabel(QString::fromUtf8(EditorTexts::kNetworkLabel));
    nameField = new QLineEdit(name);
    nameField->setAccessibleName(QString::fromUtf8(EditorTexts::kNetworkName));
    label->setBuddy(nameField);
    connect(nameField, &QLineEdit::editingFinished, this, &CSheetNetwork::OnNameEdited);
    nameField->installEventFilter(this);
    reportButton = new QPushButton(QString::fromUtf8(EditorTexts::kReportButton));
    reportButton->setAutoDefault(false);
    connect(reportButton, &QPushButton::clicked, this, &CSheetNetwork::SaveReport);
    for (QWidget* widget : {static_cast<QWidget*>(label), static_cast<QWidget*>(nameField),
                            static_cast<QWidget*>(reportButton)}) {
        sheet.AddToRowStart(widget);
    }
    view = new CNetworkMapView;
    sheet.SetBesidePages(view);
    Rebuild();
}

void CSheetNetwork::OnNameEdited() {
    SetName(nameField->text());
}

void CSheetNetwork::SetName(const QString& typed) {
    const QString trimmed = typed.trimmed();
    if (nameField != nullptr && nameField->text() != trimmed) {
        nameField->setText(trimmed);
    }
    if (trimmed == name) {
        return;
    }
    name = trimmed;
    lastName.Save(name);
    journal.SetNetwork(name.toStdString(), repeaterCount);
    Rebuild();
}

void CSheetNetwork::SetPathChooser(PathChooser newChooser) {
    chooser = std::move(newChooser);
}

bool CSheetNetwork::eventFilter(QObject* watched, QEvent* event) {
    if (watched != nameField || event->type() != QEvent::KeyPress) {
        return QObject::eventFilter(watched, event);
    }
    switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            OnNameEdited();
            return true;
        case Qt::Key_Escape:
            nameField->setText(name);
            return true;
        default:
            return false;
    }
}

void CSheetNetwork::Rebuild() {
    map = CNetworkMap(name.toStdString());
    follower = std::make_unique<CJournalFollower>(journal.Folder(), name.toStdString());
    if (view == nullptr) {
        return;
    }
    view->SetBands(repeaterCount);
    view->SetLegend(Legend());
    // Nothing drawn yet: every cell differs from what is shown.
    shownDevices.fill("-");
    shownModem.fill("-");
    map.Add(follower->ReadNew());
    ShowChanged();
    ShowCounts();
}

void CSheetNetwork::Follow() {
    if (follower == nullptr || view == nullptr) {
        return;
    }
    const std::vector<JournalEntry> entries = follower->ReadNew();
    map.Add(entries);
    if (!entries.empty()) {
        ShowChanged();
    }
    if (!entries.empty() || follower->SkippedLines() != shownSkipped ||
        follower->UnreadableFiles() != shownUnreadable) {
        ShowCounts();
    }
}

// Only the cells whose latest exchange changed are drawn again.
void CSheetNetwork::ShowChanged() {
    for (int32_t id = kFirstDeviceId; id <= kLastDeviceId; ++id) {
        if (Changed(map.Device(id), shownDevices[static_cast<size_t>(id)])) {
            ShowDevice(id);
        }
    }
    for (int32_t param = 1; param <= kModemParamCount; ++param) {
        if (Changed(map.ModemParam(param), shownModem[static_cast<size_t>(param)])) {
            ShowModemParam(param);
        }
    }
}

bool CSheetNetwork::Changed(const MapCell& cell, std::string& shown) {
    std::string now = std::to_string(static_cast<int>(cell.state)) + "|" +
                      std::to_string(cell.sends) + "|" + (cell.last ? cell.last->timestamp : "");
    if (now == shown) {
        return false;
    }
    shown = std::move(now);
    return true;
}

void CSheetNetwork::ShowDevice(int32_t id) {
    const MapCell& cell = map.Device(id);
    view->SetDevice(id, CellOf(CellAccessibleName(id, cell), cell));
}

void CSheetNetwork::ShowModemParam(int32_t param) {
    const MapCell& cell = map.ModemParam(param);
    view->SetModemParam(param, Utf8(ParameterOfModemNumber(param)->name),
                        CellOf(ModemCellAccessibleName(param, cell), cell));
}

void CSheetNetwork::ShowCounts() {
    shownSkipped = follower->SkippedLines();
    view->SetSummary(Utf8(BandSummary(map, repeaterCount)));
    QStringList notes;
    if (name.isEmpty()) {
        notes << QString::fromUtf8(MapViewTexts::kNoNetwork);
    }
    if (shownSkipped > 0) {
        notes << QString::fromUtf8(MapViewTexts::kSkippedLines).arg(shownSkipped);
    }
    shownUnreadable = follower->UnreadableFiles();
    if (!shownUnreadable.empty()) {
        QStringList paths;
        for (const std::string& path : shownUnreadable) {
            paths << Utf8(path);
        }
        notes << QString::fromUtf8(MapViewTexts::kUnreadableFiles).arg(paths.join(", "));
    }
    view->SetNote(notes.join(QLatin1Char('\n')));
}

void CSheetNetwork::ShowNext(int32_t deviceId, int32_t modemParam) {
    if (view != nullptr) {
        view->HighlightDevice(deviceId);
        view->HighlightModemParam(modemParam);
    }
}

void CSheetNetwork::SaveReport() {
    const QString suggested = QString::fromUtf8(MapViewTexts::kReportFileName)
                                  .arg(name.isEmpty() ? QStringLiteral("reseau") : name);
    const QString path = chooser(window, suggested);
    if (path.isEmpty() || !MayReplace(path)) {
        return;
    }
    JournalScan scan = ReadJournal({journal.Folder()}, name.toStdString());
    ReportInput input;
    input.network = name.toStdString();
    input.entries = std::move(scan.entries);
    input.folders = std::move(scan.folders);
    input.skippedLines = scan.skippedLines;
    input.unreadableFolders = std::move(scan.unreadableFolders);
    input.unreadableFiles = std::move(scan.unreadableFiles);
    std::string error;
    if (WriteReport(input, path.toStdString(), error) != REPORT_OK) {
        AfxMessageBox(Utf8(error));
    }
}

bool CSheetNetwork::MayReplace(const QString& path) const {
    const QFileInfo file(path);
    if (!file.exists() && !file.isSymLink()) {
        return true;
    }
    return AskYesNo(window, window != nullptr ? window->windowTitle() : QString(),
                    QString::fromUtf8(EditorTexts::kReplaceReport).arg(path));
}
