#include <QPushButton>
#include <QTest>
#include <algorithm>

#include "CBeepCounter.h"
#include "CSystemClock.h"
#include "EditorTestSupport.h"
#include "VerdictDisplay.h"

namespace {

constexpr int kSensorTab = 1;

const QString kNotSensor =
    QString::fromUtf8("Cet ID n'est pas un ID de capteur.\nVoulez-vous le programmer ?");

// The frame of the sensor page's default values for one ID.
std::string SensorDefaultFrame(int id) {
    return QString::asprintf("u%03d255603000100", id).toStdString();
}

}  // namespace

class TestPageCapteur : public QObject {
    Q_OBJECT
private slots:
    void firstShowingStartsAfterTheRepeaters();
    void questionsBeforeSending_data();
    void questionsBeforeSending();
    void idProgrammedOnTheRepeaterTabIsAskedAbout();
    void lastIdStaysAt240();
    void enterSendsWithoutQuestionsAndMovesOn();
    void countOf240LeavesOnlyEnter();
    void pageObjectCarriesOverButTheIdRestarts();
    void idBeyondTheTableIsNeverRecorded();
    void silentDeviceStillRecordsAndMovesOn();
    void verdictNamesTheIdToRedo_data();
    void verdictNamesTheIdToRedo();
    void onePressOneExchange_data();
    void onePressOneExchange();
};

void TestPageCapteur::firstShowingStartsAfterTheRepeaters() {
    CSheetBench bench;
    bench.Open(5, 999, 1);
    CEditorDriver driver;
    driver.Act<CMyPropSheet>([&](CMyPropSheet* s) {
        QVERIFY(s->SetActivePage(kSensorTab));
        CPageCapteur& page = bench.capteur;
        const QStringList shown = {TextOf(Field(page, kId)),  TextOf(Field(page, kChf)),
                                   TextOf(Field(page, kOft)), TextOf(Field(page, kP0)),
                                   TextOf(Field(page, kPrt)), TextOf(Field(page, kTyp))};
        QCOMPARE(shown, QStringList({"6", "255", "100", "60", "0", "3"}));
        QCOMPARE(TextOf(page.GetDlgItem(CSheetPage::kIdStatus)),
                 QStringLiteral("Pas de Configuration"));
        QVERIFY(Field(page, kId)->isEnabled());
        for (int id : {kChf, kP0, kTyp, kPrt, kOft}) {
            QVERIFY(!Field(page, id)->isEnabled());
        }
        Retour(s);
    });
    QCOMPARE(bench.Run(driver), 255);
    QVERIFY(driver.AllDone());
}

void TestPageCapteur::questionsBeforeSending_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<bool>("programmedBefore");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<QStringList>("questions");
    QTest::addColumn<bool>("sent");
    QTest::addColumn<int>("idAfter");
    const int yes = QMessageBox::Yes;
    const int no = QMessageBox::No;
    QTest::newRow("repeater ID, No")
        << 3 << false << QList<int>{no} << QStringList{kNotSensor} << false << 3;
    QTest::newRow("last repeater ID, No")
        << 5 << false << QList<int>{no} << QStringList{kNotSensor} << false << 5;
    QTest::newRow("repeater ID, Yes")
        << 3 << false << QList<int>{yes} << QStringList{kNotSensor} << true << 4;
    QTest::newRow("repeater ID programmed, Yes then No")
        << 3 << true << QList<int>{yes, no} << QStringList{kNotSensor, kAlready} << false << 3;
    QTest::newRow("sensor ID programmed, Yes")
        << 8 << true << QList<int>{yes} << QStringList{kAlready} << true << 9;
    QTest::newRow("sensor ID, no question")
        << 8 << false << QList<int>{} << QStringList{} << true << 9;
}

void TestPageCapteur::questionsBeforeSending() {
    QFETCH(int, id);
    QFETCH(bool, programmedBefore);
    QFETCH(QList<int>, answers);
    QFETCH(QStringList, questions);
    QFETCH(bool, sent);
    QFETCH(int, idAfter);
    CSimProcess sim;
    QVERIFY(StartSim(sim, "sensor"));
    CSheetBench bench;
    bench.Open(5, sim.PortNumber());
    CBeepCounter beeps;
    CEditorDriver driver;
    driver.Act<CMyPropSheet>([&](CMyPropSheet* s) {
        QVERIFY(s->SetActivePage(kSensorTab));
        TypeInto(Field(bench.capteur, kId), QString::number(id));
        if (programmedBefore) {
            s->IdTable[id] = id;
        }
        Apply(s);
    });
    for (int answer : answers) {
        driver.Answer(static_cast<QMessageBox::StandardButton>(answer));
    }
    driver.Act<CMyPropSheet>(Retour);
    QCOMPARE(bench.Run(driver), 255);
    QVERIFY(driver.AllDone());
    QStringList asked;
    for (const SeenBox& box : driver.Boxes()) {
        asked << box.text;
        QCOMPARE(box.caption, QStringLiteral("ZU7305"));
        QCOMPARE(box.icon, QMessageBox::NoIcon);
    }
    QCOMPARE(asked, questions);
    QCOMPARE(beeps.Count(), 0u);
    QCOMPARE(sim.ReceivedLines(), sent ? Lines({SensorDefaultFrame(id), "u"}) : Lines());
    QCOMPARE(bench.capteur.ID, idAfter);
    QCOMPARE(bench.capteur.StatusText.startsWith("LC7305rx"), sent);
    if (!sent) {
        QCOMPARE(bench.capteur.StatusText, QStringLiteral("\r\n Pas de configuration."));
    }
}

void TestPageCapteur::idProgrammedOnTheRepeaterTabIsAskedAbout() {
    CSimProcess sim;
    QVERIFY(StartSim(sim, "any"));
    CSheetBench bench;
    bench.Open(5, sim.PortNumber());
    CEditorDriver driver;
    driver
        .Act<CMyPropSheet>([&](CMyPropSheet* s) {
            TypeInto(Field(bench.repe, kId), "7");
            Apply(s);
        })
        .Answer(QMessageBox::Yes)
        .Act<CMyPropSheet>([&](CMyPropSheet* s) {
            QVERIFY(s->SetActivePage(kSensorTab));
            TypeInto(Field(bench.capteur, kId), "7");
            Apply(s);
        })
        .Answer(QMessageBox::No)
        .Act<CMyPropSheet>(Retour);
    QCOMPARE(bench.Run(driver), 255);
    QVERIFY(driver.AllDone());
    QCOMPARE(driver.Boxes().size(), size_t{2});
    QCOMPARE(BoxText(driver, 1), kAlready);
    QCOMPARE(sim.ReceivedLines(), Lines({"u007255601004100", "u"}));
}

void TestPageCapteur::lastIdStaysAt240() {
    CSimProcess sim;
    QVERIFY(StartSim(sim, "sensor"));
    CSheetBench bench;
    bench.Open(5, sim.PortNumber());
    CEditorDriver driver;
    driver
        .Act<CMyPropSheet>([&](CMyPropSheet* s) {
            QVERIFY(s->SetActivePage(kSensorTab));
            TypeInto(Field(bench.capteur, kId), "240");
            Apply(s);
            QCOMPARE(TextOf(Field(bench.capteur, kId)), QStringLiteral("240"));
            Apply(s);
        })
        .Answer(QMessageBox::No)
        .Act<CMyPropSheet>(Retour);
    QCOMPARE(bench.Run(driver), 255);
    QVERIFY(driver.AllDone());
    QCOMPARE(BoxText(driver, 0), kAlready);
    QCOMPARE(sim.ReceivedLines(), Lines({SensorDefaultFrame(240), "u"}));
}

void TestPageCapteur::enterSendsWithoutQuestionsAndMovesOn() {
    CSimProcess sim;
    QVERIFY(StartSim(sim, "sensor"));
    CSheetBench bench;
    bench.Open(5, sim.PortNumber());
    CEditorDriver driver;
    driver.Act<CMyPropSheet>([&](CMyPropSheet* s) {
        QVERIFY(s->SetActivePage(kSensorTab));
        TypeInto(Field(bench.capteur, kId), "3");
        s->IdTable[3] = 3;
        PressKey(Field(bench.capteur, kOft), Qt::Key_Return);
        QCOMPARE(TextOf(Field(bench.capteur, kId)), QStringLiteral("4"));
        PressKey(Field(bench.capteur, kId), Qt::Key_Escape);
        QVERIFY(s->isVisible());
        Retour(s);
    });
    QCOMPARE(bench.Run(driver), 255);
    QVERIFY(driver.AllDone());
    QVERIFY(driver.Boxes().empty());
    QCOMPARE(sim.ReceivedLines(), Lines({SensorDefaultFrame(3), "u"}));
}

void TestPageCapteur::countOf240LeavesOnlyEnter() {
    CSimProcess sim;
    QVERIFY(StartSim(sim, "sensor"));
    CSheetBench bench;
    bench.Open(240, sim.PortNumber());
    CEditorDriver driver;
    driver
        .Act<CMyPropSheet>([&](CMyPropSheet* s) {
            QVERIFY(s->SetActivePage(kSensorTab));
            QCOMPARE(TextOf(Field(bench.capteur, kId)), QStringLiteral("241"));
            Apply(s);
        })
        .Answer(QMessageBox::Ok)
        .Act<CMyPropSheet>([&](CMyPropSheet* s) {
            PressKey(Field(bench.capteur, kId), Qt::Key_Return);
            QCOMPARE(TextOf(Field(bench.capteur, kId)), QStringLiteral("241"));
            Retour(s);
        });
    QCOMPARE(bench.Run(driver), 255);
    QVERIFY(driver.AllDone());
    QCOMPARE(BoxText(driver, 0), QStringLiteral("Tapez un nombre entier compris entre 1 et 240."));
    QCOMPARE(sim.ReceivedLines(), Lines({SensorDefaultFrame(241), "u"}));
}

void TestPageCapteur::pageObjectCarriesOverButTheIdRestarts() {
    CSimProcess sim;
    QVERIFY(StartSim(sim, "sensor"));
    CSheetBench bench;
    bench.Open(5, sim.PortNumber());
    CEditorDriver first;
    first.Act<CMyPropSheet>([&](CMyPropSheet* s) {
        QVERIFY(s->SetActivePage(kSensorTab));
        TypeInto(Field(bench.capteur, kChf), "7");
        TypeInto(Field(bench.capteur, kId), "9");
        Apply(s);
        QVERIFY(s->SetActivePage(0));
        QVERIFY(s->SetActivePage(kSensorTab));
        QCOMPARE(TextOf(Field(bench.capteur, kId)), QStringLiteral("10"));
        Retour(s);
    });
    QCOMPARE(bench.Run(first), 255);

    bench.Open(5, sim.PortNumber());
    CEditorDriver second;
    second.Act<CMyPropSheet>([&](CMyPropSheet* s) {
        QVERIFY(s->SetActivePage(kSensorTab));
        QCOMPARE(TextOf(Field(bench.capteur, kId)), QStringLiteral("6"));
        QCOMPARE(TextOf(Field(bench.capteur, kChf)), QStringLiteral("7"));
        Apply(s);  // ID 9 was programmed in the first opening only: no question
        Retour(s);
    });
    QCOMPARE(bench.Run(second), 255);
    QVERIFY(second.AllDone());
    QVERIFY(second.Boxes().empty());
    QCOMPARE(sim.ReceivedLines(), Lines({"u009007603000100", "u", "u006007603000100", "u"}));
}

void TestPageCapteur::idBeyondTheTableIsNeverRecorded() {
    // A count out of range gives the page an ID no frame can carry: Enter is refused by the
    // send, and IdTable is not touched.
    CSimProcess sim;
    QVERIFY(StartSim(sim, "sensor"));
    CSheetBench bench;
    bench.Open(255, sim.PortNumber());
    CEditorDriver driver;
    driver
        .Act<CMyPropSheet>([&](CMyPropSheet* s) {
            QVERIFY(s->SetActivePage(kSensorTab));
            QCOMPARE(bench.capteur.ID, 256);
            PressKey(Field(bench.capteur, kId), Qt::Key_Return);
        })
        .Answer(QMessageBox::Ok)
        .Act<CMyPropSheet>([&](CMyPropSheet* s) {
            QVERIFY(std::all_of(s->IdTable.begin(), s->IdTable.end(),
                                [](int32_t v) { return v == -1; }));
            QVERIFY(!s->IsIdAssigned(256));
            Retour(s);
        });
    QCOMPARE(bench.Run(driver), 255);
    QVERIFY(driver.AllDone());
    QCOMPARE(BoxText(driver, 0), QString::fromUtf8("Echec d'émission de la configuration."));
    QCOMPARE(bench.capteur.ID, 256);
    QVERIFY(sim.ReceivedLines().empty());
}

void TestPageCapteur::silentDeviceStillRecordsAndMovesOn() {
    CSimProcess sim;
    QVERIFY(StartSim(sim, "sensor", {"--silent"}));
    CSheetBench bench;
    bench.clock.SetStep(16000);
    bench.Open(5, sim.PortNumber());
    CEditorDriver driver;
    driver
        .Act<CMyPropSheet>([](CMyPropSheet* s) {
            QVERIFY(s->SetActivePage(kSensorTab));
            Apply(s);
        })
        .Answer(QMessageBox::Ok)
        .Act<CMyPropSheet>([&](CMyPropSheet* s) {
            QCOMPARE(bench.capteur.StatusText, QString::fromUtf8("\r\nConfiguration non reçue"));
            QCOMPARE(s->IdTable[6], 6);
            QCOMPARE(TextOf(Field(bench.capteur, kId)), QStringLiteral("7"));
            Retour(s);
        });
    QCOMPARE(bench.Run(driver), 255);
    QVERIFY(driver.AllDone());
    QCOMPARE(BoxText(driver, 0), QStringLiteral("Echec de la configuration."));
}

ZAV_TEST_CLASS(TestPageCapteur);
#include "tst_page_capteur.moc"

// A sensor that answers after 3 s, and what the technician does meanwhile: a second press of
// what starts a send is lost (the device in hand is programmed once, under its own ID);
// anything else acts once the exchange is over.
void TestPageCapteur::onePressOneExchange_data() {
    QTest::addColumn<QString>("during");
    QTest::addColumn<bool>("retourActs");
    QTest::newRow("second click on Emettre") << "Emettre" << false;
    QTest::newRow("Enter in the ID field") << "Enter" << false;
    QTest::newRow("Retour") << "Retour" << true;
}

void TestPageCapteur::onePressOneExchange() {
    QFETCH(QString, during);
    QFETCH(bool, retourActs);
    CSimProcess sim;
    QVERIFY(StartSim(sim, "sensor", {"--delay", "1000"}));
    CSheetBench bench;
    bench.Open(5, sim.PortNumber());
    bench.sheet->clock = &CSystemClock::Instance();
    const int recordsBefore = JournalLineCount();
    CInputDuringWait input;
    bool startsShownUnavailable = false;
    bool endedByRetour = true;
    CEditorDriver driver;
    driver
        .Act<CMyPropSheet>([&](CMyPropSheet* s) {
            QVERIFY(s->SetActivePage(kSensorTab));
            QPushButton* emettre = s->GetButton(CPropertySheet::kIdApply);
            if (during == "Emettre") {
                input.Click(emettre);
            } else if (during == "Enter") {
                Field(bench.capteur, kId)->setFocus();
                input.Key(Field(bench.capteur, kId), Qt::Key_Return);
            } else {
                input.Click(s->GetButton(CMyPropSheet::kIdRetour));
            }
            input.Look([&] { startsShownUnavailable = !emettre->isEnabled(); });
            input.Arm();
            emettre->click();
            QVERIFY(input.Given());
        })
        .Act<CMyPropSheet>([&](CMyPropSheet* s) {
            endedByRetour = false;
            Retour(s);
        });
    QCOMPARE(bench.Run(driver), 255);
    QCOMPARE(sim.ReceivedLines(), Lines({SensorDefaultFrame(6), "u"}));
    QCOMPARE(JournalLineCount() - recordsBefore, 1);
    QCOMPARE(bench.capteur.ID, 7);
    QCOMPARE(endedByRetour, retourActs);
    QVERIFY(startsShownUnavailable);
}

// The ID field has moved on once the verdict shows: a send to do again names its ID.
void TestPageCapteur::verdictNamesTheIdToRedo_data() {
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<bool>("portExists");
    QTest::addColumn<QString>("verdict");
    QTest::newRow("verified") << QStringList() << true
                              << QString::fromUtf8("✔ Configuration vérifiée");
    QTest::newRow("CHF read back different")
        << QStringList{"--report-change", "chf"} << true
        << QString::fromUtf8("✖ ID 6 à reprendre : CHF envoyé 255, lu 000");
    QTest::newRow("no report") << QStringList{"--silent"} << true
                               << QString::fromUtf8("✖ ID 6 à reprendre");
    QTest::newRow("port failure") << QStringList() << false
                                  << QString::fromUtf8("✖ ID 6 à reprendre");
}

void TestPageCapteur::verdictNamesTheIdToRedo() {
    QFETCH(QStringList, simArgs);
    QFETCH(bool, portExists);
    QFETCH(QString, verdict);
    std::vector<std::string> args;
    for (const QString& arg : simArgs) {
        args.push_back(arg.toStdString());
    }
    CSimProcess sim;
    QVERIFY(StartSim(sim, "sensor", args));
    CSheetBench bench;
    bench.clock.SetStep(simArgs.contains("--silent") ? 16000 : 1000);
    bench.Open(5, portExists ? sim.PortNumber() : 999);
    const bool box = simArgs.contains("--silent") || !portExists;
    CEditorDriver driver;
    driver.Act<CMyPropSheet>([](CMyPropSheet* s) {
        QVERIFY(s->SetActivePage(kSensorTab));
        Apply(s);
    });
    if (box) {
        driver.Answer(QMessageBox::Ok);
    }
    driver.Act<CMyPropSheet>([&](CMyPropSheet* s) {
        QCOMPARE(TextOf(bench.capteur.GetDlgItem(VerdictDisplay::kIdVerdict)), verdict);
        QCOMPARE(TextOf(Field(bench.capteur, kId)), QStringLiteral("7"));
        Retour(s);
    });
    QCOMPARE(bench.Run(driver), 255);
    QVERIFY(driver.AllDone());
}
