#include "ShellTestSupport.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <string>

#include "CLoginDlg.h"
#include "EditorTestSupport.h"

bool PrepareShellTest() {
    QCoreApplication::setApplicationName(QStringLiteral("Zav7305"));
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QDir().mkpath(runtime) &&
           QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

std::string VirtualPortFolder() {
    return qEnvironmentVariable("XDG_RUNTIME_DIR").toStdString() + "/zav7305";
}

void Click(QWidget* widget) {
    QVERIFY(widget != nullptr);
    QVERIFY(widget->isEnabled());
    QTest::mouseClick(widget, Qt::LeftButton);
}

int EntryOfPort(const QComboBox* combo, int number) {
    return combo->findData(number);
}

QStringList Entries(const QComboBox* combo) {
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i) {
        texts << combo->itemText(i);
    }
    return texts;
}

void ChooseIdentity(CLoginDlg* dlg, int index) {
    auto* combo = dlg->Item<QComboBox>(CLoginDlg::kIdIdentity);
    QVERIFY(combo != nullptr);
    combo->setFocus();
    while (combo->currentIndex() != index) {
        const int before = combo->currentIndex();
        QTest::keyClick(combo, index < before ? Qt::Key_Up : Qt::Key_Down);
        QVERIFY(combo->currentIndex() != before);
    }
}

void SubmitLogin(CLoginDlg* dlg, int index, const QString& password) {
    ChooseIdentity(dlg, index);
    if (index == CLoginDlg::kIndexAdministrator) {
        TypeInto(dlg->GetDlgItem(CLoginDlg::kIdPassword), password);
    }
    Click(dlg->GetDlgItem(CLoginDlg::kIdOkButton));
}
