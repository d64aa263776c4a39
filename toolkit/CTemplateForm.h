#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include "DialogTemplate.h"
#include "ITemplateClient.h"

class QRadioButton;

// The controls of one template, created on a window: reachable by identifier, in template
// (tab) order, with their notifications forwarded to the client. Shared by dialogs and
// property pages.
class CTemplateForm : public QObject {
    Q_OBJECT
public:
    CTemplateForm(const DialogTemplate& tmpl, QWidget* window, ITemplateClient& client);

    const DialogTemplate& Template() const { return tmpl; }
    QWidget* Window() const { return window; }
    QWidget* Item(int id) const;
    template <class T>
    T* ItemAs(int id) const {
        return qobject_cast<T*>(Item(id));
    }
    // Window size in pixels for the template's size in dialog units.
    QSize PixelSize() const;
    // A top-level window with a modal frame but no caption bar: no window manager draws a
    // frame for it, so the window paints one along its edges.
    bool HasOwnModalFrame() const;

    // Runs the client's DoDataExchange; false when a field was refused.
    bool UpdateData(bool saveAndValidate);
    bool IsWritingToScreen() const { return writingToScreen; }

    // The template's default push button, or 1 when it has none.
    int DefaultButtonId() const;
    // Enter as the dialog manager handles it: the focused push button, else the default.
    int EnterCommandId() const;
    void FocusFirstTabStop();
    void RepaintItem(int id);
    // Line edits only; 0 or less lifts the limit to the edit's own maximum.
    void LimitText(int id, int maxChars);
    void EnableItem(int id, bool enable);

    // The radio buttons of the group that starts at firstId, in template order: the run of
    // controls up to the next one that starts a group. A click on one of them clears the
    // others; a radio that starts a group of its own is cleared by nobody.
    QList<QRadioButton*> RadioGroup(int firstId) const;
    // Every control in template order, identified or not.
    const QList<QWidget*>& Controls() const { return controls; }

private:
    void CreateControls();
    // Forwards what the control reports to the client.
    void Connect(QWidget* widget, int id);
    void ConfigureWindow();
    void GroupRadios();
    void SetBuddies();
    void SetTabOrder();
    void EditChanged(int id);
    void RadioClicked(QRadioButton* radio, int id);
    QList<QRadioButton*> RadioGroupAt(qsizetype index) const;
    QFont TemplateFont() const;

    DialogTemplate tmpl;
    QPointer<QWidget> window;
    ITemplateClient& client;
    QHash<int, QWidget*> items;
    QList<QWidget*> tabOrder;
    QList<QWidget*> controls;  // parallel to tmpl.controls
    QHash<QRadioButton*, QList<QRadioButton*>> radioRuns;
    bool writingToScreen = false;
};
