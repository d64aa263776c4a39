#include "CTemplateDialog.h"

#include <qdrawutil.h>
#include <QKeyEvent>
#include <QPainter>
#include <QTextEdit>

#include "HelpCommand.h"

namespace {

constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

bool IsEnter(const QKeyEvent* event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

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
    : QDialog(parent), templateId(templateId) {
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

int CTemplateDialog::DoModal() {
    if (!templateLoaded) {
        return -1;
    }
    ended = false;
    if (OnInitDialog()) {
        form->FocusFirstTabStop();
    }
    InstallKeyFilters();
    if (ended) {
        return endCode;
    }
    return exec();
}

void CTemplateDialog::EndDialog(int code) {
    ended = true;
    endCode = code;
    done(code);
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
            RunHelpCommand(this, form->Template().helpTopic);
            break;
        default:
            break;
    }
}

void CTemplateDialog::OnEditChange(int id) {
    Q_UNUSED(id);
}

void CTemplateDialog::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    if (form->HasOwnModalFrame()) {
        QPainter painter(this);
        qDrawWinPanel(&painter, rect(), palette(), false);
    }
}

void CTemplateDialog::reject() {
    OnCommand(kIdCancel);
}

bool CTemplateDialog::HandleKey(QKeyEvent* event) {
    if (PreTranslateKey(event)) {
        return true;
    }
    if (IsEnter(event)) {
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
    if (event->key() == Qt::Key_Escape) {
        OnCommand(kIdCancel);
        return true;
    }
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        OnCommand(kHelpCommandId);
        return true;
    }
    return false;
}

void CTemplateDialog::keyPressEvent(QKeyEvent* event) {
    if (keys.IsFirst(this, event) && HandleKey(event)) {
        event->accept();
        return;
    }
    event->ignore();
}

bool CTemplateDialog::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (event->type() == QEvent::KeyPress && widget != nullptr && widget->window() == this &&
        keys.IsFirst(watched, event)) {
        return HandleKey(static_cast<QKeyEvent*>(event));
    }
    return QDialog::eventFilter(watched, event);
}

int CTemplateDialog::RunHidden(const std::function<int()>& run) {
    hidingWhileRunning = true;
    hide();
    hidingWhileRunning = false;
    const int code = run();
    // Shown again before any EndDialog: a dialog that is hidden cannot end its modal run.
    show();
    return code;
}

// QDialog leaves its modal loop when it is hidden; a dialog that waits behind another must
// keep running, so it hides as a plain widget then.
void CTemplateDialog::setVisible(bool visible) {
    if (!visible && hidingWhileRunning) {
        QWidget::setVisible(false);
        return;
    }
    QDialog::setVisible(visible);
}
