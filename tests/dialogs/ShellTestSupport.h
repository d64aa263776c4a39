#pragma once

#include <QApplication>
#include <QString>
#include <QTest>

#include "CTestClasses.h"

class CLoginDlg;
class QComboBox;
class QWidget;

// Application title "Zav7305" and this test's own runtime folder (private, as the desktop
// makes it), where simulators announce their ports.
bool PrepareShellTest();

// The runtime folder the simulator and the port list share.
std::string VirtualPortFolder();

// A mouse click on the control, as the user makes it.
void Click(QWidget* widget);
// The entry of the port list that stands for port `number`, or -1.
int EntryOfPort(const QComboBox* combo, int number);
// Every entry's text, in the order shown.
QStringList Entries(const QComboBox* combo);

// The login dialog's identity list, worked with the keyboard as the user does.
void ChooseIdentity(CLoginDlg* dlg, int index);
// Chooses an identity, types the password when the administrator is chosen, presses OK.
void SubmitLogin(CLoginDlg* dlg, int index, const QString& password = {});
