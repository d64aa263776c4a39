#pragma once

#include <QRadioButton>

// A radio button as dialog templates mean it: a click checks it and never unchecks it,
// while the program may still uncheck it. Clearing the rest of its group is the form's
// business, so a radio that starts a group of its own stands alone.
class CAutoRadioButton : public QRadioButton {
public:
    CAutoRadioButton(const QString& text, QWidget* parent);

protected:
    void nextCheckState() override;
};
