#include "VerdictDisplay.h"

#include <QLabel>
#include <QString>
#include <optional>

#include "EditorTexts.h"
#include "Frames.h"

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

void ShowOutcome(QLabel* label, const ExchangeRecord& record) {
    const Verdict verdict = JudgeReadBack(record);
    const std::optional<ParameterSet> sent = record.kind == ExchangeKind::SendConfig
                                                 ? ParameterSetOfFrame(record.command)
                                                 : std::nullopt;
    if (label == nullptr || !sent || (record.report && verdict.kind == VerdictKind::kVerified)) {
        Show(label, verdict);
        return;
    }
    const QString id = QString::number(sent->ID);
    const QString text = verdict.kind == VerdictKind::kDiffers
                             ? QString::fromUtf8(EditorTexts::kIdToRedoBecause)
                                   .arg(id, QString::fromStdString(VerdictText(verdict)))
                             : QString::fromUtf8(EditorTexts::kIdToRedo).arg(id);
    label->setText(QString::fromUtf8(kDiffersMark) + text);
    label->setToolTip(text);
    label->setStyleSheet(QString::fromUtf8(kDiffersStyle));
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
