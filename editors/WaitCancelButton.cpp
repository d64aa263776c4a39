#include "WaitCancelButton.h"

#include <QLabel>
#include <QPushButton>
#include <QString>
#include <algorithm>

#include "EditorTexts.h"

namespace WaitCancelButton {

namespace {

constexpr char kObjectName[] = "waitCancel";
constexpr int kPadding = 16;

QPushButton* Make(QLabel* verdict) {
    auto* button =
        new QPushButton(QString::fromUtf8(EditorTexts::kCancelWait), verdict->parentWidget());
    button->setObjectName(QString::fromLatin1(kObjectName));
    button->setAccessibleName(QString::fromUtf8(EditorTexts::kCancelWait));
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

}  // namespace

QPushButton* Of(QLabel* verdict) {
    QWidget* parent = verdict == nullptr ? nullptr : verdict->parentWidget();
    return parent == nullptr ? nullptr
                             : parent->findChild<QPushButton*>(QString::fromLatin1(kObjectName),
                                                               Qt::FindDirectChildrenOnly);
}

QPushButton* Show(QLabel* verdict) {
    if (verdict == nullptr || verdict->parentWidget() == nullptr) {
        return nullptr;
    }
    QPushButton* button = Of(verdict);
    if (button == nullptr) {
        button = Make(verdict);
    }
    const QRect place = verdict->geometry();
    const int width =
        std::min(place.width(), button->fontMetrics().horizontalAdvance(button->text()) + kPadding);
    button->setGeometry(place.right() + 1 - width, place.top(), width, place.height());
    button->raise();
    if (!button->isVisible()) {
        button->show();
        button->repaint();
    }
    return button;
}

void Hide(QLabel* verdict) {
    if (verdict == nullptr || verdict->parentWidget() == nullptr) {
        return;
    }
    if (QPushButton* button = Of(verdict)) {
        button->hide();
    }
}

}  // namespace WaitCancelButton
