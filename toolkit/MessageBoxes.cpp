#include "MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

namespace {

unsigned beepCount = 0;

QWidget* ActiveOwner() {
    if (QWidget* modal = QApplication::activeModalWidget()) {
        return modal;
    }
    return QApplication::activeWindow();
}

}  // namespace

QString AppTitle() {
    return QCoreApplication::applicationName();
}

int AfxMessageBox(const QString& text) {
    QMessageBox box(QMessageBox::Warning, AppTitle(), text, QMessageBox::Ok, ActiveOwner());
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
    return 1;
}

bool AskYesNo(QWidget* owner, const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Yes | QMessageBox::No, owner);
    box.setDefaultButton(QMessageBox::Yes);
    if (owner != nullptr) {
        box.setWindowModality(Qt::WindowModal);
    }
    return box.exec() == QMessageBox::Yes;
}

void ShowOwnedMessage(QWidget* owner, const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, owner);
    box.setDefaultButton(QMessageBox::Ok);
    if (owner != nullptr) {
        box.setWindowModality(Qt::WindowModal);
    }
    box.exec();
}

void MessageBeep() {
    QApplication::beep();
    ++beepCount;
}

unsigned BeepCount() {
    return beepCount;
}

int AfxPortFailureBox(const QString& text, const QString& cause, const QString& systemError) {
    QMessageBox box(QMessageBox::Warning, AppTitle(), text, QMessageBox::Ok, ActiveOwner());
    box.setDefaultButton(QMessageBox::Ok);
    box.setInformativeText(cause);
    box.setDetailedText(systemError);
    box.exec();
    return 1;
}
