#include "StringTable.h"

#include <QFile>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QHash<int, QString> ReadTable() {
    QHash<int, QString> table;
    QFile file(QStringLiteral(":/strings.json"));
    if (!file.open(QIODevice::ReadOnly)) {
        return table;
    }
    const QJsonObject object = QJsonDocument::fromJson(file.readAll()).object();
    for (auto it = object.begin(); it != object.end(); ++it) {
        bool ok = false;
        const int id = it.key().toInt(&ok);
        if (ok && it.value().isString()) {
            table.insert(id, it.value().toString());
        }
    }
    return table;
}

}  // namespace

QString LoadString(int id) {
    static const QHash<int, QString> table = ReadTable();
    return table.value(id);
}
