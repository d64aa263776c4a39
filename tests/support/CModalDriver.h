#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <vector>

// Drives modal windows from inside their own event loops. Steps run in order: each waits
// until the active modal widget matches it, then acts on it. Message boxes met by a step are
// recorded.
struct SeenBox {
    QString caption;
    QString text;
    QString informative;
    QString detailed;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QStringList buttonTexts;  // in the order of the standard buttons' values
};

class CModalDriver : public QObject {
    Q_OBJECT
public:
    CModalDriver();
    ~CModalDriver() override;

    // The next modal window is a message box: record it and press `button`.
    CModalDriver& AnswerBox(QMessageBox::StandardButton button);
    // The next modal window matching `match`: run `act` on it (which may itself open
    // modals further steps answer).
    CModalDriver& On(std::function<bool(QWidget*)> match, std::function<void(QWidget*)> act);
    // The next modal window of class T.
    template <class T>
    CModalDriver& On(std::function<void(T*)> act) {
        return On([](QWidget* w) { return qobject_cast<T*>(w) != nullptr; },
                  [act](QWidget* w) { act(qobject_cast<T*>(w)); });
    }

    const std::vector<SeenBox>& Boxes() const { return boxes; }
    int Pending() const { return static_cast<int>(steps.size() - next); }
    bool AllDone() const { return Pending() == 0; }

private:
    void Poll();

    struct Step {
        std::function<bool(QWidget*)> match;
        std::function<void(QWidget*)> act;
    };
    std::vector<Step> steps;
    size_t next = 0;
    // Windows a step is about to act or acting on; no later step may take them meanwhile.
    std::vector<QPointer<QWidget>> busy;
    std::vector<SeenBox> boxes;
    QTimer timer;
};

// Records a message box (for steps that answer boxes themselves).
SeenBox DescribeBox(QMessageBox* box);
