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

private:
    IClock* clock;
    const CPortDirectory* ports;
};
