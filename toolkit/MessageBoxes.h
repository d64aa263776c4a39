#pragma once

#include <QString>
#include <functional>

class QWidget;

// The application title: the executable's base name ("Zav7305" for the shipped program).
QString AppTitle();

// The application message box: caption AppTitle(), exclamation icon, OK. Returns 1.
int AfxMessageBox(const QString& text);

// A question owned by a dialog or page: its own caption, Yes and No, no icon, Yes default.
bool AskYesNo(QWidget* owner, const QString& caption, const QString& text);

// True when nothing stands at `path` (not even a dangling link), else the question asked.
bool MayReplaceFile(QWidget* owner, const QString& caption, const QString& path,
                    const QString& question);

// A message owned by a dialog or page: its own caption, OK, no icon.
void ShowOwnedMessage(QWidget* owner, const QString& caption, const QString& text);

// The desktop's default beep, or the hook put in its place (how tests hear it).
void MessageBeep();
// An empty hook gives the desktop's beep back.
void SetBeepHook(std::function<void()> hook);

// The application message box for a port that failed: the unchanged `text` first, then why
// and what to do (`cause`) as informative text and the system's own error as detailed text,
// each only when given. Returns 1.
int AfxPortFailureBox(const QString& text, const QString& cause, const QString& systemError);
