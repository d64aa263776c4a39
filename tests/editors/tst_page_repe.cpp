#include <QTest>

#include <QLabel>
#include <QPushButton>

#include "CBeepCounter.h"
#include "CSystemClock.h"
#include "EditorTestSupport.h"
#include "EditorTexts.h"
#include "VerdictDisplay.h"
#include "WaitCancelButton.h"

namespace {

const QString kNotRepeater =
    QString::fromUtf8("Cet ID n'est pas un ID de répéteur.\nVoulez-vous le programmer ?");

// The frame of the repeater page's default values for one ID.
std::string RepeaterDefaultFrame(int id) {
    return QString::asprintf("u%03d255601004100", id).toStdString();
}

}  // namespace

class TestPageRepe : public QObject {
    Q_OBJECT
private slots:
    void firstOpening_data();
    void firstOpening();
    void emettreWalksTheRepeaterIds();
    void questionsBeforeSending_data();
    void questionsBeforeSending();
    void enterRefusesTheSameRepeaterTwice();
    void enterSendsBeyondTheCountWithoutAsking();
    void enterAfterARefusedValueSendsTheLastValidOne();
    void laterOpeningsForgetWhatWasProgrammed();
    void silentDeviceStillRecordsTheId();
    void endedWaitIsASilentDevice_data();
    void endedWaitIsASilentDevice();
    void writeFailureMovesOnWithoutRecording();
    void emptyTypeSendsNothingTruncated();
};

void TestPageRepe::firstOpening_data() {
    QTest::addColumn<uint8_t>("isClient");
    QTest::newRow("administrator") << uint8_t{0};
    QTest::newRow("client") << uint8_t{1};
}

void TestPageRepe::firstOpening() {
    QFETCH(uint8_t, isClient);
    CSimProcess sim;
    QVERIFY(StartSim(sim, "repeater"));
    CSheetBench bench;
    bench.Open(3, sim.PortNumber(), isClient);
    CEditorDriver driver;
    driver.Act<CMyPropSheet>([&bench, isClient](CMyPropSheet* s) {
        CPageRepe& page = bench.repe;
        const QStringList shown = {TextOf(Field(page, kId)),  TextOf(Field(page, kChf)),
                                   TextOf(Field(page, kOft)), TextOf(Field(page, kP0)),
                                   TextOf(Field(page, kPrt)), TextOf(Field(page, kTyp))};
        QCOMPARE(shown, QStringList({"1", "255", "100", "60", "4", "1"}));
        QCOMPARE(TextOf(page.GetDlgItem(CSheetPage::kIdStatus)),
                 QStringLiteral("Pas de configuration"));
        QVERIFY(Field(page, kId)->isEnabled());
        for (int id : {kChf, kP0, kTyp, kPrt, kOft}) {
            QCOMPARE(Field(page, id)->isEnabled(), isClient != 1);
        }
        QCOMPARE(Field(page, kTyp)->maxLength(), 1);
        TypeInto(Field(page, kId), "2");
        Apply(s);
        Retour(s);
    });
    QCOMPARE(bench.Run(driver), 255);
    QVERIFY(driver.AllDone());
    QCOMPARE(sim.ReceivedLines(), Lines({RepeaterDefaultFrame(2), "u"}));
}

void TestPageRepe::emettreWalksTheRepeaterIds() {
    CSimProcess sim;
    QVERIFY(StartSim(sim, "repeater"));
    CSheetBench bench;
    bench.Open(3, sim.PortNumber());
    CBeepCounter beeps;
    QStringList fieldAfter;
    CEditorDriver driver;
    driver
        .Act<CMyPropSheet>([&](CMyPropSheet* s) {
            for (int i = 0; i < 3; ++i) {
                Apply(s);
                fieldAfter << TextOf(Field(bench.repe, kId));
            }
            QCOMPARE(s->IdTable[255], 3);
            QCOMPARE(TextOf(bench.repe.GetDlgItem(1030)),
                     QString::fromUtf8("✔ Configuration vérifiée"));
            Apply(s);
        })
        .Answer(QMessageBox::No)
        .Act<CMyPropSheet>(Retour);
    QCOMPARE(bench.Run(driver), 255);
    QVERIFY(driver.AllDone());
    QCOMPARE(fieldAfter, QStringList({"2", "3", "3"}));
    QCOMPARE(sim.ReceivedLines(), Lines({RepeaterDefaultFrame(1), "u", RepeaterDefaultFrame(2), "u",
                                         RepeaterDefaultFrame(3), "u"}));
    QCOMPARE(beeps.Count(), 4u);
    QCOMPARE(driver.Boxes().size(), size_t{1});
    const SeenBox& box = driver.Boxes()[0];
    QCOMPARE(box.text, kAlready);
    QCOMPARE(box.caption, QStringLiteral("ZU7305"));
    QCOMPARE(box.icon, QMessageBox::NoIcon);
    QCOMPARE(box.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(box.defaultButton, QMessageBox::Yes);
    QCOMPARE(bench.repe.StatusText, kRefused);
    QCOMPARE(bench.repe.ID, 3);
}

void TestPageRepe::questionsBeforeSending_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("id");
    QTest::addColumn<bool>("programmedBefore");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<QStringList>("questions");
    QTest::addColumn<bool>("sent");
    QTest::addColumn<int>("idAfter");
    const int yes = QMessageBox::Yes;
    const int no = QMessageBox::No;
    QTest::newRow("beyond the count, No")
        << 3 << 5 << false << QList<int>{no} << QStringList{kNotRepeater} << false << 5;
    QTest::newRow("beyond the count, Yes")
        << 3 << 5 << false << QList<int>{yes} << QStringList{kNotRepeater} << true << 5;
    QTest::newRow("beyond and programmed, Yes then No")
        << 3 << 5 << true << QList<int>{yes, no} << QStringList{kNotRepeater, kAlready} << false
        << 5;
    QTest::newRow("beyond and programmed, Yes twice")
        << 3 << 5 << true << QList<int>{yes, yes} << QStringList{kNotRepeater, kAlready} << true
        << 5;
    QTest::newRow("programmed before, No")
        << 3 << 2 << true << QList<int>{no} << QStringList{kAlready} << false << 2;
    QTest::newRow("programmed before, Yes")
        << 3 << 2 << true << QList<int>{yes} << QStringList{kAlready} << true << 3;
    QTest::newRow("count 0 asks for every ID")
        << 0 << 1 << false << QList<int>{yes} << QStringList{kNotRepeater} << true << 1;
}

void TestPageRepe::questionsBeforeSending() {
    QFETCH(int, count);
    QFETCH(int, id);
    QFETCH(bool, programmedBefore);
    QFETCH(QList<int>, answers);
    QFETCH(QStringList, questions);
    QFETCH(bool, sent);
    QFETCH(int, idAfter);
    CSimProcess sim;
    QVERIFY(StartSim(sim, "repeater"));
    CSheetBench bench;
    bench.Open(count, sim.PortNumber());
    CEditorDriver driver;
    driver.Act<CMyPropSheet>([&](CMyPropSheet* s) {
        TypeInto(Field(bench.repe, kId), QString::number(id));
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
    }
    QCOMPARE(asked, questions);
    QCOMPARE(sim.ReceivedLines(), sent ? Lines({RepeaterDefaultFrame(id), "u"}) : Lines());
    QCOMPARE(bench.repe.ID, idAfter);
    if (!sent) {
        QCOMPARE(bench.repe.StatusText, kRefused);
    }
}

void TestPageRepe::enterRefusesTheSameRepeaterTwice() {
    CSimProcess sim;
    QVERIFY(StartSim(sim, "repeater"));
    CSheetBench bench;
    bench.Open(3, sim.PortNumber());
    QStringList fieldAfter;
    CEditorDriver driver;
    driver
        .Act<CMyPropSheet>([&](CMyPropSheet* s) {
            Apply(s);
            TypeInto(Field(bench.repe, kId), "1");  // the repeater just sent, typed back
            PressKey(Field(bench.repe, kId), Qt::Key_Return);
        })
        .Answer(QMessageBox::Ok)
        .Act<CMyPropSheet>([&](CMyPropSheet* s) {
            fieldAfter << TextOf(Field(bench.repe, kId));
            TypeInto(Field(bench.repe, kId), "3");
            Apply(s);
            PressKey(Field(bench.repe, kChf), Qt::Key_Enter);
        })
        .Answer(QMessageBox::Ok)
        .Act<CMyPropSheet>([&](CMyPropSheet* s) {
            fieldAfter << TextOf(Field(bench.repe, kId));
            Retour(s);
        });
    QCOMPARE(bench.Run(driver), 255);
    QVERIFY(driver.AllDone());
    QCOMPARE(fieldAfter, QStringList({"2", "3"}));
    for (size_t i = 0; i < 2; ++i) {
        QCOMPARE(BoxText(driver, i), QStringLiteral("Impossible emettre 2 fois"));
        QCOMPARE(driver.Boxes()[i].caption, QStringLiteral("Zav7305"));
    }
    QCOMPARE(bench.repe.StatusText, QStringLiteral("\r\n Emettre au cours ..."));
    QCOMPARE(sim.ReceivedLines(),
             Lines({RepeaterDefaultFrame(1), "u", RepeaterDefaultFrame(3), "u"}));
}

void TestPageRepe::enterSendsBeyondTheCountWithoutAsking() {
    CSimProcess sim;
    QVERIFY(StartSim(sim, "repeater"));
    CSheetBench bench;
    bench.Open(3, sim.PortNumber());
    CBeepCounter beeps;
    CEditorDriver driver;
    driver.Act<CMyPropSheet>([&](CMyPropSheet* s) {
        TypeInto(Field(bench.repe, kId), "5");
        s->IdTable[5] = 5;
        PressKey(Field(bench.repe, kId), Qt::Key_Return);
        QVERIFY(s->isVisible());
        QCOMPARE(s->IdTable[255], 5);
        Retour(s);
    });
    QCOMPARE(bench.Run(driver), 255);
    QVERIFY(driver.AllDone());
    QVERIFY(driver.Boxes().empty());
    QCOMPARE(beeps.Count(), 0u);
    QCOMPARE(sim.ReceivedLines(), Lines({RepeaterDefaultFrame(5), "u"}));
    QCOMPARE(bench.repe.ID, 5);
}

void TestPageRepe::enterAfterARefusedValueSendsTheLastValidOne() {
    CSimProcess sim;
    QVERIFY(StartSim(sim, "repeater"));
    CSheetBench bench;
    bench.Open(3, sim.PortNumber());
    CEditorDriver driver;
    driver
        .Act<CMyPropSheet>([&](CMyPropSheet*) {
            TypeInto(Field(bench.repe, kChf), "300");
            PressKey(Field(bench.repe, kChf), Qt::Key_Return);
        })
        .Answer(QMessageBox::Ok)
        .Act<CMyPropSheet>([&](CMyPropSheet* s) {
            QCOMPARE(TextOf(Field(bench.repe, kChf)), QStringLiteral("30"));
            Retour(s);
        });
    QCOMPARE(bench.Run(driver), 255);
    QVERIFY(driver.AllDone());
    QCOMPARE(BoxText(driver, 0), QStringLiteral("Tapez un nombre entier compris entre 0 et 255."));
    QCOMPARE(sim.ReceivedLines(), Lines({"u001030601004100", "u"}));
}

void TestPageRepe::laterOpeningsForgetWhatWasProgrammed() {
    CSimProcess sim;
    QVERIFY(StartSim(sim, "repeater"));
    CSheetBench bench;
    bench.Open(3, sim.PortNumber());
    CEditorDriver first;
    first.Act<CMyPropSheet>([&](CMyPropSheet* s) {
        Apply(s);
        Apply(s);
        PressKey(Field(bench.repe, kId), Qt::Key_Return);
        Retour(s);
    });
    QCOMPARE(bench.Run(first), 255);
    QVERIFY(first.Boxes().empty());

    // Same page object: the field goes on from 3, ID 3 is neither "already programmed" nor
    // a repeat for Enter.
    bench.Open(3, sim.PortNumber());
    CEditorDriver second;
    second
        .Act<CMyPropSheet>([&](CMyPropSheet* s) {
            QCOMPARE(TextOf(Field(bench.repe, kId)), QStringLiteral("3"));
            PressKey(Field(bench.repe, kId), Qt::Key_Return);
            Apply(s);
        })
        .Answer(QMessageBox::No)
        .Act<CMyPropSheet>(Retour);
    QCOMPARE(bench.Run(second), 255);
    QCOMPARE(BoxText(second, 0), kAlready);

    // A lower count makes the ID the field still shows a non-repeater one.
    bench.Open(2, sim.PortNumber());
    CEditorDriver third;
    third.Act<CMyPropSheet>([](CMyPropSheet* s) { Apply(s); })
        .Answer(QMessageBox::No)
        .Act<CMyPropSheet>(Retour);
    QCOMPARE(bench.Run(third), 255);
    QVERIFY(third.AllDone());
    QCOMPARE(BoxText(third, 0), kNotRepeater);
    QCOMPARE(sim.ReceivedLines(),
             Lines({RepeaterDefaultFrame(1), "u", RepeaterDefaultFrame(2), "u",
                    RepeaterDefaultFrame(3), "u", RepeaterDefaultFrame(3), "u"}));
}

void TestPageRepe::silentDeviceStillRecordsTheId() {
    CSimProcess sim;
    QVERIFY(StartSim(sim, "repeater", {"--silent"}));
    CSheetBench bench;
    bench.clock.SetStep(16000);
    bench.Open(3, sim.PortNumber());
    CEditorDriver driver;
    driver.Act<CMyPropSheet>([](CMyPropSheet* s) { Apply(s); })
        .Answer(QMessageBox::Ok)
        .Act<CMyPropSheet>([&](CMyPropSheet* s) {
            QCOMPARE(bench.repe.StatusText, QString::fromUtf8("\r\n Configuration non reçue"));
            QCOMPARE(s->IdTable[1], 1);
            QCOMPARE(TextOf(Field(bench.repe, kId)), QStringLiteral("2"));
            TypeInto(Field(bench.repe, kId), "1");
            Apply(s);
        })
        .Answer(QMessageBox::No)
        .Act<CMyPropSheet>(Retour);
    QCOMPARE(bench.Run(driver), 255);
    QVERIFY(driver.AllDone());
    QCOMPARE(BoxText(driver, 0), QStringLiteral("Echec de la configuration."));
    QCOMPARE(BoxText(driver, 1), kAlready);
}

// A silent device's wait ended 1 s in, by Escape or by "Annuler": what its deadline would
// have given, at once, and the journal says the wait was ended.
void TestPageRepe::endedWaitIsASilentDevice_data() {
    QTest::addColumn<bool>("escape");
    QTest::newRow("Escape") << true;
    QTest::newRow("Annuler") << false;
}

void TestPageRepe::endedWaitIsASilentDevice() {
    QFETCH(bool, escape);
    CSimProcess sim;
    QVERIFY(StartSim(sim, "repeater", {"--silent"}));
    CSheetBench bench;
    bench.Open(3, sim.PortNumber());
    bench.sheet->clock = &CSystemClock::Instance();
    CInputDuringWait input;
    CFirstBoxShown box;
    QLabel* verdict = nullptr;
    const auto findAnnuler = [&]() -> QWidget* { return WaitCancelButton::Of(verdict); };
    CEditorDriver driver;
    driver
        .Act<CMyPropSheet>([&](CMyPropSheet* s) {
            verdict = bench.repe.Item<QLabel>(VerdictDisplay::kIdVerdict);
            if (escape) {
                input.Key(Field(bench.repe, kId), Qt::Key_Escape);
            } else {
                input.Click(findAnnuler);
            }
            input.Arm(1000);
            Apply(s);
            QVERIFY(input.Given());
        })
        .Answer(QMessageBox::Ok)
        .Act<CMyPropSheet>([&](CMyPropSheet* s) {
            QCOMPARE(bench.repe.StatusText, QString::fromUtf8("\r\n Configuration non reçue"));
            QCOMPARE(s->IdTable[1], 1);
            QCOMPARE(TextOf(Field(bench.repe, kId)), QStringLiteral("2"));
            Retour(s);
        });
    QCOMPARE(bench.Run(driver), 255);
    QVERIFY(driver.AllDone());
    QCOMPARE(BoxText(driver, 0), QStringLiteral("Echec de la configuration."));
    const int64_t endedMs = BoxAfterInputMs(box, input);
    QVERIFY2(endedMs >= 0 && endedMs < 500, qPrintable(QString::number(endedMs)));
    QVERIFY(LastJournalLine().contains(
        QString::fromUtf8("\"Echec de la configuration. (attente annulée)\"")));
    QCOMPARE(sim.ReceivedLines(), Lines({RepeaterDefaultFrame(1), "u"}));
    if (!escape) {
        QPushButton* annuler = WaitCancelButton::Of(verdict);
        QVERIFY(annuler != nullptr);
        QCOMPARE(annuler->accessibleName(), QString::fromUtf8(EditorTexts::kCancelWait));
        QCOMPARE(annuler->focusPolicy(), Qt::NoFocus);
        QVERIFY(!annuler->isVisible());
    }
}

void TestPageRepe::writeFailureMovesOnWithoutRecording() {
    CSheetBench bench;
    bench.Open(3, 999);  // nothing is announced under this number
    CEditorDriver driver;
    driver.Act<CMyPropSheet>([](CMyPropSheet* s) { Apply(s); })
        .Answer(QMessageBox::Ok)
        .Act<CMyPropSheet>([&](CMyPropSheet* s) {
            QCOMPARE(bench.repe.StatusText, QStringLiteral("\r\n Emission en cours ..."));
            QCOMPARE(s->IdTable[1], -1);
            QCOMPARE(s->IdTable[255], 1);
            QCOMPARE(bench.repe.ID, 2);
            Retour(s);
        });
    QCOMPARE(bench.Run(driver), 255);
    QVERIFY(driver.AllDone());
    QCOMPARE(BoxText(driver, 0), QString::fromUtf8("Echec d'émission de la configuration."));
}

void TestPageRepe::emptyTypeSendsNothingTruncated() {
    CSimProcess sim;
    QVERIFY(StartSim(sim, "repeater"));
    CSheetBench bench;
    bench.Open(3, sim.PortNumber());
    CEditorDriver driver;
    driver
        .Act<CMyPropSheet>([&](CMyPropSheet* s) {
            TypeInto(Field(bench.repe, kTyp), "");
            Apply(s);
        })
        .Answer(QMessageBox::Ok)
        .Act<CMyPropSheet>([&](CMyPropSheet* s) {
            TypeInto(Field(bench.repe, kTyp), "1");
            Apply(s);
            Retour(s);
        });
    QCOMPARE(bench.Run(driver), 255);
    QVERIFY(driver.AllDone());
    QCOMPARE(BoxText(driver, 0), QString::fromUtf8("Echec d'émission de la configuration."));
    QCOMPARE(sim.ReceivedLines(), Lines({RepeaterDefaultFrame(2), "u"}));
}

ZAV_TEST_CLASS(TestPageRepe);
#include "tst_page_repe.moc"
