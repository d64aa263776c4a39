#include "SortedCombo.h"

#include <QComboBox>

int AddSortedString(QComboBox* combo, const QString& text, const QVariant& data) {
    int index = 0;
    // Equal texts keep their order of arrival: the new one goes after them.
    while (index < combo->count() &&
           QString::compare(combo->itemText(index), text, Qt::CaseInsensitive) <= 0) {
        ++index;
    }
    combo->insertItem(index, text, data);
    return index;
}
