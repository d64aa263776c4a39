#pragma once

class CPortDirectory;
class IClock;
class QWidget;

// The application object: it owns no window; its start-up routine runs the login dialog
// and then the setup dialog, and the process ends when it returns.
class CConfigApp {
public:
    // The editors' exchanges take time from `clock` (the system clock when null); the setup
    // dialog lists the ports of `ports` (the machine's own when null).
    explicit CConfigApp(IClock* clock = nullptr, const CPortDirectory* ports = nullptr);

    // Runs the whole chain of dialogs; always false, so the caller ends the process.
    // Needs a QApplication.
    bool InitInstance();

    static void OpenAboutBox(QWidget* owner);

    // After InitInstance: why the chain could not start (a dialog whose window could not be
    // made), in French; empty when it ran.
    const char* StartFailure() const { return startFailure; }

private:
    void NoteStartFailure(int endCode, const char* text);

    const char* startFailure = "";
    IClock* clock;
    const CPortDirectory* ports;
};
