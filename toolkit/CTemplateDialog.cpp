#include "CTemplateDialog.h"

#include <qdrawutil.h>
#include <QKeyEvent>
#include <QPainter>
#include <QTextEdit>

#include "HelpCommand.h"

namespace {

// An editable multi-line edit keeps Enter for a line break.
bool WantsEnter(QWidget* focus) {
    for (QWidget* widget = focus; widget != nullptr; widget = widget->parentWidget()) {
        if (auto* edit = qobject_cast<QTextEdit*>(widget)) {
            return !edit->isReadOnly();
        }
    }
    return false;
}

}  // namespace

CTemplateDialog::CTemplateDialog(int templateId, QWidget* parent)
    : CModalDialog(kHelpCommandId, parent), templateId(templateId) {
    CreateWindowOnce();
}

CTemplateDialog::~CTemplateDialog() = default;

void CTemplateDialog::CreateWindowOnce() {
    if (form) {
        return;
    }
    const std::optional<DialogTemplate> tmpl = DialogTemplate::Load(templateId);
    templateLoaded = tmpl.has_value();
    ITemplateClient& client = *this;
    form = std::make_unique<CTemplateForm>(tmpl.value_or(DialogTemplate{}), this, client);
    InstallKeyFilters();
}

void CTemplateDialog::InstallKeyFilters() {
    for (QWidget* child : findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }
}

bool CTemplateDialog::PrepareRun() {
    if (!templateLoaded) {
        return false;
    }
    if (OnInitDialog()) {
        form->FocusFirstTabStop();
    }
    InstallKeyFilters();
    return true;
}

QWidget* CTemplateDialog::GetDlgItem(int id) const {
    return form->Item(id);
}

bool CTemplateDialog::UpdateData(bool saveAndValidate) {
    return form->UpdateData(saveAndValidate);
}

bool CTemplateDialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void CTemplateDialog::OnOK() {
    if (UpdateData(true)) {
        EndDialog(kIdOk);
    }
}

void CTemplateDialog::OnCancel() {
    EndDialog(kIdCancel);
}

bool CTemplateDialog::PreTranslateKey(QKeyEvent* event) {
    Q_UNUSED(event);
    return false;
}

void CTemplateDialog::DoDataExchange(CDataExchange& dx) {
    Q_UNUSED(dx);
}

void CTemplateDialog::OnCommand(int id) {
    switch (id) {
        case kIdOk:
            OnOK();
            break;
        case kIdCancel:
            OnCancel();
            break;
        case kHelpCommandId:
            RunHelpCommand(form->Template().helpTopic);
            break;
        default:
            break;
    }
}

void CTemplateDialog::OnEditChange(int id) {
    Q_UNUSED(id);
}

void CTemplateDialog::paintEvent(QPaintEvent* event) {
    CModalDialog::paintEvent(event);
    if (form->HasOwnModalFrame()) {
        QPainter painter(this);
        qDrawWinPanel(&painter, rect(), palette(), false);
    }
}

bool CTemplateDialog::OnEnterKey() {
    if (WantsEnter(focusWidget())) {
        return false;
    }
    const int id = form->EnterCommandId();
    // A disabled default button takes no Enter; a missing one still gets its command.
    if (QWidget* button = form->Item(id); button == nullptr || button->isEnabled()) {
        OnCommand(id);
    }
    return true;
}

bool CTemplateDialog::HandleKey(QKeyEvent* event) {
    return PreTranslateKey(event) || HandleRunKey(event);
}

void CTemplateDialog::keyPressEvent(QKeyEvent* event) {
    event->setAccepted(keys.IsFirst(this, event) && HandleKey(event));
}

bool CTemplateDialog::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (event->type() == QEvent::KeyPress && widget != nullptr && widget->window() == this &&
        keys.IsFirst(watched, event)) {
        return HandleKey(static_cast<QKeyEvent*>(event));
    }
    return CModalDialog::eventFilter(watched, event);
}

#include "moc_CTemplateDialog.cpp"
