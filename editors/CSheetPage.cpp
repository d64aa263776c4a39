#include "CSheetPage.h"

#include <QKeyEvent>
#include <QLabel>

#include "CMyPropSheet.h"
#include "EditorTexts.h"
#include "ExchangeFeedback.h"
#include "MessageBoxes.h"
#include "VerdictDisplay.h"

CSheetPage::CSheetPage(int templateId, int tabIndex, const QString& initialStatus)
    : CPropertyPage(templateId), StatusText(initialStatus), tabIndex(tabIndex) {}

CSheetPage::~CSheetPage() = default;

void CSheetPage::Attach(int32_t count, CMyPropSheet* sheet) {
    repeaterCount = count;
    sheetLink = sheet;
}

bool CSheetPage::OnSetActive() {
    SetModified(true);
    return CPropertyPage::OnSetActive();
}

bool CSheetPage::PreTranslateKey(QKeyEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            OnQuickSend();
            return true;
        case Qt::Key_Escape:
            return true;
        default:
            return false;
    }
}

bool CSheetPage::IsActiveTab() const {
    return sheetLink != nullptr && sheetLink->GetActiveIndex() == tabIndex;
}

bool CSheetPage::IsClientLoggedIn() const {
    return sheetLink != nullptr && sheetLink->isClient == 1;
}

int32_t CSheetPage::PortNumber() const {
    return sheetLink->portNumber;
}

CExchange CSheetPage::Exchange() {
    return CExchange(serialPort, *this, *sheetLink->clock);
}

void CSheetPage::ShowProgress(const char* text) {
    StatusText = QString::fromUtf8(text);
    UpdateData(false);
    RepaintStatus();
}

void CSheetPage::RefuseSend() {
    StatusText = QString::fromUtf8(EditorTexts::kRefused);
    UpdateData(false);
}

bool CSheetPage::Ask(const char* caption, const char* question) {
    return AskYesNo(Window(), QString::fromUtf8(caption), QString::fromUtf8(question));
}

bool CSheetPage::ConfirmReprogram(int32_t id, const char* caption) {
    return !sheetLink->IsIdAssigned(id) || Ask(caption, EditorTexts::kIdAlreadyAssigned);
}

void CSheetPage::SetStatusText(const std::string& text) {
    StatusText = QString::fromStdString(text);
}

void CSheetPage::Refresh() {
    UpdateData(false);
}

void CSheetPage::RepaintStatus() {
    RepaintItem(kIdStatus);
}

void CSheetPage::ShowMessage(const std::string& text) {
    AfxMessageBox(QString::fromStdString(text));
}

void CSheetPage::ShowPortFailure(const std::string& text, const std::string& cause,
                                 const std::string& systemError) {
    ExchangeFeedback::ShowPortFailure(text, cause, systemError);
}

void CSheetPage::ExchangeStarted(ExchangeKind /*kind*/) {
    ExchangeFeedback::Started(Item<QLabel>(VerdictDisplay::kIdVerdict));
}

void CSheetPage::ExchangeEnded(const ExchangeRecord& record) {
    ExchangeFeedback::Ended(Item<QLabel>(VerdictDisplay::kIdVerdict),
                            Caption().trimmed().toStdString(), IsClientLoggedIn(), record);
}
