#include "CDropDownCombo.h"

#include <QAbstractItemView>
#include <QScrollBar>
#include <algorithm>

CDropDownCombo::CDropDownCombo(QWidget* parent) : QComboBox(parent) {}

void CDropDownCombo::showPopup() {
    emit aboutToShowPopup();
    QAbstractItemView* list = view();
    const int frame = 2 * list->frameWidth();
    const int scrollBar = list->verticalScrollBar()->sizeHint().width();
    // Never narrower than the field itself; QComboBox takes the list's minimum width as is.
    list->setMinimumWidth(std::max(width(), list->sizeHintForColumn(0) + frame + scrollBar));
    QComboBox::showPopup();
}

#include "moc_CDropDownCombo.cpp"
