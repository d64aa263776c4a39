#include "CConfigApp.h"

#include <QApplication>

#include "CAboutDlg.h"
#include "CLoginDlg.h"
#include "CSetupDlg.h"
#include "CSystemClock.h"

namespace {
// What a modal run gives when its window could not be made.
constexpr int kWindowNotMade = -1;
constexpr char kLoginNotMade[] =
    "Zav7305 ne peut pas démarrer : la fenêtre de connexion n'a pas pu être créée.";
constexpr char kSetupNotMade[] =
    "Zav7305 ne peut pas démarrer : la fenêtre de configuration n'a pas pu être créée.";
}  // namespace

CConfigApp::CConfigApp(IClock* clock, const CPortDirectory* ports)
    : clock(clock != nullptr ? clock : &CSystemClock::Instance()), ports(ports) {}

bool CConfigApp::InitInstance() {
    // Between two dialogs of the chain no window is shown; that must not end the run.
    QApplication::setQuitOnLastWindowClosed(false);

    CLoginDlg login;
    CSetupDlg setup;
    // A login that ended without a choice (its window could not be made) grants no role.
    const int loginEnd = login.DoModal();
    if (loginEnd != 1) {
        NoteStartFailure(loginEnd, kLoginNotMade);
        return false;
    }
    setup.isClient = login.role == CLoginDlg::kRoleClient ? 1 : 0;
    setup.SetClock(clock);
    setup.SetPortDirectory(ports);
    setup.SetAboutOpener(&CConfigApp::OpenAboutBox);
    NoteStartFailure(setup.DoModal(), kSetupNotMade);
    return false;
}

void CConfigApp::NoteStartFailure(int endCode, const char* text) {
    if (endCode == kWindowNotMade) {
        startFailure = text;
    }
}

void CConfigApp::OpenAboutBox(QWidget* owner) {
    CAboutDlg about(owner);
    about.DoModal();
}
