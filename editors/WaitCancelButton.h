#pragma once

class QLabel;
class QPushButton;

// The "Annuler" button of a wait, at the right end of the verdict control that counts the
// wait down, inside that control's own place so that no control of the window moves. Made on
// the first wait of a window, shown only while a wait runs; it never takes the focus, which
// stays where the user's held keys are aimed.
namespace WaitCancelButton {

// Null when `verdict` is null.
QPushButton* Show(QLabel* verdict);
// The button of `verdict`'s window, or null while none was made.
QPushButton* Of(QLabel* verdict);
void Hide(QLabel* verdict);

}  // namespace WaitCancelButton
