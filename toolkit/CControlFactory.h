#pragma once

#include "CDialogUnits.h"
#include "DialogTemplate.h"

class QWidget;

// Turns one control of a template into its widget on a window: the widget class its kind
// asks for, the look its styles ask for, at its place in pixels. What the control then
// reports, and how it stands among the others, is the form's business.
class CControlFactory {
public:
    // The most a line edit holds unless it is limited.
    static constexpr int kMaxEditChars = 32767;

    CControlFactory(QWidget* window, const CDialogUnits& units);

    QWidget* Create(const ControlTemplate& ctl) const;

private:
    QWidget* CreateWidget(const ControlTemplate& ctl) const;
    QWidget* CreateButton(const ControlTemplate& ctl) const;
    QWidget* CreateStatic(const ControlTemplate& ctl) const;
    QWidget* CreateEdit(const ControlTemplate& ctl) const;
    QWidget* CreateMultiLineEdit(const ControlTemplate& ctl) const;
    QWidget* CreateComboBox(const ControlTemplate& ctl) const;
    QWidget* CreateImage(const ControlTemplate& ctl) const;
    void Place(QWidget* widget, const ControlTemplate& ctl) const;

    QWidget* window;
    CDialogUnits units;
};
