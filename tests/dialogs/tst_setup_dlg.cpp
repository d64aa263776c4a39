#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <climits>
#include <functional>
#include <vector>

#include "CCustomConfigDlg.h"
#include "CFakePortTree.h"
#include "CLoginDlg.h"
#include "CModalDriver.h"
#include "CMyPropSheet.h"
#include "CSetupDlg.h"
#include "CpageModem.h"
#include "EditorTestSupport.h"
#include "ShellTestSupport.h"

namespace {

const QString kSerialSettings = QStringLiteral(
    "\r\n      Bits par seconde : 19200  \r\n"
    "  Bits de données  : 8    \r\n"
    "Parité           : Aucun  \r\n"
    "Bits d'arrêt     : 1      \r\n");
const QString kNotWhole = QStringLiteral("Tapez un nombre entier.");
const QString kOutOfRange = QStringLiteral("Tapez un nombre entier compris entre 0 et 240.");
constexpr int kCustomRetour = 1019;
constexpr int kCustomQuitter = 1017;
constexpr int kRepeaterChf = 1006;
constexpr int kModemChfRadio = 1004;
constexpr int kModemChf = 1011;

QComboBox* Ports(CSetupDlg* d) {
    return d->Item<QComboBox>(CSetupDlg::kIdPort);
}
QLineEdit* Count(CSetupDlg* d) {
    return d->Item<QLineEdit>(CSetupDlg::kIdRepeaterCount);
}
QRadioButton* Radio(CSetupDlg* d, int id) {
    return d->Item<QRadioButton>(id);
}
void ClickOk(CSetupDlg* d) {
    Click(d->GetDlgItem(CSetupDlg::kIdOk));
}
void Quit(CSetupDlg* d) {
    Click(d->GetDlgItem(CSetupDlg::kIdQuitter));
}

// A setup dialog over a fake machine with the given ttys, logged in as administrator.
struct SetupBench {
    explicit SetupBench(const QStringList& ttys = {}) {
        for (const QString& tty : ttys) {
            added = tree.AddTty(tty) && added;
        }
        dlg.SetPortDirectory(&tree.Directory());
        dlg.isClient = 0;
    }
    int Run(CModalDriver& driver) {
        return RunDriven(
            driver, [this] { return dlg.DoModal(); }, 30);
    }

    CFakePortTree tree;
    bool added = true;
    CSetupDlg dlg;
};

}  // namespace

class TstSetupDlg : public QObject {
    Q_OBJECT
private slots:
    void opensInCustomModeWithPortsSortedAsText();
    void chosenPortHandsItsNumber_data();
    void chosenPortHandsItsNumber();
    void noPortSelected_data();
    void noPortSelected();
    void portListStopsAt256();
    void portListIsReadAgainEachTimeItDropsDown();
    void portNumberIsTheEntrys_data();
    void portNumberIsTheEntrys();
    void modeButtonsSwitchCountField();
    void countValidation_data();
    void countValidation();
    void retourBringsSetupBackUnchanged();
    void editorCancelEndsSetup_data();
    void editorCancelEndsSetup();
    void setupOwnCancel_data();
    void setupOwnCancel();
    void enterInCountFieldOpensSheet();
    void sheetKeepsRepeaterAndSensorPages();
    void refusedCountNeverReachesPages();
    void relogin_data();
    void relogin();
    void unknownModeSaysErreurType();
    void aboutButtonAsksForAboutBox();
};

void TstSetupDlg::opensInCustomModeWithPortsSortedAsText() {
    SetupBench bench({"ttyS0", "ttyS9", "ttyS1"});
    QVERIFY(bench.added);
    CModalDriver driver;
    driver.On<CSetupDlg>([](CSetupDlg* d) {
        QCOMPARE(d->windowTitle(), QStringLiteral("Zav7305"));
        QVERIFY(Radio(d, CSetupDlg::kIdCustom)->isChecked());
        QVERIFY(!Radio(d, CSetupDlg::kIdDefault)->isChecked());
        QCOMPARE(d->configMode, 0);
        QCOMPARE(Count(d)->text(), QStringLiteral("1"));
        QVERIFY(!Count(d)->isEnabled());
        QCOMPARE(d->serialSettingsText.size(), 120);
        QCOMPARE(d->serialSettingsText, kSerialSettings);
        QCOMPARE(TextOf(d->GetDlgItem(CSetupDlg::kIdSerialSettings)),
                 QString(kSerialSettings).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        QCOMPARE(QApplication::focusWidget(), d->GetDlgItem(CSetupDlg::kIdOk));
        // PortList keeps the order the machine lists them in; the control sorts as text.
        QCOMPARE(d->PortList.names[0], QStringLiteral("COM1 (ttyS0)"));
        QCOMPARE(d->PortList.names[1], QStringLiteral("COM2 (ttyS1)"));
        QCOMPARE(d->PortList.names[2], QStringLiteral("COM10 (ttyS9)"));
        QCOMPARE(d->PortList.numbers[2], 10);
        QCOMPARE(Entries(Ports(d)),
                 QStringList({QStringLiteral("COM1 (ttyS0)"), QStringLiteral("COM10 (ttyS9)"),
                              QStringLiteral("COM2 (ttyS1)")}));
        QCOMPARE(Ports(d)->currentIndex(), 0);
        QCOMPARE(Ports(d)->currentText(), QStringLiteral("COM1 (ttyS0)"));
        Quit(d);
    });
    QCOMPARE(bench.Run(driver), 2);
    QVERIFY(driver.AllDone());
}

void TstSetupDlg::chosenPortHandsItsNumber_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("isClient");
    QTest::newRow("COM10 sorted before COM2") << "COM10 (ttyS9)" << 10 << 0;
    QTest::newRow("COM2 sorted last") << "COM2 (ttyS1)" << 2 << 1;
    QTest::newRow("first entry") << "COM1 (ttyS0)" << 1 << 0;
    QTest::newRow("USB adapter") << "COM101 (ttyUSB0)" << 101 << 1;
}

void TstSetupDlg::chosenPortHandsItsNumber() {
    QFETCH(QString, entry);
    QFETCH(int, number);
    QFETCH(int, isClient);
    SetupBench bench({"ttyS9", "ttyS1", "ttyUSB0", "ttyS0"});
    bench.dlg.isClient = static_cast<uint8_t>(isClient);
    CModalDriver driver;
    driver
        .On<CSetupDlg>([&](CSetupDlg* d) {
            const int index = Ports(d)->findText(entry);
            QVERIFY(index >= 0);
            Ports(d)->setCurrentIndex(index);
            ClickOk(d);
            Quit(d);
        })
        .On<CCustomConfigDlg>([&](CCustomConfigDlg* editor) {
            QVERIFY(!bench.dlg.isVisible());
            QCOMPARE(editor->portNumber, number);
            QCOMPARE(static_cast<int>(editor->isClient), isClient);
            Click(editor->GetDlgItem(kCustomRetour));
        });
    QCOMPARE(bench.Run(driver), 2);
    QVERIFY(driver.AllDone());
    QCOMPARE(bench.dlg.portNumber, number);
}

void TstSetupDlg::noPortSelected_data() {
    QTest::addColumn<QStringList>("ttys");
    QTest::addColumn<QString>("typed");
    QTest::newRow("empty list") << QStringList() << QString();
    QTest::newRow("text matching no entry") << QStringList({"ttyS0"}) << "COM7";
    QTest::newRow("entry text and more") << QStringList({"ttyS1"}) << "COM2 (ttyS1) x";
}

void TstSetupDlg::noPortSelected() {
    QFETCH(QStringList, ttys);
    QFETCH(QString, typed);
    SetupBench bench(ttys);
    CModalDriver driver;
    driver
        .On<CSetupDlg>([&](CSetupDlg* d) {
            if (ttys.isEmpty()) {
                QCOMPARE(Ports(d)->count(), 0);
                QCOMPARE(Ports(d)->currentIndex(), -1);
            } else {
                TypeInto(Ports(d)->lineEdit(), typed);
                QCOMPARE(Ports(d)->currentText(), typed);
            }
            ClickOk(d);
            QVERIFY(d->isVisible());
            Quit(d);
        })
        .AnswerBox(QMessageBox::Ok);
    QCOMPARE(bench.Run(driver), 2);
    QVERIFY(driver.AllDone());
    QCOMPARE(driver.Boxes().size(), size_t{1});
    QCOMPARE(driver.Boxes()[0].text, QStringLiteral("Aucun port série n'est sélectionné."));
    QCOMPARE(driver.Boxes()[0].caption, QStringLiteral("Zav7305"));
    QCOMPARE(driver.Boxes()[0].icon, QMessageBox::Warning);
}

void TstSetupDlg::portListStopsAt256() {
    QStringList ttys;
    for (const char* family : {"ttyS", "ttyUSB", "ttyACM"}) {
        for (int k = 0; k < 100; ++k) {
            ttys << QString::fromLatin1(family) + QString::number(k);
        }
    }
    SetupBench bench(ttys);
    QVERIFY(bench.added);
    CModalDriver driver;
    driver.On<CSetupDlg>([](CSetupDlg* d) {
        QCOMPARE(Ports(d)->count(), 256);
        QCOMPARE(d->PortList.numbers[255], 256);
        QCOMPARE(d->PortList.names[255], QStringLiteral("COM256 (ttyACM55)"));
        QVERIFY(Ports(d)->findText(QStringLiteral("COM256 (ttyACM55)")) >= 0);
        QCOMPARE(Ports(d)->findText(QStringLiteral("COM257 (ttyACM56)")), -1);
        // Every reading keeps the limit.
        Ports(d)->showPopup();
        Ports(d)->hidePopup();
        QCOMPARE(Ports(d)->count(), 256);
        QCOMPARE(d->PortList.names[255], QStringLiteral("COM256 (ttyACM55)"));
        Quit(d);
    });
    QCOMPARE(bench.Run(driver), 2);
    QVERIFY(driver.AllDone());
}

// A port plugged in while the dialog is open shows once the list drops down, one pulled out
// goes; the chosen port stays chosen while it exists, and none is once it is gone.
void TstSetupDlg::portListIsReadAgainEachTimeItDropsDown() {
    SetupBench bench({"ttyS0", "ttyUSB0"});
    QVERIFY(bench.added);
    const QString usb = QStringLiteral("COM101 (ttyUSB0)");
    CSimProcess sim;
    CModalDriver driver;
    driver
        .On<CSetupDlg>([&](CSetupDlg* d) {
            QComboBox* ports = Ports(d);
            ports->setCurrentIndex(ports->findText(usb));
            CSimProcess::Options options;
            options.runtimeDir = bench.tree.RuntimeFolder();
            QVERIFY(sim.Start(options));
            const QString plugged = QStringLiteral("COM%1 (%2: port virtuel)")
                                        .arg(sim.PortNumber())
                                        .arg(QString::fromStdString(sim.PtyPath().substr(5)));
            QCOMPARE(ports->findText(plugged), -1);

            ports->showPopup();
            QCOMPARE(Entries(ports), QStringList({QStringLiteral("COM1 (ttyS0)"), usb, plugged}));
            QCOMPARE(ports->currentText(), usb);
            QCOMPARE(d->PortList.names[2], plugged);
            QCOMPARE(d->PortList.numbers[2], sim.PortNumber());
            // The list is wider than the field, as wide as its longest name.
            QVERIFY(ports->view()->width() > ports->width());
            QVERIFY(ports->view()->viewport()->width() >=
                    ports->view()->fontMetrics().horizontalAdvance(plugged));
            ports->hidePopup();

            QVERIFY(sim.Stop());
            ports->showPopup();
            ports->hidePopup();
            QCOMPARE(Entries(ports), QStringList({QStringLiteral("COM1 (ttyS0)"), usb}));
            QCOMPARE(ports->currentText(), usb);
            QCOMPARE(d->PortList.names[2], QString());

            QVERIFY(bench.tree.RemoveTty(QStringLiteral("ttyUSB0")));
            ports->showPopup();
            ports->hidePopup();
            QCOMPARE(Entries(ports), QStringList({QStringLiteral("COM1 (ttyS0)")}));
            QCOMPARE(ports->currentIndex(), -1);
            // Nor does a later reading pick one in the user's place.
            ports->showPopup();
            ports->hidePopup();
            QCOMPARE(ports->currentIndex(), -1);
            ClickOk(d);
        })
        .AnswerBox(QMessageBox::Ok)
        .On<CSetupDlg>(Quit);
    QCOMPARE(bench.Run(driver), 2);
    QVERIFY(driver.AllDone());
    QCOMPARE(driver.Boxes().size(), size_t{1});
    QCOMPARE(driver.Boxes()[0].text, QStringLiteral("Aucun port série n'est sélectionné."));
}

// The number comes with the port's entry, whatever its name's text says after COM<n>.
void TstSetupDlg::portNumberIsTheEntrys_data() {
    QTest::addColumn<QString>("tty");
    QTest::addColumn<int>("number");
    QTest::newRow("first serial") << "ttyS0" << 1;
    QTest::newRow("last serial") << "ttyS99" << 100;
    QTest::newRow("USB adapter") << "ttyUSB0" << 101;
    QTest::newRow("ACM device") << "ttyACM7" << 208;
    QTest::newRow("board UART") << "ttyAMA0" << 301;
    QTest::newRow("family with digits after ttyXR") << "ttyXRUSB2" << 703;
}

void TstSetupDlg::portNumberIsTheEntrys() {
    QFETCH(QString, tty);
    QFETCH(int, number);
    SetupBench bench({tty});
    QVERIFY(bench.added);
    const std::vector<PortEntry> entries = bench.tree.Directory().List();
    QCOMPARE(entries.size(), size_t{1});
    QCOMPARE(entries[0].number, number);
    CModalDriver driver;
    driver.On<CSetupDlg>([&](CSetupDlg* d) {
        QCOMPARE(d->PortList.names[0], QString::fromStdString(entries[0].name));
        QVERIFY(d->PortList.names[0].startsWith(QStringLiteral("COM%1 ").arg(number)));
        QCOMPARE(d->PortList.numbers[0], number);
        QCOMPARE(Ports(d)->itemData(0).toInt(), number);
        Quit(d);
    });
    QCOMPARE(bench.Run(driver), 2);
    QVERIFY(driver.AllDone());
}

void TstSetupDlg::modeButtonsSwitchCountField() {
    SetupBench bench;
    CModalDriver driver;
    driver.On<CSetupDlg>([](CSetupDlg* d) {
        Click(Radio(d, CSetupDlg::kIdDefault));
        QCOMPARE(d->configMode, 1);
        QVERIFY(Count(d)->isEnabled());
        QVERIFY(!Radio(d, CSetupDlg::kIdCustom)->isChecked());
        TypeInto(Count(d), QStringLiteral("17"));
        Click(Radio(d, CSetupDlg::kIdCustom));
        QCOMPARE(d->configMode, 0);
        QVERIFY(!Count(d)->isEnabled());
        QVERIFY(!Radio(d, CSetupDlg::kIdDefault)->isChecked());
        QCOMPARE(Count(d)->text(), QStringLiteral("17"));
        QCOMPARE(d->repeaterCount, 17);
        Quit(d);
    });
    QCOMPARE(bench.Run(driver), 2);
    QVERIFY(driver.AllDone());
}

void TstSetupDlg::countValidation_data() {
    QTest::addColumn<QStringList>("keys");  // each item typed after selecting the field
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("endsRefused");
    QTest::newRow("300: range message at the third digit")
        << QStringList({"300"}) << QStringList({kOutOfRange}) << 30 << true;
    QTest::newRow("300 then all digits deleted")
        << QStringList({"300", ""}) << QStringList({kOutOfRange, kNotWhole}) << 30 << true;
    QTest::newRow("upper bound") << QStringList({"240"}) << QStringList() << 240 << false;
    QTest::newRow("lower bound") << QStringList({"0"}) << QStringList() << 0 << false;
    QTest::newRow("241") << QStringList({"241"}) << QStringList({kOutOfRange}) << 24 << true;
    QTest::newRow("letter") << QStringList({"x"}) << QStringList({kNotWhole}) << 1 << true;
    // The refused "-" is selected again, so the next digit replaces it.
    QTest::newRow("minus sign first")
        << QStringList({"-7"}) << QStringList({kNotWhole}) << 7 << false;
}

void TstSetupDlg::countValidation() {
    QFETCH(QStringList, keys);
    QFETCH(QStringList, messages);
    QFETCH(int, count);
    QFETCH(bool, endsRefused);
    SetupBench bench;
    CModalDriver driver;
    driver.On<CSetupDlg>([&](CSetupDlg* d) {
        Click(Radio(d, CSetupDlg::kIdDefault));
        for (const QString& typed : keys) {
            TypeInto(Count(d), typed);
        }
        QCOMPARE(d->repeaterCount, count);
        if (endsRefused) {
            // The field has the focus back, its whole text selected.
            QTRY_COMPARE(QApplication::focusWidget(), Count(d));
            QCOMPARE(Count(d)->selectedText(), Count(d)->text());
        }
        Quit(d);
    });
    for (qsizetype i = 0; i < messages.size(); ++i) {
        driver.AnswerBox(QMessageBox::Ok);
    }
    QCOMPARE(bench.Run(driver), 2);
    QVERIFY(driver.AllDone());
    QStringList seen;
    for (const SeenBox& box : driver.Boxes()) {
        seen << box.text;
        QCOMPARE(box.caption, QStringLiteral("Zav7305"));
        QCOMPARE(box.icon, QMessageBox::Warning);
    }
    QCOMPARE(seen, messages);
}

// Each step ends with its action, so the setup dialog comes back through the event loop as
// it does for the user, not from inside the step that opened the editor.
void TstSetupDlg::retourBringsSetupBackUnchanged() {
    SetupBench bench({"ttyS0", "ttyS9", "ttyS1"});
    CModalDriver driver;
    driver
        .On<CSetupDlg>([](CSetupDlg* d) {
            Click(Radio(d, CSetupDlg::kIdDefault));
            TypeInto(Count(d), QStringLiteral("5"));
            Click(Radio(d, CSetupDlg::kIdCustom));
            Ports(d)->setCurrentIndex(Ports(d)->findText(QStringLiteral("COM10 (ttyS9)")));
            ClickOk(d);
        })
        .On<CCustomConfigDlg>([](CCustomConfigDlg* editor) {
            TypeInto(editor->GetDlgItem(1005), QStringLiteral("42"));
            Click(editor->GetDlgItem(kCustomRetour));
        })
        .On<CSetupDlg>([](CSetupDlg* d) {
            QVERIFY(d->isVisible());
            QCOMPARE(Ports(d)->currentText(), QStringLiteral("COM10 (ttyS9)"));
            QVERIFY(Radio(d, CSetupDlg::kIdCustom)->isChecked());
            QCOMPARE(Count(d)->text(), QStringLiteral("5"));
            QCOMPARE(d->serialSettingsText, kSerialSettings);
            ClickOk(d);
        })
        .On<CCustomConfigDlg>([](CCustomConfigDlg* editor) {
            // A fresh editor with the same port.
            QCOMPARE(editor->portNumber, 10);
            QCOMPARE(editor->ID, 1);
            Click(editor->GetDlgItem(kCustomRetour));
        })
        .On<CSetupDlg>([](CSetupDlg* d) { Quit(d); });
    QCOMPARE(bench.Run(driver), 2);
    QVERIFY(driver.AllDone());
}

void TstSetupDlg::editorCancelEndsSetup_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("how");  // 0 "Quitter", 1 close box
    QTest::newRow("custom dialog Quitter") << 0 << 0;
    QTest::newRow("custom dialog close box") << 0 << 1;
    QTest::newRow("sheet Quitter") << 1 << 0;
}

void TstSetupDlg::editorCancelEndsSetup() {
    QFETCH(int, mode);
    QFETCH(int, how);
    SetupBench bench({"ttyS0"});
    int setupShown = 0;
    CModalDriver driver;
    driver.On<CSetupDlg>([&](CSetupDlg* d) {
        ++setupShown;
        if (mode == 1) {
            Click(Radio(d, CSetupDlg::kIdDefault));
        }
        ClickOk(d);
    });
    if (mode == 0) {
        driver.On<CCustomConfigDlg>([how](CCustomConfigDlg* editor) {
            if (how == 0) {
                Click(editor->GetDlgItem(kCustomQuitter));
            } else {
                editor->close();
            }
        });
    } else {
        driver.On<CMyPropSheet>([how](CMyPropSheet* sheet) {
            if (how == 0) {
                Click(sheet->GetButton(CPropertySheet::kIdCancel));
            } else {
                sheet->close();
            }
        });
    }
    // Anything further would be the setup dialog shown a second time.
    driver.On<CSetupDlg>([&](CSetupDlg* d) {
        ++setupShown;
        d->EndDialog(99);
    });
    QCOMPARE(bench.Run(driver), 2);
    QCOMPARE(driver.Pending(), 1);
    QCOMPARE(setupShown, 1);
    QVERIFY(!bench.dlg.isVisible());
}

void TstSetupDlg::setupOwnCancel_data() {
    QTest::addColumn<bool>("escape");
    QTest::newRow("Quitter") << false;
    QTest::newRow("Escape") << true;
}

void TstSetupDlg::setupOwnCancel() {
    QFETCH(bool, escape);
    SetupBench bench({"ttyS0"});
    CModalDriver driver;
    driver.On<CSetupDlg>([escape](CSetupDlg* d) {
        if (escape) {
            PressKey(QApplication::focusWidget(), Qt::Key_Escape);
        } else {
            Quit(d);
        }
    });
    QCOMPARE(bench.Run(driver), 2);
    QVERIFY(driver.AllDone());
}

void TstSetupDlg::enterInCountFieldOpensSheet() {
    SetupBench bench({"ttyS4"});
    bench.dlg.isClient = 1;
    CModalDriver driver;
    driver
        .On<CSetupDlg>([](CSetupDlg* d) {
            Click(Radio(d, CSetupDlg::kIdDefault));
            TypeInto(Count(d), QStringLiteral("3"));
            PressKey(Count(d), Qt::Key_Return);
            QVERIFY(d->isVisible());
            Quit(d);
        })
        .On<CMyPropSheet>([&](CMyPropSheet* sheet) {
            QVERIFY(!bench.dlg.isVisible());
            QCOMPARE(sheet->windowTitle(), QStringLiteral("Zav7305 : Configuration par défaut"));
            QCOMPARE(sheet->portNumber, 5);
            QCOMPARE(static_cast<int>(sheet->isClient), 1);
            QCOMPARE(sheet->GetPageCount(), 3);
            QCOMPARE(sheet->GetActiveIndex(), 0);
            QCOMPARE(bench.dlg.repeaterPage.repeaterCount, 3);
            QCOMPARE(bench.dlg.sensorPage.repeaterCount, 3);
            Click(sheet->GetButton(CMyPropSheet::kIdRetour));
        });
    QCOMPARE(bench.Run(driver), 2);
    QVERIFY(driver.AllDone());
}

void TstSetupDlg::sheetKeepsRepeaterAndSensorPages() {
    SetupBench bench({"ttyS0"});
    CModalDriver driver;
    driver
        .On<CSetupDlg>([](CSetupDlg* d) {
            Click(Radio(d, CSetupDlg::kIdDefault));
            ClickOk(d);
            ClickOk(d);
            Quit(d);
        })
        .On<CMyPropSheet>([&](CMyPropSheet* sheet) {
            QCOMPARE(sheet->GetPage(0), &bench.dlg.repeaterPage);
            QCOMPARE(sheet->GetPage(1), &bench.dlg.sensorPage);
            auto* modem = dynamic_cast<CpageModem*>(sheet->GetPage(2));
            QVERIFY(modem != nullptr);
            TypeInto(bench.dlg.repeaterPage.GetDlgItem(kRepeaterChf), QStringLiteral("123"));
            QVERIFY(sheet->SetActivePage(2));
            Click(modem->GetDlgItem(kModemChfRadio));
            TypeInto(modem->GetDlgItem(kModemChf), QStringLiteral("77"));
            QCOMPARE(modem->CHF, 77);
            Click(sheet->GetButton(CMyPropSheet::kIdRetour));
        })
        .On<CMyPropSheet>([&](CMyPropSheet* sheet) {
            QCOMPARE(sheet->GetPage(0), &bench.dlg.repeaterPage);
            QCOMPARE(sheet->GetPage(1), &bench.dlg.sensorPage);
            QCOMPARE(bench.dlg.repeaterPage.CHF, 123);
            QCOMPARE(TextOf(bench.dlg.repeaterPage.GetDlgItem(kRepeaterChf)),
                     QStringLiteral("123"));
            auto* modem = dynamic_cast<CpageModem*>(sheet->GetPage(2));
            QVERIFY(modem != nullptr);
            QCOMPARE(modem->CHF, 255);
            Click(sheet->GetButton(CMyPropSheet::kIdRetour));
        });
    QCOMPARE(bench.Run(driver), 2);
    QVERIFY(driver.AllDone());
    QVERIFY(!bench.dlg.repeaterPage.HasWindow());
}

void TstSetupDlg::refusedCountNeverReachesPages() {
    SetupBench bench({"ttyS0"});
    CModalDriver driver;
    driver
        .On<CSetupDlg>([](CSetupDlg* d) {
            Click(Radio(d, CSetupDlg::kIdDefault));
            TypeInto(Count(d), QStringLiteral("300"));
            ClickOk(d);
            Quit(d);
        })
        .AnswerBox(QMessageBox::Ok)
        .AnswerBox(QMessageBox::Ok)
        .On<CMyPropSheet>([&](CMyPropSheet* sheet) {
            QCOMPARE(bench.dlg.repeaterPage.repeaterCount, 30);
            QCOMPARE(bench.dlg.sensorPage.repeaterCount, 30);
            Click(sheet->GetButton(CMyPropSheet::kIdRetour));
        });
    QCOMPARE(bench.Run(driver), 2);
    QVERIFY(driver.AllDone());
    QCOMPARE(driver.Boxes().size(), size_t{2});
    QCOMPARE(driver.Boxes()[1].text, kOutOfRange);
}

void TstSetupDlg::relogin_data() {
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("identity");  // -1: the login is cancelled
    QTest::addColumn<int>("after");
    QTest::newRow("client login") << 0 << int{CLoginDlg::kIndexClient} << 1;
    QTest::newRow("administrator login") << 1 << int{CLoginDlg::kIndexAdministrator} << 0;
    QTest::newRow("cancelled, client kept") << 1 << -1 << 1;
    QTest::newRow("cancelled, administrator kept") << 0 << -1 << 0;
}

void TstSetupDlg::relogin() {
    QFETCH(int, before);
    QFETCH(int, identity);
    QFETCH(int, after);
    SetupBench bench({"ttyS0"});
    bench.dlg.isClient = static_cast<uint8_t>(before);
    CModalDriver driver;
    driver
        .On<CSetupDlg>([](CSetupDlg* d) {
            Click(Radio(d, CSetupDlg::kIdDefault));
            TypeInto(Count(d), QStringLiteral("9"));
            Click(d->GetDlgItem(CSetupDlg::kIdLogin));
        })
        .On<CLoginDlg>([&](CLoginDlg* login) {
            QVERIFY(!bench.dlg.isVisible());
            if (identity < 0) {
                Click(login->GetDlgItem(2));
            } else {
                SubmitLogin(login, identity, QStringLiteral("2846"));
            }
        })
        .On<CSetupDlg>([&](CSetupDlg* d) {
            QVERIFY(d->isVisible());
            QCOMPARE(static_cast<int>(d->isClient), after);
            QCOMPARE(Count(d)->text(), QStringLiteral("9"));
            Click(Radio(d, CSetupDlg::kIdCustom));
            ClickOk(d);
        })
        .On<CCustomConfigDlg>([&](CCustomConfigDlg* editor) {
            QCOMPARE(static_cast<int>(editor->isClient), after);
            Click(editor->GetDlgItem(kCustomRetour));
        })
        .On<CSetupDlg>([](CSetupDlg* d) { Quit(d); });
    QCOMPARE(bench.Run(driver), 2);
    QVERIFY(driver.AllDone());
}

void TstSetupDlg::unknownModeSaysErreurType() {
    SetupBench bench({"ttyS0"});
    CModalDriver driver;
    driver
        .On<CSetupDlg>([](CSetupDlg* d) {
            d->configMode = 7;
            ClickOk(d);
            QVERIFY(d->isVisible());
            Quit(d);
        })
        .AnswerBox(QMessageBox::Ok);
    QCOMPARE(bench.Run(driver), 2);
    QVERIFY(driver.AllDone());
    QCOMPARE(driver.Boxes().size(), size_t{1});
    QCOMPARE(driver.Boxes()[0].text, QStringLiteral("Erreur TYPE"));
    QCOMPARE(driver.Boxes()[0].icon, QMessageBox::Warning);
}

void TstSetupDlg::aboutButtonAsksForAboutBox() {
    SetupBench bench;
    QList<QWidget*> owners;
    bench.dlg.SetAboutOpener([&owners](QWidget* owner) { owners << owner; });
    CModalDriver driver;
    driver.On<CSetupDlg>([](CSetupDlg* d) {
        Click(d->GetDlgItem(CSetupDlg::kIdAbout));
        Click(d->GetDlgItem(CSetupDlg::kIdAbout));
        Quit(d);
    });
    QCOMPARE(bench.Run(driver), 2);
    QCOMPARE(owners, QList<QWidget*>({&bench.dlg, &bench.dlg}));
}

ZAV_TEST_CLASS(TstSetupDlg);
#include "tst_setup_dlg.moc"
