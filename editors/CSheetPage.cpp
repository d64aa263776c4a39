#include "CSheetPage.h"

#include <QKeyEvent>
#include <QLabel>

#include "CMyPropSheet.h"
#include "EditorTexts.h"
#include "MessageBoxes.h"
#include "VerdictDisplay.h"

CSheetPage::CSheetPage(int templateId, int tabIndex, const QString& initialStatus)
    : CPropertyPage(templateId),
      StatusText(initialStatus),
      tabIndex(tabIndex),
      host({StatusText, [this] { UpdateData(false); }, [this] { RepaintItem(kIdStatus); },
            [this] { return Item<QLabel>(VerdictDisplay::kIdVerdict); },
            [this] { return Caption().trimmed().toStdString(); },
            [this] { return IsClientLoggedIn(); }, [this](int32_t id) { AfterConfigSent(id); }},
           nullptr) {}

CSheetPage::~CSheetPage() = default;

void CSheetPage::Attach(int32_t count, CMyPropSheet* sheet, CEditorJournal& journal) {
    repeaterCount = count;
    sheetLink = sheet;
    host.SetJournal(&journal);
}

bool CSheetPage::OnSetActive() {
    SetModified(true);
    const bool result = CPropertyPage::OnSetActive();
    if (sheetLink != nullptr) {
        sheetLink->PageChanged();
    }
    return result;
}

bool CSheetPage::PreTranslateKey(QKeyEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (sheetLink == nullptr) {
                OnQuickSend();
                return true;
            }
            sheetLink->RunExchange([this] {
                OnQuickSend();
                sheetLink->PageChanged();
            });
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

const SitePlan* CSheetPage::Plan() const {
    return sheetLink != nullptr ? sheetLink->Plan() : nullptr;
}

CExchange CSheetPage::Exchange() {
    return CExchange(serialPort, host, *sheetLink->clock, sheetLink->timing);
}

void CSheetPage::ShowProgress(const char* text) {
    StatusText = QString::fromUtf8(text);
    UpdateData(false);
    RepaintItem(kIdStatus);
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
