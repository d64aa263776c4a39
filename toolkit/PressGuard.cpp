#include "PressGuard.h"

#include <QAbstractButton>
#include <QApplication>
#include <utility>

namespace PressGuard {

bool BehindModal(const QWidget* widget) {
    const QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) {
        return false;
    }
    // A window the modal one owns (its own box) is not behind it.
    for (const QWidget* owner = widget->window(); owner != nullptr;
         owner = owner->parentWidget() != nullptr ? owner->parentWidget()->window() : nullptr) {
        if (owner == modal) {
            return false;
        }
    }
    return true;
}

void OnClicked(QAbstractButton* button, QObject* context, std::function<void()> command) {
    QObject::connect(button, &QAbstractButton::clicked, context,
                     [button, command = std::move(command)] {
                         if (!BehindModal(button)) {
                             command();
                         }
                     });
}

}  // namespace PressGuard
