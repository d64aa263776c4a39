#pragma once

#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <functional>

#include "CEditorJournal.h"

class QPixmap;
class QWidget;

// Renders every window of the tool to PNG files: each one is run as the tool runs it and
// grabbed once it is shown. Offscreen the picture is the window's own drawing; on a screen
// with a window manager it is the screen under the window with the manager's frame.
class CPictureBook {
public:
    CPictureBook(const QString& outputFolder, bool withFrames);

    // Every picture; false when one could not be made.
    bool RenderAll();

    bool Login();
    bool Setup();
    bool About();
    bool CustomDialog();
    bool Sheet();
    // The sheet with the map of a network walked the day before, and the first page of that
    // network's report.
    bool NetworkMap();
    // The sheet on the sensor tab walking a network's site plan, on the next device to do.
    bool PlanWalk();

private:
    // Runs `modal` and, once its window is up, calls `inside` on it; `inside` grabs what it
    // wants and ends the window.
    static void WhileShown(const std::function<int()>& modal,
                           const std::function<void(QWidget*)>& inside);
    bool Save(QWidget* window, const QString& name);
    static QPixmap GrabWithFrame(QWidget* window);
    bool SaveReportPage(const QString& journalPath, const QString& network);

    QDir folder;
    bool withFrames;
    bool allSaved = true;
    // The pictures run no exchange; the editors want a journal all the same, and the sheet's
    // map reads it: an empty one of its own, never the user's.
    QTemporaryDir journalFolder;
    CEditorJournal journal;
};
