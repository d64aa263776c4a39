#include "CConfigApp.h"

#include <QApplication>

#include "CAboutDlg.h"
#include "CLoginDlg.h"
#include "CSetupDlg.h"
#include "CSystemClock.h"

CConfigApp::CConfigApp(IClock* clock, const CPortDirectory* ports)
    : clock(clock != nullptr ? clock : &CSystemClock::Instance()), ports(ports) {}

bool CConfigApp::InitInstance() {
    // Between two dialogs of the chain no window is shown; that must not end the run.
    QApplication::setQuitOnLastWindowClosed(false);

    CLoginDlg login;
    CSetupDlg setup;
    // A login that ended without a choice (its window could not be made) grants no role.
    if (login.DoModal() != 1) {
        return false;
    }
    setup.isClient = login.role == CLoginDlg::kRoleClient ? 1 : 0;
    setup.SetClock(clock);
    setup.SetPortDirectory(ports);
    setup.SetAboutOpener(&CConfigApp::OpenAboutBox);
    setup.DoModal();
    return false;
}

void CConfigApp::OpenAboutBox(QWidget* owner) {
    CAboutDlg about(owner);
    about.DoModal();
}
