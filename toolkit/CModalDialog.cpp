#include "CModalDialog.h"

#include <QKeyEvent>

CModalDialog::CModalDialog(int helpCommandId, QWidget* parent)
    : QDialog(parent), helpCommandId(helpCommandId) {}

int CModalDialog::DoModal() {
    ended = false;
    if (!PrepareRun()) {
        return -1;
    }
    return ended ? endCode : exec();
}

void CModalDialog::EndDialog(int code) {
    ended = true;
    endCode = code;
    done(code);
}

bool CModalDialog::HandleRunKey(const QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return OnEnterKey();
        case Qt::Key_Escape:
            OnCommand(kIdCancel);
            return true;
        case Qt::Key_F1:
            if (event->modifiers() != Qt::NoModifier) {
                return false;
            }
            OnCommand(helpCommandId);
            return true;
        default:
            return false;
    }
}

void CModalDialog::reject() {
    OnCommand(kIdCancel);
}

int CModalDialog::RunHidden(const std::function<int()>& run) {
    hidingWhileRunning = true;
    hide();
    hidingWhileRunning = false;
    const int code = run();
    // Shown again before any EndDialog: a dialog that is hidden cannot end its modal run.
    show();
    return code;
}

// QDialog leaves its modal loop when it is hidden; a window that waits behind another must
// keep running, so it hides as a plain widget then.
void CModalDialog::setVisible(bool visible) {
    if (!visible && hidingWhileRunning) {
        QWidget::setVisible(false);
        return;
    }
    QDialog::setVisible(visible);
}

#include "moc_CModalDialog.cpp"
