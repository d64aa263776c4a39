#include "CPropertyPage.h"

#include "CDialogUnits.h"
#include "CPropertySheet.h"
#include "HelpCommand.h"

CPropertyPage::CPropertyPage(int templateId) : templateId(templateId) {}

CPropertyPage::~CPropertyPage() {
    if (sheet != nullptr) {
        sheet->ForgetPage(this);
    }
}

const DialogTemplate* CPropertyPage::Template() const {
    if (!tmplLoaded) {
        tmpl = DialogTemplate::Load(templateId);
        tmplLoaded = true;
    }
    return tmpl ? &*tmpl : nullptr;
}

QSize CPropertyPage::PixelSize() const {
    const DialogTemplate* t = Template();
    if (t == nullptr) {
        return {};
    }
    return CDialogUnits(QFont(t->fontName, t->fontPoints)).ToPixels(t->size);
}

QString CPropertyPage::Caption() const {
    const DialogTemplate* t = Template();
    return t ? t->caption : QString();
}

QWidget* CPropertyPage::Window() const {
    return window.data();
}

QWidget* CPropertyPage::GetDlgItem(int id) const {
    return (form && window) ? form->Item(id) : nullptr;
}

bool CPropertyPage::UpdateData(bool saveAndValidate) {
    return (form && window) ? form->UpdateData(saveAndValidate) : false;
}

void CPropertyPage::SetModified(bool isModified) {
    modified = isModified;
    if (sheet != nullptr) {
        sheet->PageModified(this, isModified);
    }
}

bool CPropertyPage::OnInitDialog() {
    UpdateData(false);
    return true;
}

bool CPropertyPage::OnSetActive() {
    if (firstSetActive) {
        firstSetActive = false;
        return true;
    }
    UpdateData(false);
    return true;
}

bool CPropertyPage::OnKillActive() {
    return UpdateData(true);
}

bool CPropertyPage::OnApply() {
    return true;
}

bool CPropertyPage::PreTranslateKey(QKeyEvent* event) {
    Q_UNUSED(event);
    return false;
}

void CPropertyPage::DoDataExchange(CDataExchange& dx) {
    Q_UNUSED(dx);
}

void CPropertyPage::OnCommand(int id) {
    if (id == kHelpCommandId) {
        const DialogTemplate* t = Template();
        RunHelpCommand(t ? t->helpTopic : QString());
    }
}

void CPropertyPage::OnEditChange(int id) {
    Q_UNUSED(id);
}

void CPropertyPage::RepaintItem(int id) {
    if (form && window) {
        form->RepaintItem(id);
    }
}

QWidget* CPropertyPage::CreatePageWindow(CPropertySheet* owner, QWidget* parent) {
    sheet = owner;
    auto* page = new QWidget(parent);
    const DialogTemplate* t = Template();
    window = page;
    ITemplateClient& client = *this;
    form = std::make_unique<CTemplateForm>(t ? *t : DialogTemplate{}, page, client);
    return page;
}

void CPropertyPage::ForgetWindow() {
    form.reset();
    window = nullptr;
    sheet = nullptr;
}
