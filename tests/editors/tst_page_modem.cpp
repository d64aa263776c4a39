#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "CBeepCounter.h"
#include "CSystemClock.h"
#include "EditorTestSupport.h"
#include "WaitCancelButton.h"

namespace {

constexpr int kModemTab = 2;
constexpr int kRadioId = 1003;
constexpr int kRadioChf = 1004;
constexpr int kRadioTyp = 1007;
constexpr int kRadios[] = {1003, 1004, 1005, 1006, 1007, 1008};
// Field of each radio above, in the same order.
constexpr int kFields[] = {1010, 1011, 1012, 1013, 1014, 1015};
constexpr int kFieldId = 1010;
constexpr int kFieldTyp = 1014;
constexpr int kVerdict = 1030;

const QString kNoChoice = QString::fromUtf8("Erreur de choix des paramètres à configurer");

QRadioButton* Radio(CpageModem& page, int id) {
    return page.Item<QRadioButton>(id);
}

}  // namespace

class TestPageModem : public QObject {
    Q_OBJECT
private slots:
    void onePressOneExchange_data();
    void onePressOneExchange();
    void firstShowing_data();
    void firstShowing();
    void clientSendsP0AtOnce();
    void radioChoiceEnablesOneField();
    void nothingChosen_data();
    void nothingChosen();
    void typeMustBe0Or255OnEmettre_data();
    void typeMustBe0Or255OnEmettre();
    void idAlreadyGivenToARepeater();
    void enterOnLireSendsAndLireReads();
    void progressTextOnWriteFailure_data();
    void progressTextOnWriteFailure();
    void silentModem();
    void endedWaitIsASilentModem_data();
    void endedWaitIsASilentModem();
};

void TestPageModem::firstShowing_data() {
    QTest::addColumn<uint8_t>("isClient");
    QTest::newRow("administrator") << uint8_t{0};
    QTest::newRow("client") << uint8_t{1};
}

void TestPageModem::firstShowing() {
    QFETCH(uint8_t, isClient);
    CSheetBench bench;
    bench.Open(3, 999, isClient);
    CEditorDriver driver;
    driver.Act<CMyPropSheet>([&](CMyPropSheet* s) {
        QVERIFY(s->SetActivePage(kModemTab));
        CpageModem& page = *bench.modem;
        QStringList shown;
        for (size_t i = 0; i < std::size(kRadios); ++i) {
            QVERIFY(!Radio(page, kRadios[i])->isChecked());
            QCOMPARE(Radio(page, kRadios[i])->isEnabled(), isClient != 1);
            const bool p0 = kFields[i] == kFieldP0;
            QCOMPARE(Field(page, kFields[i])->isEnabled(), isClient == 1 && p0);
            shown << TextOf(Field(page, kFields[i]));
        }
        QCOMPARE(shown, QStringList({"0", "255", "15", "1", "0", "100"}));
        QCOMPARE(TextOf(page.GetDlgItem(CSheetPage::kIdStatus)),
                 QStringLiteral("Pas de configuration"));
        QCOMPARE(page.selectedParam, isClient == 1 ? 3 : -1);
        Retour(s);
    });
    QCOMPARE(bench.Run(driver), 255);
    QVERIFY(driver.AllDone());
}

void TestPageModem::clientSendsP0AtOnce() {
    CSimProcess sim;
    QVERIFY(StartSim(sim, "modem"));
    CSheetBench bench;
    bench.Open(3, sim.PortNumber(), 1);
    CBeepCounter beeps;
    CEditorDriver driver;
    driver.Act<CMyPropSheet>([](CMyPropSheet* s) {
        QVERIFY(s->SetActivePage(kModemTab));
        Apply(s);
        Retour(s);
    });
    QCOMPARE(bench.Run(driver), 255);
    QVERIFY(driver.AllDone());
    QVERIFY(driver.Boxes().empty());
    QCOMPARE(sim.ReceivedLines(), Lines({"p 015", "v"}));
    QVERIFY(bench.clock.Slept() >= 4000);
    QCOMPARE(beeps.Count(), 1u);
    QVERIFY(bench.modem->StatusText.startsWith("US7305rx\r\n"));
    QVERIFY(bench.modem->StatusText.contains("P0 = 015\r\n"));
}

void TestPageModem::radioChoiceEnablesOneField() {
    CSheetBench bench;
    bench.Open(3, 999);
    CEditorDriver driver;
    driver.Act<CMyPropSheet>([&](CMyPropSheet* s) {
        QVERIFY(s->SetActivePage(kModemTab));
        CpageModem& page = *bench.modem;
        QTest::mouseClick(Radio(page, kRadioId), Qt::LeftButton);
        QVERIFY(Field(page, kFieldId)->isEnabled());
        TypeInto(Field(page, kFieldId), "12");
        QTest::mouseClick(Radio(page, kRadioChf), Qt::LeftButton);
        QTest::mouseClick(Radio(page, kRadioChf), Qt::LeftButton);  // stays chosen
        for (size_t i = 0; i < std::size(kRadios); ++i) {
            const bool chf = kRadios[i] == kRadioChf;
            QCOMPARE(Radio(page, kRadios[i])->isChecked(), chf);
            QCOMPARE(Field(page, kFields[i])->isEnabled(), chf);
        }
        QCOMPARE(page.selectedParam, 2);
        QCOMPARE(page.ID, 12);
        Retour(s);
    });
    QCOMPARE(bench.Run(driver), 255);
    QVERIFY(driver.AllDone());
}

void TestPageModem::nothingChosen_data() {
    QTest::addColumn<bool>("byEnter");
    QTest::newRow("Emettre") << false;
    QTest::newRow("Enter") << true;
}

void TestPageModem::nothingChosen() {
    QFETCH(bool, byEnter);
    CSimProcess sim;
    QVERIFY(StartSim(sim, "modem"));
    CSheetBench bench;
    bench.Open(3, sim.PortNumber());
    CBeepCounter beeps;
    CEditorDriver driver;
    driver
        .Act<CMyPropSheet>([&](CMyPropSheet* s) {
            QVERIFY(s->SetActivePage(kModemTab));
            if (byEnter) {
                PressKey(bench.modem->GetDlgItem(CpageModem::kIdLire), Qt::Key_Return);
            } else {
                Apply(s);
            }
        })
        .Answer(QMessageBox::Ok)
        .Act<CMyPropSheet>(Retour);
    QCOMPARE(bench.Run(driver), 255);
    QVERIFY(driver.AllDone());
    QCOMPARE(BoxText(driver, 0), kNoChoice);
    QCOMPARE(driver.Boxes()[0].caption, QStringLiteral("Zav7305"));
    QCOMPARE(beeps.Count(), 0u);
    QCOMPARE(bench.modem->StatusText, QStringLiteral("Pas de configuration"));
    QVERIFY(sim.ReceivedLines().empty());
}

void TestPageModem::typeMustBe0Or255OnEmettre_data() {
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("byEnter");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QByteArray>("command");
    QTest::newRow("7 on Emettre") << "7" << false << true << QByteArray();
    QTest::newRow("7 on Enter") << "7" << true << false << QByteArray("t 007");
    QTest::newRow("0 on Emettre") << "0" << false << false << QByteArray("t 000");
    QTest::newRow("255 on Emettre") << "255" << false << false << QByteArray("t 255");
    QTest::newRow("300 has no range") << "300" << true << false << QByteArray("t 300");
}

void TestPageModem::typeMustBe0Or255OnEmettre() {
    QFETCH(QString, type);
    QFETCH(bool, byEnter);
    QFETCH(bool, refused);
    QFETCH(QByteArray, command);
    CSimProcess sim;
    QVERIFY(StartSim(sim, "modem"));
    CSheetBench bench;
    bench.Open(3, sim.PortNumber());
    CEditorDriver driver;
    driver.Act<CMyPropSheet>([&](CMyPropSheet* s) {
        QVERIFY(s->SetActivePage(kModemTab));
        QTest::mouseClick(Radio(*bench.modem, kRadioTyp), Qt::LeftButton);
        TypeInto(Field(*bench.modem, kFieldTyp), type);
        if (byEnter) {
            PressKey(Field(*bench.modem, kFieldTyp), Qt::Key_Return);
        } else {
            Apply(s);
        }
    });
    if (refused) {
        driver.Answer(QMessageBox::Ok);
    }
    driver.Act<CMyPropSheet>(Retour);
    QCOMPARE(bench.Run(driver), 255);
    QVERIFY(driver.AllDone());
    QCOMPARE(driver.Boxes().size(), refused ? size_t{1} : size_t{0});
    if (refused) {
        const SeenBox& box = driver.Boxes()[0];
        QCOMPARE(box.text, QString::fromUtf8("Le type d'un modem doit être égal à 0 ou 255."));
        QCOMPARE(box.caption, QStringLiteral("DevOv7305"));
        QCOMPARE(box.icon, QMessageBox::NoIcon);
        QCOMPARE(bench.modem->StatusText, kRefused);
        QVERIFY(sim.ReceivedLines().empty());
    } else {
        QCOMPARE(sim.ReceivedLines(), Lines({command.toStdString(), "v"}));
    }
}

void TestPageModem::idAlreadyGivenToARepeater() {
    CSimProcess sim;
    QVERIFY(StartSim(sim, "any"));
    CSheetBench bench;
    bench.Open(3, sim.PortNumber());
    CEditorDriver driver;
    driver
        .Act<CMyPropSheet>([&](CMyPropSheet* s) {
            Apply(s);  // repeater 1: entry 255 now records it
            QVERIFY(s->SetActivePage(kModemTab));
            QTest::mouseClick(Radio(*bench.modem, kRadioId), Qt::LeftButton);
            TypeInto(Field(*bench.modem, kFieldId), "255");
            Apply(s);
        })
        .Answer(QMessageBox::No)
        .Act<CMyPropSheet>([&](CMyPropSheet* s) {
            QCOMPARE(bench.modem->StatusText, kRefused);
            QTest::mouseClick(Radio(*bench.modem, kRadioChf), Qt::LeftButton);
            Apply(s);  // the ID is looked up, but asked about only when ID is chosen
            Retour(s);
        });
    QCOMPARE(bench.Run(driver), 255);
    QVERIFY(driver.AllDone());
    QCOMPARE(driver.Boxes().size(), size_t{1});
    QCOMPARE(BoxText(driver, 0), kAlready);
    QCOMPARE(driver.Boxes()[0].caption, QStringLiteral("DevOv7305"));
    QCOMPARE(sim.ReceivedLines(), Lines({"u001255601004100", "u", "c 255", "v"}));
}

void TestPageModem::enterOnLireSendsAndLireReads() {
    CSimProcess sim;
    QVERIFY(StartSim(sim, "modem"));
    CSheetBench bench;
    bench.Open(3, sim.PortNumber());
    CEditorDriver driver;
    driver.Act<CMyPropSheet>([&](CMyPropSheet* s) {
        QVERIFY(s->SetActivePage(kModemTab));
        QWidget* lire = bench.modem->GetDlgItem(CpageModem::kIdLire);
        QWidget* verdict = bench.modem->GetDlgItem(kVerdict);
        QTest::mouseClick(lire, Qt::LeftButton);  // nothing chosen: reads all the same
        QCOMPARE(TextOf(verdict), QString());     // a read alone has nothing to judge
        QTest::mouseClick(Radio(*bench.modem, kRadioP0), Qt::LeftButton);
        TypeInto(Field(*bench.modem, kFieldP0), "7");
        lire->setFocus();
        PressKey(lire, Qt::Key_Return);
        QCOMPARE(TextOf(verdict), QString::fromUtf8("✔ Configuration vérifiée"));
        QTest::mouseClick(lire, Qt::LeftButton);
        QCOMPARE(TextOf(verdict), QString());
        Retour(s);
    });
    QCOMPARE(bench.Run(driver), 255);
    QVERIFY(driver.AllDone());
    QVERIFY(driver.Boxes().empty());
    QCOMPARE(sim.ReceivedLines(), Lines({"v", "p 007", "v", "v"}));
    QVERIFY(bench.modem->StatusText.contains("P0 = 007\r\n"));
}

void TestPageModem::progressTextOnWriteFailure_data() {
    QTest::addColumn<bool>("byEnter");
    QTest::addColumn<QString>("progress");
    QTest::newRow("Emettre") << false << "\r\n Emission en cours...";
    QTest::newRow("Enter") << true << "\r\n Emission en cours ...";
}

void TestPageModem::progressTextOnWriteFailure() {
    QFETCH(bool, byEnter);
    QFETCH(QString, progress);
    CSheetBench bench;
    bench.Open(3, 999);
    CBeepCounter beeps;
    CEditorDriver driver;
    driver
        .Act<CMyPropSheet>([&](CMyPropSheet* s) {
            QVERIFY(s->SetActivePage(kModemTab));
            QTest::mouseClick(Radio(*bench.modem, kRadioP0), Qt::LeftButton);
            if (byEnter) {
                PressKey(Field(*bench.modem, kFieldP0), Qt::Key_Enter);
            } else {
                Apply(s);
            }
        })
        .Answer(QMessageBox::Ok)
        .Act<CMyPropSheet>(Retour);
    QCOMPARE(bench.Run(driver), 255);
    QVERIFY(driver.AllDone());
    QCOMPARE(BoxText(driver, 0), QString::fromUtf8("Echec d'émission de la configuration"));
    QCOMPARE(bench.modem->StatusText, progress);
    QCOMPARE(beeps.Count(), 1u);
    QCOMPARE(bench.clock.Slept(), uint64_t{0});
}

void TestPageModem::silentModem() {
    CSimProcess sim;
    QVERIFY(StartSim(sim, "modem", {"--silent"}));
    CSheetBench bench;
    bench.clock.SetStep(7000);
    bench.Open(3, sim.PortNumber());
    CEditorDriver driver;
    driver
        .Act<CMyPropSheet>([&](CMyPropSheet* s) {
            QVERIFY(s->SetActivePage(kModemTab));
            QTest::mouseClick(Radio(*bench.modem, kRadioP0), Qt::LeftButton);
            Apply(s);
        })
        .Answer(QMessageBox::Ok)
        .Act<CMyPropSheet>(Retour);
    QCOMPARE(bench.Run(driver), 255);
    QVERIFY(driver.AllDone());
    QCOMPARE(BoxText(driver, 0), QString::fromUtf8("Configuration non reçue!"));
    QCOMPARE(bench.modem->StatusText, QString::fromUtf8("\r\n Configuration non reçue!"));
    QVERIFY(bench.clock.Slept() >= 4000);
    QCOMPARE(sim.ReceivedLines(), Lines({"p 015", "v"}));
}

// The modem's 4-second pause: neither a second Emettre nor Lire starts another exchange.
void TestPageModem::onePressOneExchange_data() {
    QTest::addColumn<QString>("during");
    QTest::newRow("second click on Emettre") << "Emettre";
    QTest::newRow("click on Lire") << "Lire";
}

void TestPageModem::onePressOneExchange() {
    QFETCH(QString, during);
    CSimProcess sim;
    QVERIFY(StartSim(sim, "modem"));
    CSheetBench bench;
    // The input goes in at the pause's first serve: a quarter of the real pause is enough.
    bench.timing.modemPauseMs = kModemPauseMs / 4;
    bench.Open(3, sim.PortNumber(), 1);
    bench.sheet->clock = &CSystemClock::Instance();
    CInputDuringWait input;
    bool shownUnavailable = false;
    CEditorDriver driver;
    driver
        .Act<CMyPropSheet>([&](CMyPropSheet* s) {
            QVERIFY(s->SetActivePage(kModemTab));
            QPushButton* emettre = s->GetButton(CPropertySheet::kIdApply);
            auto* lire = bench.modem->Item<QPushButton>(CpageModem::kIdLire);
            input.Click(during == "Lire" ? lire : emettre);
            input.Look([&] { shownUnavailable = !emettre->isEnabled() && !lire->isEnabled(); });
            input.Arm();
            emettre->click();
            QVERIFY(input.Given());
        })
        .Act<CMyPropSheet>(Retour);
    QCOMPARE(bench.Run(driver), 255);
    QVERIFY(driver.AllDone());
    QCOMPARE(sim.ReceivedLines(), Lines({"p 015", "v"}));
    QVERIFY(shownUnavailable);
}

// The modem's pause or its report's wait ended by Escape or "Annuler": the outcome of a modem
// that never answered, at once; a pause ended asks for no report.
void TestPageModem::endedWaitIsASilentModem_data() {
    QTest::addColumn<bool>("escape");
    QTest::addColumn<int>("afterMs");
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("Escape in the pause") << true << 1000 << QStringList() << QStringList{"p 015"};
    QTest::newRow("Annuler in the pause") << false << 1000 << QStringList() << QStringList{"p 015"};
    QTest::newRow("Escape in the report's wait")
        << true << 5000 << QStringList{"--silent"} << QStringList{"p 015", "v"};
}

void TestPageModem::endedWaitIsASilentModem() {
    QFETCH(bool, escape);
    QFETCH(int, afterMs);
    QFETCH(QStringList, simArgs);
    QFETCH(QStringList, lines);
    std::vector<std::string> args;
    for (const QString& arg : simArgs) {
        args.push_back(arg.toStdString());
    }
    CSimProcess sim;
    QVERIFY(StartSim(sim, "modem", args));
    CSheetBench bench;
    bench.Open(3, sim.PortNumber(), 1);
    bench.sheet->clock = &CSystemClock::Instance();
    CInputDuringWait input;
    CFirstBoxShown box;
    QLabel* verdict = bench.modem->Item<QLabel>(kVerdict);
    CEditorDriver driver;
    driver
        .Act<CMyPropSheet>([&](CMyPropSheet* s) {
            QVERIFY(s->SetActivePage(kModemTab));
            verdict = bench.modem->Item<QLabel>(kVerdict);
            if (escape) {
                input.Key(s->GetButton(CMyPropSheet::kIdRetour), Qt::Key_Escape);
            } else {
                input.Click([&] { return WaitCancelButton::Of(verdict); });
            }
            input.Arm(afterMs);
            s->GetButton(CPropertySheet::kIdApply)->click();
            QVERIFY(input.Given());
        })
        .Answer(QMessageBox::Ok)
        .Act<CMyPropSheet>(Retour);
    QCOMPARE(bench.Run(driver), 255);
    QVERIFY(driver.AllDone());
    QCOMPARE(BoxText(driver, 0), QString::fromUtf8("Configuration non reçue!"));
    QCOMPARE(bench.modem->StatusText, QString::fromUtf8("\r\n Configuration non reçue!"));
    const int64_t endedMs = BoxAfterInputMs(box, input);
    QVERIFY2(endedMs >= 0 && endedMs < 500, qPrintable(QString::number(endedMs)));
    QVERIFY(LastJournalLine().contains(
        QString::fromUtf8("\"Configuration non reçue! (attente annulée)\"")));
    Lines expected;
    for (const QString& line : lines) {
        expected.push_back(line.toStdString());
    }
    QCOMPARE(sim.ReceivedLines(), expected);
}

ZAV_TEST_CLASS(TestPageModem);
#include "tst_page_modem.moc"
