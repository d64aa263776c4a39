#pragma once

#include <QDir>
#include <QString>
#include <functional>

class QWidget;

// Renders every window of the tool to PNG files, offscreen: each one is run as the tool
// runs it and grabbed once it is shown.
class CPictureBook {
public:
    explicit CPictureBook(const QString& outputFolder);

    // Every picture; false when one could not be made.
    bool RenderAll();

    bool Login();
    bool Setup();
    bool About();
    bool CustomDialog();
    bool Sheet();

private:
    // Runs `modal` and, once its window is up, calls `inside` on it; `inside` grabs what it
    // wants and ends the window.
    static void WhileShown(const std::function<int()>& modal,
                           const std::function<void(QWidget*)>& inside);
    bool Save(QWidget* window, const QString& name);

    QDir folder;
    bool allSaved = true;
};
