#include <QRadioButton>
#include <QtTest>

#include "EditorTestSupport.h"

namespace {

constexpr int kRadioP0 = 1005;
constexpr int kFieldP0 = 1012;

using Lines = std::vector<std::string>;

// The keyed lines of a report about a device programmed with the page defaults.
QString KeyedLines(const char* id, const char* chf, const char* oft, const char* p0,
                   const char* prt, const char* typ) {
    return QString::asprintf("ID = %s\r\nCHF= %s\r\nOFT= %s\r\nP0 = %s\r\nPRT= %s\r\nTYP= %s\r\n",
                             id, chf, oft, p0, prt, typ);
}

}  // namespace

// A technician walks a small network: three repeaters, two sensors and one modem parameter,
// each device plugged in after the previous one was programmed.
class TestNetworkWalk : public QObject {
    Q_OBJECT
private slots:
    void walkThroughASmallNetwork_data();
    void walkThroughASmallNetwork();
};

void TestNetworkWalk::walkThroughASmallNetwork_data() {
    QTest::addColumn<QStringList>("reportForm");
    QTest::newRow("compact reports") << QStringList();
    QTest::newRow("spaced reports") << QStringList({"--spaced"});
}

void TestNetworkWalk::walkThroughASmallNetwork() {
    QFETCH(QStringList, reportForm);
    std::vector<std::string> args = {"--stream"};
    for (const QString& arg : reportForm) {
        args.push_back(arg.toStdString());
    }
    CSimProcess sim;
    QVERIFY(StartSim(sim, "any", args));
    CSheetBench bench;
    bench.Open(3, sim.PortNumber());
    QStringList repeaterReports;
    QStringList sensorReports;
    CEditorDriver driver;
    driver.Act<CMyPropSheet>([&](CMyPropSheet* s) {
        for (int i = 0; i < 3; ++i) {
            Apply(s);
            repeaterReports << bench.repe.StatusText;
        }
        QVERIFY(s->SetActivePage(1));
        for (int i = 0; i < 2; ++i) {
            Apply(s);
            sensorReports << bench.capteur.StatusText;
        }
        QVERIFY(s->SetActivePage(2));
        QTest::mouseClick(bench.modem->Item<QRadioButton>(kRadioP0), Qt::LeftButton);
        TypeInto(Field(*bench.modem, kFieldP0), "20");
        Apply(s);
        Retour(s);
    });
    QCOMPARE(bench.Run(driver), 255);
    QVERIFY(driver.AllDone());
    QVERIFY(driver.Boxes().empty());

    QCOMPARE(sim.ReceivedLines(),
             Lines({"u001255601004100", "u", "u002255601004100", "u", "u003255601004100", "u",
                    "u004255603000100", "u", "u005255603000100", "u", "p 020", "v"}));
    const char* repeaterIds[] = {"001", "002", "003"};
    for (int i = 0; i < 3; ++i) {
        QVERIFY(repeaterReports[i].startsWith("TM7305rx\r\n"));
        QVERIFY2(repeaterReports[i].endsWith(
                     KeyedLines(repeaterIds[i], "255", "100", "060", "004", "100")),
                 qPrintable(repeaterReports[i]));
    }
    const char* sensorIds[] = {"004", "005"};
    for (int i = 0; i < 2; ++i) {
        QVERIFY2(
            sensorReports[i].endsWith(KeyedLines(sensorIds[i], "255", "100", "060", "000", "300")),
            qPrintable(sensorReports[i]));
    }
    QVERIFY(bench.modem->StatusText.startsWith("US7305rx\r\n"));
    QVERIFY(bench.modem->StatusText.contains("P0 = 020\r\n"));
    QCOMPARE(bench.sheet->IdTable[1], 1);
    QCOMPARE(bench.sheet->IdTable[3], 3);
    QCOMPARE(bench.sheet->IdTable[5], 5);
    QCOMPARE(bench.sheet->IdTable[6], -1);
    QCOMPARE(bench.sheet->IdTable[255], 3);
    QCOMPARE(bench.repe.ID, 3);
    QCOMPARE(bench.capteur.ID, 6);
}

ZAV_EDITORS_TEST_MAIN(TestNetworkWalk)
#include "tst_network_walk.moc"
