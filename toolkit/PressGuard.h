#pragma once

#include <functional>

class QAbstractButton;
class QObject;
class QWidget;

// Clicks that no user could have made. The window system never lets a user press a button of
// a window that a modal one blocks, but a press asked by an assistive technology is carried
// out on timers, which an exchange holds: it can come due once the exchange's message box is
// up, and would then act behind that box, starting an exchange inside it. Such a press is
// dropped, as the user's own click held during the exchange is by the box.
namespace PressGuard {

// True while another modal window than `widget`'s own (or one it owns) is open.
bool BehindModal(const QWidget* widget);

// Runs `command` on every click of `button` that does not come from behind a modal window.
void OnClicked(QAbstractButton* button, QObject* context, std::function<void()> command);

}  // namespace PressGuard
