#pragma once

#include <QString>
#include <QVariant>

class QComboBox;

// Adds an entry where a sorted combo box keeps it: ordered as text, without regard to case
// (so "COM10" stands before "COM2"). Returns its index.
int AddSortedString(QComboBox* combo, const QString& text, const QVariant& data = {});
