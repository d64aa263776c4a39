#pragma once

#include <QDialog>
#include <functional>

class QKeyEvent;

// The modal run that template dialogs and property sheets share. DoModal prepares the window
// and runs it until EndDialog; a window ended while it was being prepared returns that code
// without ever showing. Escape and the close box send Cancel, F1 the window's help command.
class CModalDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kIdOk = 1;
    static constexpr int kIdCancel = 2;

    CModalDialog(int helpCommandId, QWidget* parent);

    int DoModal();
    void EndDialog(int code);

protected:
    // OnInitDialog and the first focus; false when the window cannot run (DoModal gives -1).
    virtual bool PrepareRun() = 0;
    virtual void OnCommand(int id) = 0;
    // Enter as the window routes it; false leaves the key to the focused control.
    virtual bool OnEnterKey() = 0;

    // Enter, Escape and F1; true when the key was taken.
    bool HandleRunKey(const QKeyEvent* event);
    // Runs another modal window while this one stays in its own modal run, hidden, and
    // shows this one again before returning the other's result.
    int RunHidden(const std::function<int()>& run);

    void setVisible(bool visible) override;
    void reject() override;  // Escape on the window itself and the close box: Cancel

private:
    int helpCommandId;
    bool ended = false;
    int endCode = 0;
    bool hidingWhileRunning = false;
};
