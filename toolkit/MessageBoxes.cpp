#include "MessageBoxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QWidget>
#include <utility>

namespace {

std::function<void()> beepHook;

// Qt's own button texts are English unless its French translation is installed.
const char* const kYesText = "&Oui";
const char* const kNoText = "&Non";

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
    box.button(QMessageBox::Yes)->setText(QString::fromUtf8(kYesText));
    box.button(QMessageBox::No)->setText(QString::fromUtf8(kNoText));
    if (owner != nullptr) {
        box.setWindowModality(Qt::WindowModal);
    }
    return box.exec() == QMessageBox::Yes;
}

bool MayReplaceFile(QWidget* owner, const QString& caption, const QString& path,
                    const QString& question) {
    const QFileInfo file(path);
    if (!file.exists() && !file.isSymLink()) {
        return true;
    }
    return AskYesNo(owner, caption, question);
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
    if (beepHook) {
        beepHook();
        return;
    }
    QApplication::beep();
}

void SetBeepHook(std::function<void()> hook) {
    beepHook = std::move(hook);
}

int AfxPortFailureBox(const QString& text, const QString& cause, const QString& systemError) {
    QMessageBox box(QMessageBox::Warning, AppTitle(), text, QMessageBox::Ok, ActiveOwner());
    box.setDefaultButton(QMessageBox::Ok);
    box.setInformativeText(cause);
    box.setDetailedText(systemError);
    box.exec();
    return 1;
}
