#include "VerdictDisplay.h"

#include <QLabel>
#include <QString>

#include "EditorTexts.h"

namespace VerdictDisplay {

namespace {

constexpr char kVerifiedMark[] = "✔ ";
constexpr char kDiffersMark[] = "✖ ";
constexpr char kVerifiedStyle[] = "color: #1a7f37;";
constexpr char kDiffersStyle[] = "color: #c62828; font-weight: bold;";

}  // namespace

void Clear(QLabel* label) {
    if (label == nullptr) {
        return;
    }
    label->clear();
    label->setToolTip(QString());
    label->setStyleSheet(QString());
    label->repaint();
}

void Show(QLabel* label, const Verdict& verdict) {
    if (label == nullptr) {
        return;
    }
    if (verdict.kind == VerdictKind::kNone) {
        Clear(label);
        return;
    }
    const bool verified = verdict.kind == VerdictKind::kVerified;
    const QString text = QString::fromStdString(VerdictText(verdict));
    label->setText(QString::fromUtf8(verified ? kVerifiedMark : kDiffersMark) + text);
    label->setToolTip(text);
    label->setStyleSheet(QString::fromUtf8(verified ? kVerifiedStyle : kDiffersStyle));
}

void ShowCountdown(QLabel* label, WaitKind kind, uint32_t msLeft) {
    if (label == nullptr) {
        return;
    }
    const char* text =
        kind == WaitKind::kPause ? EditorTexts::kCountdownPause : EditorTexts::kCountdownReport;
    const QString shown = QString::fromUtf8(text).arg((msLeft + 999) / 1000);
    if (label->text() == shown) {
        return;
    }
    label->setStyleSheet(QString());
    label->setToolTip(QString());
    label->setText(shown);
}

}  // namespace VerdictDisplay
