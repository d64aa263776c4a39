#include "CAutoRadioButton.h"

CAutoRadioButton::CAutoRadioButton(const QString& text, QWidget* parent)
    : QRadioButton(text, parent) {
    setAutoExclusive(false);
}

void CAutoRadioButton::nextCheckState() {
    setChecked(true);
}
