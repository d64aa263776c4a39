#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "SitePlan.h"

class QLabel;
class QPushButton;
class QWidget;

// The stored plan of the network the sheet shows, and what the sheet says of it above the
// map: where the page's values come from, a repeater count that is not the plan's, and the
// "Suivant à faire" button (also F3) that puts the next device to do in the page's ID field.
class CSheetPlan : public QObject {
    Q_OBJECT
public:
    CSheetPlan(std::string plansFolder, int32_t repeaterCount);

    // Once: the panel holds the lines, the button and `map` under them; `window` takes the key.
    QWidget* MakePanel(QWidget* map, QWidget* window, std::function<void()> nextToDo);
    // The network's stored plan, or none; a plan that cannot be read counts as none.
    void Load(const std::string& network);
    const SitePlan* Plan() const { return plan ? &*plan : nullptr; }
    const std::string& Folder() const { return folder; }

    void ShowLine(const QString& line);
    QString LineShown() const;
    QString WarningShown() const;
    QPushButton* NextButton() const { return next; }

private:
    void ShowPlan();

    std::string folder;
    int32_t repeaterCount;
    std::optional<SitePlan> plan;
    QLabel* line = nullptr;
    QLabel* warning = nullptr;
    QPushButton* next = nullptr;
};
