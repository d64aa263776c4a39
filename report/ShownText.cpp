#include "ShownText.h"

#include <QDateTime>
#include <cstdlib>

namespace {

bool IsReordering(char32_t c) {
    return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0x200E ||
           c == 0x200F || c == 0x061C;
}

bool IsControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

QString Offset(int seconds) {
    const QChar sign = seconds < 0 ? QLatin1Char('-') : QLatin1Char('+');
    const int minutes = std::abs(seconds) / 60;
    return sign + QStringLiteral("%1:%2")
                      .arg(minutes / 60, 2, 10, QLatin1Char('0'))
                      .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace

QString ShownText(const std::string& utf8) {
    QString shown;
    const QString text = QString::fromStdString(utf8);
    shown.reserve(text.size());
    for (const char32_t c : text.toUcs4()) {
        if (c == U'\t' || c == U'\n' || c == U'\r') {
            shown += QLatin1Char(' ');
        } else if (!IsControl(c) && !IsReordering(c)) {
            shown += QString::fromUcs4(&c, 1);
        }
    }
    return shown;
}

QString ShownText(const std::string& utf8, qsizetype limit) {
    const QString shown = ShownText(utf8);
    if (shown.size() <= limit) {
        return shown;
    }
    // Never half of a character outside the basic plane.
    const qsizetype cut = shown.at(limit - 1).isHighSurrogate() ? limit - 1 : limit;
    return shown.left(cut) +
           QString::fromUtf8(" … (coupé ici : %1 caractères de plus dans le journal)")
               .arg(shown.size() - cut);
}

QString ShownTime(int64_t epochMs, const std::string& fallback) {
    if (epochMs == 0) {
        return ShownText(fallback);
    }
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(epochMs, Qt::LocalTime);
    return local.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss ")) + Offset(local.offsetFromUtc());
}
