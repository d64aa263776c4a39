#pragma once

class QCoreApplication;

// Qt's own texts (standard buttons, the fields' right-click menus) in French, whatever the
// user's locale: the interface is French throughout. False when Qt's French translation is
// not installed; the program then runs with Qt's English texts.
bool InstallQtFrenchTexts(QCoreApplication& application);
