#include "CSheetPlan.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>
#include <utility>

#include "CPlanStore.h"
#include "FileStatus.h"
#include "PlanWalkTexts.h"

CSheetPlan::CSheetPlan(std::string plansFolder, int32_t repeaterCount)
    : folder(std::move(plansFolder)), repeaterCount(repeaterCount) {}

QWidget* CSheetPlan::MakePanel(QWidget* map, QWidget* window, std::function<void()> nextToDo) {
    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* row = new QHBoxLayout;
    line = new QLabel;
    line->setWordWrap(true);
    next = new QPushButton(QString::fromUtf8(PlanWalkTexts::kNextToDo));
    next->setToolTip(QString::fromUtf8(PlanWalkTexts::kNextToDoTip));
    next->setAutoDefault(false);
    next->setFocusPolicy(Qt::ClickFocus);
    row->addWidget(line, 1);
    row->addWidget(next);
    layout->addLayout(row);
    warning = new QLabel;
    warning->setWordWrap(true);
    layout->addWidget(warning);
    layout->addWidget(map, 1);
    auto* key = new QShortcut(QKeySequence(Qt::Key_F3), window);
    connect(key, &QShortcut::activated, next, [this, nextToDo] {
        if (plan) {
            nextToDo();
        }
    });
    connect(next, &QPushButton::clicked, next, std::move(nextToDo));
    ShowPlan();
    return panel;
}

void CSheetPlan::Load(const std::string& network) {
    plan.reset();
    SitePlan stored;
    if (!folder.empty() && !network.empty() &&
        CPlanStore(folder).Load(network, stored) == FILE_OK) {
        plan = std::move(stored);
    }
    ShowPlan();
}

// Without a plan the sheet shows none of it.
void CSheetPlan::ShowPlan() {
    if (line == nullptr) {
        return;
    }
    line->clear();
    line->setVisible(plan.has_value());
    next->setVisible(plan.has_value());
    const int32_t planned = plan ? plan->Facts().repeaterCount : repeaterCount;
    warning->setText(planned == repeaterCount
                         ? QString()
                         : QString::fromUtf8(PlanWalkTexts::kRepeaterCountDiffers)
                               .arg(planned)
                               .arg(repeaterCount));
    warning->setVisible(!warning->text().isEmpty());
}

void CSheetPlan::ShowLine(const QString& text) {
    if (line != nullptr && plan) {
        line->setText(text);
    }
}

QString CSheetPlan::LineShown() const {
    return line != nullptr ? line->text() : QString();
}

QString CSheetPlan::WarningShown() const {
    return warning != nullptr ? warning->text() : QString();
}

#include "moc_CSheetPlan.cpp"
