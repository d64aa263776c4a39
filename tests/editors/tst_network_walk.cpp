#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QAbstractButton>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <array>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "CFileDescriptor.h"
#include "CLastNetworkName.h"
#include "CNetworkMapView.h"
#include "CPlanImport.h"
#include "CPlanStore.h"
#include "CSheetNetwork.h"
#include "CSheetPlan.h"
#include "EditorTestSupport.h"
#include "FileStatus.h"
#include "PlanReader.h"

namespace {

// The keyed lines of a report about a device programmed with the page defaults.
QString KeyedLines(const char* id, const char* chf, const char* oft, const char* p0,
                   const char* prt, const char* typ) {
    return QString::asprintf("ID = %s\r\nCHF= %s\r\nOFT= %s\r\nP0 = %s\r\nPRT= %s\r\nTYP= %s\r\n",
                             id, chf, oft, p0, prt, typ);
}

// Every cell of the map as a screen reader names it.
QStringList CellNames(const CNetworkMapView& view) {
    QStringList names;
    for (int32_t id = 1; id <= CNetworkMapView::kLastId; ++id) {
        names << view.DeviceCell(id)->accessibleName();
    }
    for (int32_t param = 1; param <= 6; ++param) {
        names << view.ModemCell(param)->accessibleName();
    }
    return names;
}

// A send the command line journaled on the same network: the frame went out, nothing came back.
void JournalCommandLineSend(const QString& network, int32_t id) {
    ExchangeRecord record;
    record.kind = ExchangeKind::SendConfig;
    record.sentConfig = ParameterSet{id, 255, 60, "1", 4, 100};
    record.command = QString::asprintf("u%03d255601004100", id).toStdString();
    record.bytesSent = record.command + "\nu\n";
    record.message = "Echec de la configuration.";
    CJournal journal(CJournal::DefaultFolder());
    QCOMPARE(
        journal.Append({"Administateur", "ligne de commande", "COM950", network.toStdString(), 3},
                       record),
        int(JOURNAL_OK));
}

}  // namespace

// A technician walks a small network: three repeaters, two sensors and one modem parameter,
// each device plugged in after the previous one was programmed.
class TestNetworkWalk : public QObject {
    Q_OBJECT
private slots:
    void walkThroughASmallNetwork_data();
    void walkThroughASmallNetwork();
    void mapOfTheWalkSurvivesARestart();
    void walkBySitePlan_data();
    void walkBySitePlan();
    void planImportFromTheSheet_data();
    void planImportFromTheSheet();
    void sixDevicePlanFromImportToAcceptance();
    void lastNetworkIsKeptInTheStateFolder_data();
    void lastNetworkIsKeptInTheStateFolder();
    void sheetOpensBesideHostileDayFiles_data();
    void sheetOpensBesideHostileDayFiles();
    void recordOfAnotherMachineShowsWithoutAClick();
    void stateFileIsNeverAWayElsewhere_data();
    void stateFileIsNeverAWayElsewhere();
    void renamingANetworkWithRecordsAsks_data();
    void renamingANetworkWithRecordsAsks();
    void mapReadsAtAGlance();
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
    // Whatever network an earlier test left, with a plan perhaps: this walk is of none.
    QVERIFY(bench.lastNetwork.Save(QString()));
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

// Three repeaters verified, a sensor that reports another CHF and a silent one; then the
// sheet is built again from nothing but the journal folder and the state folder.
void TestNetworkWalk::mapOfTheWalkSurvivesARestart() {
    CSimProcess good;
    CSimProcess changed;
    CSimProcess silent;
    QVERIFY(StartSim(good, "any", {"--stream"}));
    QVERIFY(StartSim(changed, "sensor", {"--report-change", "chf"}));
    QVERIFY(StartSim(silent, "sensor", {"--silent"}));
    // Earlier runs of this test journaled other walks: each run names a network of its own.
    const QString network =
        QStringLiteral("Station Nord %1").arg(QDateTime::currentMSecsSinceEpoch());
    QStringList walked;
    QString summary;
    {
        CSheetBench bench;
        // Naming an unnamed network asks nothing, whatever an earlier run left.
        QVERIFY(bench.lastNetwork.Save(QString()));
        bench.Open(3, good.PortNumber());
        CEditorDriver driver;
        driver
            .Act<CMyPropSheet>([&](CMyPropSheet* s) {
                TypeInto(bench.network->NameField(), network);
                PressKey(bench.network->NameField(), Qt::Key_Return);
                for (int i = 0; i < 3; ++i) {
                    Apply(s);
                }
                QVERIFY(s->SetActivePage(1));
                s->portNumber = changed.PortNumber();
                Apply(s);
                s->portNumber = silent.PortNumber();
                // The 15-second wait for a report, passed at once.
                bench.clock.SetStep(16000);
                Apply(s);
            })
            .Answer(QMessageBox::Ok)
            .Act<CMyPropSheet>([&](CMyPropSheet* s) {
                const CNetworkMapView& view = *bench.network->View();
                const std::pair<int32_t, const char*> cells[] = {
                    {1, "ID 1 : vérifiée"},
                    {3, "ID 3 : vérifiée"},
                    {4, "ID 4 : CHF envoyé 255, lu 000"},
                    {5, "ID 5 : envoyée, sans réponse"},
                    {6, "ID 6 : non programmée"},
                };
                for (const auto& [id, name] : cells) {
                    QCOMPARE(view.DeviceCell(id)->accessibleName(), QString::fromUtf8(name));
                }
                QCOMPARE(view.SummaryShown(),
                         QString::fromUtf8(
                             "Répéteurs 3/3 vérifiés · Capteurs 0/237 vérifiés, 2 à reprendre"));
                QVERIFY(!view.DeviceCell(6)->accessibleDescription().isEmpty());
                QVERIFY(view.DeviceCell(5)->accessibleDescription().isEmpty());
                view.DeviceCell(4)->click();
                QVERIFY2(view.RecordShown().contains("u004255603000100") &&
                             view.RecordShown().contains("CHF envoyé 255, lu 000"),
                         qPrintable(view.RecordShown()));
                walked = CellNames(view);
                summary = view.SummaryShown();
                Retour(s);
            });
        QCOMPARE(bench.Run(driver), 255);
        QVERIFY(driver.AllDone());
        // Enter in the name field named the network and sent nothing.
        QCOMPARE(good.ReceivedLines().size(), size_t{6});
    }

    CSheetBench restarted;
    restarted.Open(3, good.PortNumber());
    QTemporaryDir reports;
    const QString reportPath = reports.filePath(QStringLiteral("rapport.html"));
    restarted.network->SetPathChooser([&](QWidget*, const QString&) { return reportPath; });
    CEditorDriver driver;
    driver.Act<CMyPropSheet>([&](CMyPropSheet* s) {
        const CNetworkMapView& view = *restarted.network->View();
        QCOMPARE(restarted.network->NameField()->text(), network);
        QCOMPARE(CellNames(view), walked);
        QCOMPARE(view.SummaryShown(), summary);
        // The sheet picks up what the command line journals meanwhile.
        JournalCommandLineSend(network, 7);
        QVERIFY(s->SetActivePage(1));
        QCOMPARE(view.DeviceCell(7)->accessibleName(),
                 QString::fromUtf8("ID 7 : envoyée, sans réponse"));
        restarted.network->ReportButton()->click();
        Retour(s);
    });
    // The report asks who signs it, offering no name the first time.
    QString offered = QStringLiteral("?");
    driver.Act<QInputDialog>([&](QInputDialog* ask) {
        offered = ask->textValue();
        ask->setTextValue(QStringLiteral("  Jeanne Martin "));
        ask->accept();
    });
    driver.Answer(QMessageBox::Ok);
    QCOMPARE(restarted.Run(driver), 255);
    QVERIFY(driver.AllDone());
    QCOMPARE(offered, QString());
    QVERIFY2(BoxText(driver, 0).endsWith(reportPath), qPrintable(BoxText(driver, 0)));
    QFile report(reportPath);
    QVERIFY(report.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(report.readAll());
    QVERIFY(html.contains(network));
    QVERIFY2(html.contains(QString::fromUtf8("<li>Technicien : Jeanne Martin</li>")),
             qPrintable(html.left(2000)));
}

namespace {

// Two repeaters and two sensors with a gap before them, and the modem; each planned CHF is
// its own, so that a page on the wrong device shows.
QByteArray SitePlanFile(const QString& network, const char* separator) {
    QByteArray text = QByteArrayLiteral("\xEF\xBB\xBF# plan du test\n");
    const QStringList lines = {
        "réseau;" + network,
        "client;Régie des eaux",
        "répéteurs;3",
        "",
        "ID;Rôle;Désignation;Emplacement;CHF;OFT;P0;PRT;TYP",
        "1;répéteur;Relais toit;Toiture;12;100;60;0;3",
        "2;répéteur;Relais galerie;;13;100;60;0;3",
        "5;capteur;Pompe 5;Local pompes;14;100;30;1;P",
        "6;capteur;Niveau 6;Bâche;15;100;30;1;N",
        "0;modem;Modem;Armoire;16;100;20;0;255",
    };
    for (const QString& line : lines) {
        text += QString(line).replace(QLatin1Char(';'), QLatin1String(separator)).toUtf8() + '\n';
    }
    return text;
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

void TestNetworkWalk::walkBySitePlan_data() {
    QTest::addColumn<QString>("separator");
    QTest::newRow("semicolons") << ";";
    QTest::newRow("commas") << ",";
}

// The administrator imports a plan from the sheet and walks it: the fields take each planned
// device's values, "Suivant à faire" and the map choose the ID, a value changed by hand shows
// as a difference from the plan, the map holds only the planned cells, with their labels.
void TestNetworkWalk::walkBySitePlan() {
    QFETCH(QString, separator);
    CSimProcess sim;
    QVERIFY(StartSim(sim, "any", {"--stream"}));
    const QString network =
        QStringLiteral("Station Plan %1").arg(QDateTime::currentMSecsSinceEpoch());
    QTemporaryDir dir;
    const QString planPath = dir.filePath(QStringLiteral("plan.csv"));
    QVERIFY(WriteFile(planPath, SitePlanFile(network, separator.toUtf8().constData())));
    CSheetBench bench;
    QVERIFY(bench.lastNetwork.Save(network + QStringLiteral(" sans plan")));
    bench.Open(3, sim.PortNumber());
    CEditorDriver driver;
    driver.Act<CMyPropSheet>([&](CMyPropSheet* s) {
        CSheetPlan& plan = bench.network->SheetPlan();
        const CNetworkMapView& view = *bench.network->View();
        // Another network, without a plan, before the import: nothing of a plan shows.
        QVERIFY(plan.NextButton()->isHidden());
        QVERIFY(plan.LineShown().isEmpty());
        QCOMPARE(view.SummaryShown(), QString::fromUtf8("Répéteurs 0/3 vérifiés · Capteurs 0/237 "
                                                        "vérifiés"));
        bench.network->PlanImport().SetFileChooser([&](QWidget*) { return planPath; });
        bench.network->PlanImport().Button()->click();
        QCOMPARE(bench.network->NameField()->text(), network);
        QVERIFY(!plan.NextButton()->isHidden());
        QCOMPARE(view.SummaryShown(),
                 QString::fromUtf8("Répéteurs 0/2 conformes · Capteurs 0/2 conformes · "
                                   "Modem 0/6 conformes"));
        QVERIFY(plan.WarningShown().isEmpty());
        // The repeater page on ID 1, then moved on by each send.
        QCOMPARE(bench.repe.ID, 1);
        QCOMPARE(TextOf(Field(bench.repe, kChf)), QStringLiteral("12"));
        QCOMPARE(plan.LineShown(),
                 QString::fromUtf8("Valeurs du plan pour l'ID 1 : Relais toit, Toiture"));
        Apply(s);
        QCOMPARE(bench.repe.ID, 2);
        QCOMPARE(TextOf(Field(bench.repe, kChf)), QStringLiteral("13"));
        QCOMPARE(plan.LineShown(),
                 QString::fromUtf8("Valeurs du plan pour l'ID 2 : Relais galerie"));
        Apply(s);
        QCOMPARE(bench.repe.ID, 3);
        QCOMPARE(plan.LineShown(), QString::fromUtf8("ID 3 hors plan : valeurs tapées à la main"));
        QVERIFY(view.DeviceCell(3)->isHidden());
        // Sent though not planned: its cell stands apart from the planned ones.
        Apply(s);
        QVERIFY(!view.DeviceCell(3)->isHidden());
        QCOMPARE(view.DeviceCell(3)->accessibleName(), QString::fromUtf8("ID 3 : hors plan"));
        // The sensor page starts on ID 4, which the plan leaves out.
        QVERIFY(s->SetActivePage(1));
        QCOMPARE(bench.capteur.ID, 4);
        plan.NextButton()->click();
        QCOMPARE(bench.capteur.ID, 5);
        QCOMPARE(TextOf(Field(bench.capteur, kChf)), QStringLiteral("14"));
        QCOMPARE(TextOf(Field(bench.capteur, kTyp)), QStringLiteral("P"));
        Apply(s);
        QCOMPARE(bench.capteur.ID, 6);
        QCOMPARE(TextOf(Field(bench.capteur, kChf)), QStringLiteral("15"));
        view.DeviceCell(1)->click();
        QCOMPARE(bench.capteur.ID, 1);
        QTest::keyClick(s, Qt::Key_F3);
        QCOMPARE(bench.capteur.ID, 6);
        // The administrator may still change a planned value; it stays until the ID moves.
        TypeInto(Field(bench.capteur, kChf), QStringLiteral("99"));
        QCOMPARE(bench.capteur.CHF, 99);
        Apply(s);
        const std::pair<int32_t, const char*> cells[] = {
            {1, "ID 1 Relais toit : conforme au plan"},
            {2, "ID 2 Relais galerie : conforme au plan"},
            {5, "ID 5 Pompe 5 : conforme au plan"},
            {6, "ID 6 Niveau 6 : différente du plan"},
        };
        for (const auto& [id, name] : cells) {
            QCOMPARE(view.DeviceCell(id)->accessibleName(), QString::fromUtf8(name));
            QCOMPARE(view.DeviceCell(id)->toolTip(), QString::fromUtf8(name));
            QVERIFY(!view.DeviceCell(id)->isHidden());
        }
        for (int32_t id : {4, 7, 240}) {
            QVERIFY2(view.DeviceCell(id)->isHidden(), qPrintable(QString::number(id)));
        }
        QCOMPARE(view.SummaryShown(),
                 QString::fromUtf8("Répéteurs 2/2 conformes · Capteurs 1/2 conformes · "
                                   "Modem 0/6 conformes"));
        plan.NextButton()->click();
        QCOMPARE(bench.capteur.ID, 6);
        // The modem page shows the plan's value of the parameter chosen.
        QVERIFY(s->SetActivePage(2));
        QTest::mouseClick(bench.modem->Item<QRadioButton>(kRadioP0), Qt::LeftButton);
        QCOMPARE(TextOf(Field(*bench.modem, kFieldP0)), QStringLiteral("20"));
        QCOMPARE(plan.LineShown(), QString::fromUtf8("Valeur du plan pour le modem : P0 = 20 "
                                                     "(Modem, Armoire)"));
        Retour(s);
    });
    QCOMPARE(bench.Run(driver), 255);
    QVERIFY(driver.AllDone());
    QVERIFY(driver.Boxes().empty());
    QCOMPARE(sim.ReceivedLines(),
             Lines({"u001012603000100", "u", "u002013603000100", "u", "u003013603000100", "u",
                    "u00501430P001100", "u", "u00609930N001100", "u"}));
}

void TestNetworkWalk::planImportFromTheSheet_data() {
    QTest::addColumn<QStringList>("rows");  // the plan's device rows
    QTest::addColumn<int>("repeaters");     // the plan's repeater count
    QTest::addColumn<bool>("client");
    QTest::addColumn<QStringList>("boxSays");  // empty: no box
    QTest::addColumn<bool>("kept");
    QTest::addColumn<QString>("warning");
    const QStringList good = {"1;répéteur;Relais;;12;100;60;0;3", "4;capteur;Pompe;;14;100;30;1;P"};
    QTest::newRow("a good plan") << good << 3 << false << QStringList() << true << QString();
    QTest::newRow("every bad row named, nothing kept")
        << QStringList({"300;capteur;;;12;100;60;0;3", "2;capteur;;;12;100;60;0;3",
                        "4;capteur;;;12;100;999;0;3"})
        << 3 << false
        << QStringList(
               {"Plan refusé, rien n'en est gardé :", "ligne 4 : ", "ligne 5 : ", "ligne 6 : P0"})
        << false << QString();
    QTest::newRow("a client may not import")
        << good << 3 << true
        << QStringList({"L'import d'un plan demande le rôle d'administrateur."}) << false
        << QString();
    QTest::newRow("repeater count other than the plan's")
        << good << 2 << false << QStringList() << true
        << QString::fromUtf8("le plan prévoit 2 répéteur(s), la configuration en annonce 3");
}

void TestNetworkWalk::planImportFromTheSheet() {
    QFETCH(QStringList, rows);
    QFETCH(int, repeaters);
    QFETCH(bool, client);
    QFETCH(QStringList, boxSays);
    QFETCH(bool, kept);
    QFETCH(QString, warning);
    const QString network =
        QStringLiteral("Station Import %1").arg(QDateTime::currentMSecsSinceEpoch());
    QTemporaryDir dir;
    const QString planPath = dir.filePath(QStringLiteral("plan.csv"));
    const QStringList head = {"réseau;" + network, "répéteurs;" + QString::number(repeaters),
                              "id;rôle;désignation;emplacement;CHF;OFT;P0;PRT;TYP"};
    QVERIFY(WriteFile(planPath, (head + rows).join(QLatin1Char('\n')).toUtf8() + '\n'));
    CSheetBench bench;
    QVERIFY(bench.lastNetwork.Save(network + QStringLiteral(" avant")));
    bench.Open(3, 950, client ? 1 : 0);
    CEditorDriver driver;
    driver.Act<CMyPropSheet>([&](CMyPropSheet* s) {
        CPlanImport& import = bench.network->PlanImport();
        QCOMPARE(import.Button()->isEnabled(), !client);
        import.SetFileChooser([&](QWidget*) { return planPath;
    });
    import.Import();
    QCOMPARE(bench.network->NameField()->text() == network, kept);
    QCOMPARE(bench.network->Plan() != nullptr, kept);
    QVERIFY2(bench.network->SheetPlan().WarningShown().contains(warning),
             qPrintable(bench.network->SheetPlan().WarningShown()));
    QCOMPARE(bench.network->SheetPlan().WarningShown().isEmpty(), warning.isEmpty());
    Retour(s);
});
if (!boxSays.isEmpty()) {
    driver.Answer(QMessageBox::Ok);
}
QCOMPARE(bench.Run(driver), 255);
QVERIFY(driver.AllDone());
QCOMPARE(driver.Boxes().size(), size_t(boxSays.isEmpty() ? 0 : 1));
for (const QString& part : boxSays) {
    QVERIFY2(driver.Boxes().front().text.contains(part), qPrintable(driver.Boxes().front().text));
}
SitePlan stored;
const int loaded = CPlanStore(CPlanStore::FolderBeside(CJournal::DefaultFolder()))
                       .Load(network.toStdString(), stored);
QCOMPARE(loaded, kept ? int(FILE_OK) : ENOENT);
}

namespace {

// One planned device as its plan row writes it, and the page field of each value.
struct SiteRow {
    int32_t id;
    const char* role;
    const char* label;
    const char* location;
    std::array<const char*, 5> values;  // CHF, OFT, P0, PRT, TYP
};
constexpr std::array<int, 5> kRowFields = {1006, 1013, 1010, 1012, 1011};
// The modem page's choice of each parameter and its field, in the order of the plan's row:
// ID, CHF, OFT, P0, PRT, TYP.
constexpr std::array<std::pair<int, int>, 6> kModemChoices = {
    {{1003, 1010}, {1004, 1011}, {1008, 1015}, {1005, 1012}, {1006, 1013}, {1007, 1014}}};

// Two repeaters, three sensors and the modem, each with values of its own.
const std::array<SiteRow, 6> kSiteRows = {{
    {1, "répéteur", "Relais toit", "Toiture", {"12", "100", "60", "0", "3"}},
    {2, "répéteur", "Relais galerie", "Galerie", {"13", "101", "61", "0", "3"}},
    {3, "capteur", "Pompe 3", "Local pompes", {"14", "102", "30", "1", "P"}},
    {4, "capteur", "Niveau 4", "Bâche", {"15", "103", "31", "1", "N"}},
    {5, "capteur", "Débit 5", "Sortie", {"16", "104", "32", "2", "D"}},
    {7, "modem", "Modem du poste", "Armoire", {"17", "105", "20", "0", "255"}},
}};

QByteArray SixDevicePlan(const QString& network) {
    QStringList lines = {"réseau;" + network,
                         "client;Régie des eaux",
                         "site;Station Les Saules",
                         "adresse;12 rue du Moulin 69000 Lyon",
                         "répéteurs;2",
                         "id;rôle;désignation;emplacement;CHF;OFT;P0;PRT;TYP"};
    for (const SiteRow& row : kSiteRows) {
        QStringList fields = {QString::number(row.id), QString::fromUtf8(row.role),
                              QString::fromUtf8(row.label), QString::fromUtf8(row.location)};
        for (const char* value : row.values) {
            fields << QString::fromUtf8(value);
        }
        lines << fields.join(QLatin1Char(';'));
    }
    return lines.join(QLatin1Char('\n')).toUtf8() + '\n';
}

// The page's five value fields against the plan's row; empty when they all agree.
QString FieldsAgainst(CPropertyPage& page, const SiteRow& row) {
    QString differences;
    for (size_t k = 0; k < kRowFields.size(); ++k) {
        const QString shown = TextOf(Field(page, kRowFields[k]));
        if (shown != QString::fromUtf8(row.values[k])) {
            differences += QStringLiteral("ID %1 field %2 shows '%3', planned '%4'; ")
                               .arg(row.id)
                               .arg(kRowFields[k])
                               .arg(shown, QString::fromUtf8(row.values[k]));
        }
    }
    return differences;
}

// A PDF's text as pdftotext gives it; empty when it cannot be read.
QString PdfText(const QString& path) {
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    if (!pdftotext.waitForFinished(30000) || pdftotext.exitCode() != 0) {
        return {};
    }
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

// The text between two headings of the report.
QString Section(const QString& text, const QString& from, const QString& to) {
    const qsizetype start = text.indexOf(from);
    const qsizetype end = text.indexOf(to, start);
    return start < 0 || end < 0 ? QString() : text.mid(start, end - start);
}

}  // namespace

// A site of six planned devices walked from the plan's import to its acceptance report: a
// sensor reads back another value and another stays silent, both redone; the report says so
// and the network as built imports again as the plan itself.
void TestNetworkWalk::sixDevicePlanFromImportToAcceptance() {
    CSimProcess good;
    CSimProcess changed;
    CSimProcess silent;
    CSimProcess modem;
    QVERIFY(StartSim(good, "any", {"--stream"}));
    QVERIFY(StartSim(changed, "sensor", {"--report-change", "chf"}));
    QVERIFY(StartSim(silent, "sensor", {"--silent"}));
    QVERIFY(StartSim(modem, "modem"));
    const QString network =
        QStringLiteral("Station Saules %1").arg(QDateTime::currentMSecsSinceEpoch());
    QTemporaryDir dir;
    const QString planPath = dir.filePath(QStringLiteral("plan.csv"));
    const QString reportPath = dir.filePath(QStringLiteral("rapport.pdf"));
    const QString builtPath = dir.filePath(QStringLiteral("construit.csv"));
    QVERIFY(WriteFile(planPath, SixDevicePlan(network)));
    CSheetBench bench;
    QVERIFY(bench.lastNetwork.Save(QString()));
    // The silent device's wait for a report, a few ticks of the bench's clock.
    bench.timing.configDeadlineMs = 3000;
    bench.Open(2, good.PortNumber());
    bench.network->PlanImport().SetFileChooser([&](QWidget*) { return planPath; });
    bench.network->SetPathChooser([&](QWidget*, const QString&) { return reportPath; });
    bench.network->SetAsBuiltPathChooser([&](QWidget*, const QString&) { return builtPath; });
    bench.network->SetTechnicianAsker([](QWidget*, const QString&) {
        return std::optional<QString>(QStringLiteral("Jeanne Martin"));
    });
    const auto cellNamed = [&](int32_t id) {
        return bench.network->View()->DeviceCell(id)->accessibleName();
    };
    const auto summary = [&] { return bench.network->View()->SummaryShown(); };
    // A box gone, the window manager gives the sheet back the keyboard; offscreen, nobody does.
    const auto backToTheSheet = [](CMyPropSheet* s) {
        s->activateWindow();
        QTRY_VERIFY(s->isActiveWindow());
    };
    // The page on a planned ID: its fields and the line beside them are the plan's.
    const auto showsRow = [&](CPropertyPage& page, int32_t id, const SiteRow& row) {
        QCOMPARE(id, row.id);
        QVERIFY2(FieldsAgainst(page, row).isEmpty(), qPrintable(FieldsAgainst(page, row)));
        QCOMPARE(bench.network->SheetPlan().LineShown(),
                 QString::fromUtf8("Valeurs du plan pour l'ID %1 : %2, %3")
                     .arg(row.id)
                     .arg(QString::fromUtf8(row.label), QString::fromUtf8(row.location)));
    };
    CEditorDriver driver;
    driver
        .Act<CMyPropSheet>([&](CMyPropSheet* s) {
            bench.network->PlanImport().Button()->click();
            QCOMPARE(bench.network->NameField()->text(), network);
            QVERIFY(bench.network->SheetPlan().WarningShown().isEmpty());
            QCOMPARE(summary(), QString::fromUtf8("Répéteurs 0/2 conformes · Capteurs 0/3 "
                                                  "conformes · Modem 0/6 conformes"));
            for (const SiteRow& row : {kSiteRows[0], kSiteRows[1]}) {
                showsRow(bench.repe, bench.repe.ID, row);
                Apply(s);
            }
            QVERIFY(s->SetActivePage(1));
            showsRow(bench.capteur, bench.capteur.ID, kSiteRows[2]);
            s->portNumber = changed.PortNumber();
            Apply(s);
            showsRow(bench.capteur, bench.capteur.ID, kSiteRows[3]);
            s->portNumber = silent.PortNumber();
            Apply(s);
        })
        .Answer(QMessageBox::Ok)
        .Act<CMyPropSheet>([&](CMyPropSheet* s) {
            QCOMPARE(cellNamed(1), QString::fromUtf8("ID 1 Relais toit : conforme au plan"));
            QCOMPARE(cellNamed(3),
                     QString::fromUtf8("ID 3 Pompe 3 : valeurs lues différentes de l'envoi"));
            QCOMPARE(cellNamed(4), QString::fromUtf8("ID 4 Niveau 4 : envoyée, sans réponse"));
            QCOMPARE(cellNamed(5), QString::fromUtf8("ID 5 Débit 5 : à faire"));
            QCOMPARE(summary(), QString::fromUtf8("Répéteurs 2/2 conformes · Capteurs 0/3 "
                                                  "conformes · Modem 0/6 conformes"));
            // The page moved on to 5; the first sensor not yet conforme is the one that read
            // back another CHF.
            QCOMPARE(bench.capteur.ID, 5);
            backToTheSheet(s);
            QTest::keyClick(s, Qt::Key_F3);
            showsRow(bench.capteur, bench.capteur.ID, kSiteRows[2]);
            s->portNumber = good.PortNumber();
            Apply(s);
        })
        .Answer(QMessageBox::Yes)
        .Act<CMyPropSheet>([&](CMyPropSheet* s) {
            QCOMPARE(cellNamed(3), QString::fromUtf8("ID 3 Pompe 3 : conforme au plan"));
            // The device never done first, from its cell; then the silent one.
            bench.network->View()->DeviceCell(5)->click();
            showsRow(bench.capteur, bench.capteur.ID, kSiteRows[4]);
            Apply(s);
            QCOMPARE(bench.capteur.ID, 6);
            bench.network->SheetPlan().NextButton()->click();
            showsRow(bench.capteur, bench.capteur.ID, kSiteRows[3]);
            Apply(s);
        })
        .Answer(QMessageBox::Yes)
        .Act<CMyPropSheet>([&](CMyPropSheet* s) {
            QCOMPARE(cellNamed(4), QString::fromUtf8("ID 4 Niveau 4 : conforme au plan"));
            QCOMPARE(summary(), QString::fromUtf8("Répéteurs 2/2 conformes · Capteurs 3/3 "
                                                  "conformes · Modem 0/6 conformes"));
            backToTheSheet(s);
            QTest::keyClick(s, Qt::Key_F3);
            QCOMPARE(bench.capteur.ID, 5);
            QCOMPARE(bench.network->SheetPlan().LineShown(),
                     QString::fromUtf8("Tous les appareils du plan de cet onglet sont conformes."));
            // The modem: each parameter chosen shows the plan's value, sent as it stands.
            QVERIFY(s->SetActivePage(2));
            s->portNumber = modem.PortNumber();
            const SiteRow& planned = kSiteRows[5];
            for (size_t k = 0; k < kModemChoices.size(); ++k) {
                const auto [radio, field] = kModemChoices[k];
                QTest::mouseClick(bench.modem->Item<QRadioButton>(radio), Qt::LeftButton);
                QCOMPARE(TextOf(Field(*bench.modem, field)),
                         k == 0 ? QString::number(planned.id)
                                : QString::fromUtf8(planned.values[k - 1]));
                Apply(s);
                QCOMPARE(summary(), QString::fromUtf8("Répéteurs 2/2 conformes · Capteurs 3/3 "
                                                      "conformes · Modem %1/6 conformes")
                                        .arg(k + 1));
            }
            for (const SiteRow& row : kSiteRows) {
                if (row.id != planned.id) {
                    QCOMPARE(cellNamed(row.id), QStringLiteral("ID %1 %2 : conforme au plan")
                                                    .arg(row.id)
                                                    .arg(QString::fromUtf8(row.label)));
                }
            }
            bench.network->ReportButton()->click();
        })
        .Answer(QMessageBox::Ok)
        .Act<CMyPropSheet>([&](CMyPropSheet*) { bench.network->AsBuiltButton()->click(); })
        .Answer(QMessageBox::Ok)
        .Act<CMyPropSheet>([&](CMyPropSheet* s) { Retour(s); });
    QCOMPARE(bench.Run(driver), 255);
    QVERIFY(driver.AllDone());
    // Both redone devices asked first, as any ID already given does.
    const QString already = QString::fromUtf8("ID déjà attribué.\nVoulez-vous le reprogrammer ?");
    QCOMPARE(driver.Boxes().size(), size_t{5});
    QCOMPARE(BoxText(driver, 1), already);
    QCOMPARE(BoxText(driver, 2), already);
    QVERIFY2(BoxText(driver, 3).endsWith(reportPath), qPrintable(BoxText(driver, 3)));

    // Words as the reader reads them, whatever the cells' line breaks.
    const QString report = PdfText(reportPath).simplified();
    for (const char* fact :
         {"Client : Régie des eaux", "Site : Station Les Saules",
          "Adresse : 12 rue du Moulin 69000 Lyon", "Technicien : Jeanne Martin",
          "Premier échange : ", "Dernier échange : ",
          "Verdict d'ensemble : Conforme avec réserves (2)", "Réserves : 3, 4"}) {
        QVERIFY2(report.contains(QString::fromUtf8(fact)), fact);
    }
    QVERIFY2(report.contains(QStringLiteral("Réseau : ") + network), qPrintable(report.left(600)));
    const QString rows = Section(report, QString::fromUtf8("Détail par appareil du plan"),
                                 QStringLiteral("Historique des incidents"));
    for (const SiteRow& row : kSiteRows) {
        // The modem's row is one per parameter.
        const bool modemRow = row.id == kSiteRows[5].id;
        QVERIFY2(rows.count(QString::fromUtf8(row.label)) == (modemRow ? 6 : 1), row.label);
        QVERIFY2(rows.contains(QString::fromUtf8(row.location)), row.location);
    }
    for (const char* name : {"ID", "CHF", "OFT", "P0", "PRT", "TYP"}) {
        QVERIFY2(rows.contains(QStringLiteral("Modem ") + name), name);
    }
    QCOMPARE(rows.count(QStringLiteral("conforme au plan")), 11);
    const QString incidents =
        Section(report, QStringLiteral("Historique des incidents"), QStringLiteral("Signatures"));
    for (const char* incident :
         {"ID 3 ≠ CHF envoyé 014, lu 015 repris le ", "ID 4 ? envoyée, sans réponse repris le "}) {
        QVERIFY2(incidents.contains(QString::fromUtf8(incident)), qPrintable(incidents));
    }
    QCOMPARE(incidents.count(QStringLiteral("repris le")), 2);
    // The signature boxes come last but for the provenance, which may sit beside them in the
    // text of a page.
    const QString signatures = report.mid(report.indexOf(QStringLiteral("Signatures")));
    QVERIFY2(
        signatures.contains(QStringLiteral("Le technicien Jeanne Martin Date et signature")) &&
            signatures.contains(QString::fromUtf8("Le client Régie des eaux Date et signature")),
        qPrintable(signatures));

    QFile built(builtPath);
    QVERIFY(built.open(QIODevice::ReadOnly));
    const QByteArray builtText = built.readAll();
    const PlanReading again = PlanReader::Read(builtText.toStdString());
    const PlanReading planned = PlanReader::Read(SixDevicePlan(network).toStdString());
    QVERIFY(planned.plan.has_value());
    QVERIFY2(again.plan.has_value() && *again.plan == *planned.plan, builtText.constData());
}

void TestNetworkWalk::lastNetworkIsKeptInTheStateFolder_data() {
    QTest::addColumn<QByteArray>("stateHome");
    QTest::addColumn<QByteArray>("home");
    QTest::addColumn<QString>("file");
    QTest::newRow("the session's state folder")
        << QByteArray("/srv/state") << QByteArray("/home/t") << "/srv/state/zav7305/reseau";
    QTest::newRow("a relative state folder is not one")
        << QByteArray("state") << QByteArray("/home/t") << "/home/t/.local/state/zav7305/reseau";
    QTest::newRow("no state folder")
        << QByteArray() << QByteArray("/home/t") << "/home/t/.local/state/zav7305/reseau";
    QTest::newRow("nowhere to keep it") << QByteArray() << QByteArray() << QString();
}

void TestNetworkWalk::lastNetworkIsKeptInTheStateFolder() {
    QFETCH(QByteArray, stateHome);
    QFETCH(QByteArray, home);
    QFETCH(QString, file);
    const QByteArray savedState = qgetenv("XDG_STATE_HOME");
    const QByteArray savedHome = qgetenv("HOME");
    const auto set = [](const char* name, const QByteArray& value) {
        value.isEmpty() ? qunsetenv(name) : qputenv(name, value);
    };
    set("XDG_STATE_HOME", stateHome);
    set("HOME", home);
    const QString path = CLastNetworkName().FilePath();
    set("XDG_STATE_HOME", savedState);
    set("HOME", savedHome);
    QCOMPARE(path, file);
}

void TestNetworkWalk::sheetOpensBesideHostileDayFiles_data() {
    QTest::addColumn<QString>("hostile");
    QTest::addColumn<QString>("note");
    QTest::newRow("a sparse day file of 40 GB") << "sparse"
                                                << "1 ligne(s) du journal illisible(s)";
    QTest::newRow("a FIFO") << "fifo"
                            << "illisibles, laissés de côté : ";
    QTest::newRow("a link") << "link"
                            << "illisibles, laissés de côté : ";
}

// A day file of long ago, verified, beside one that no reader can take whole.
void TestNetworkWalk::sheetOpensBesideHostileDayFiles() {
    QFETCH(QString, hostile);
    QFETCH(QString, note);
    const QString network =
        QStringLiteral("Station Est %1").arg(QDateTime::currentMSecsSinceEpoch());
    const std::string folder = CJournal::DefaultFolder();
    const std::string good = folder + "/2001-01-01.csv";
    const std::string bad = folder + "/2001-01-02.csv";
    // Gone after the row, passed or not: the folder is the next rows' too.
    const std::unique_ptr<void, std::function<void(void*)>> removed(this, [&](void*) {
        ::unlink(bad.c_str());
        ::unlink(good.c_str());
    });
    QVERIFY(QDir().mkpath(QString::fromStdString(folder)));
    ExchangeRecord record;
    record.kind = ExchangeKind::SendConfig;
    record.sentConfig = ParameterSet{9, 255, 60, "1", 4, 100};
    record.command = "u009255601004100";
    record.bytesSent = record.command + "\nu\n";
    record.report = "TM010203V14009255100060004100\r\n";
    const JournalContext context{"Client", "Répéteur", "COM950", network.toStdString(), 3};
    const std::string text =
        JournalFormat::HeaderLine() + JournalFormat::RecordLine(context, record, {978339600, 0});
    {
        QFile file(QString::fromStdString(good));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text.data(), static_cast<qint64>(text.size()));
    }
    bool planted = false;
    if (hostile == "sparse") {
        QFile file(QString::fromStdString(bad));
        planted = file.open(QIODevice::WriteOnly) && file.write("\"x") == 2 &&
                  file.resize(qint64{40} << 30);
    } else if (hostile == "fifo") {
        planted = ::mkfifo(bad.c_str(), 0600) == 0;
    } else {
        planted = ::symlink(good.c_str(), bad.c_str()) == 0;
    }
    QVERIFY(planted);
    CSheetBench bench;
    QVERIFY(bench.lastNetwork.Save(QString()));
    bench.Open(3, 950);
    CEditorDriver driver;
    driver.Act<CMyPropSheet>([&](CMyPropSheet* s) {
        TypeInto(bench.network->NameField(), network);
        PressKey(bench.network->NameField(), Qt::Key_Return);
        const CNetworkMapView& view = *bench.network->View();
        QCOMPARE(view.DeviceCell(9)->accessibleName(), QString::fromUtf8("ID 9 : vérifiée"));
        QVERIFY2(view.NoteShown().contains(QString::fromUtf8(note.toUtf8())),
                 qPrintable(view.NoteShown()));
        Retour(s);
    });
    QCOMPARE(bench.Run(driver), 255);
    QVERIFY(driver.AllDone());
}

namespace {

// Sends of one machine to the IDs given, answered with the values sent or silent, one second
// apart from `first`; the journal's status.
int AppendSends(const std::string& folder, const std::string& machine, const QString& network,
                const std::vector<std::pair<int, bool>>& sends, time_t first) {
    const JournalContext context{"Client", "Répéteur", "COM951", network.toStdString(), 3};
    CJournal journal(folder, machine);
    int status = JOURNAL_OK;
    for (size_t i = 0; i < sends.size() && status == JOURNAL_OK; ++i) {
        const auto [id, answered] = sends[i];
        ExchangeRecord record;
        record.kind = ExchangeKind::SendConfig;
        record.command = QString::asprintf("u%03d255601004100", id).toStdString();
        record.bytesSent = record.command + "\nu\n";
        if (answered) {
            record.report =
                QString::asprintf("TM010203V14%03d255100060004100\r\n", id).toStdString();
        }
        status = journal.Append(context, record, {first + static_cast<time_t>(i), 0});
    }
    return status;
}

}  // namespace

// Another machine's record, written into the folder by another process while the sheet is
// open, reaches the map within 2 s with no input.
void TestNetworkWalk::recordOfAnotherMachineShowsWithoutAClick() {
    const QString network =
        QStringLiteral("Station Ouest %1").arg(QDateTime::currentMSecsSinceEpoch());
    const std::string folder = CJournal::DefaultFolder();
    QVERIFY(QDir().mkpath(QString::fromStdString(folder)));
    const std::string written = folder + "/" + JournalFormat::FileName({978339600, 0}, "autre", 1);
    const std::string lateFile =
        folder + "/" + JournalFormat::FileName({978339000, 0}, "tardif", 1);
    const std::unique_ptr<void, std::function<void(void*)>> removed(this, [&](void*) {
        ::unlink(written.c_str());
        ::unlink(lateFile.c_str());
    });
    CSheetBench bench;
    QVERIFY(bench.lastNetwork.Save(QString()));
    bench.Open(3, 951);
    CEditorDriver driver;
    driver.Act<CMyPropSheet>([&](CMyPropSheet* s) {
        TypeInto(bench.network->NameField(), network);
        PressKey(bench.network->NameField(), Qt::Key_Return);
        const CNetworkMapView& view = *bench.network->View();
        QCOMPARE(view.DeviceCell(11)->accessibleName(),
                 QString::fromUtf8("ID 11 : non programmée"));
        // The sheet's own look at the journal when it becomes active is over before the write.
        QTRY_VERIFY(s->isActiveWindow());
        QCoreApplication::processEvents();
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            ExchangeRecord record;
            record.kind = ExchangeKind::SendConfig;
            record.command = "u011255601004100";
            record.bytesSent = record.command + "\nu\n";
            record.report = "TM010203V14011255100060004100\r\n";
            const JournalContext context{"Client", "Répéteur", "COM951", network.toStdString(), 3};
            ::_exit(CJournal(folder, "autre").Append(context, record, {978339600, 0}));
        }
        int status = -1;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == JOURNAL_OK);
        QElapsedTimer shown;
        shown.start();
        QTRY_COMPARE_WITH_TIMEOUT(view.DeviceCell(11)->accessibleName(),
                                  QString::fromUtf8("ID 11 : vérifiée"), 2000);
        qInfo("shown after %lld ms", static_cast<long long>(shown.elapsed()));
        // A third machine's file synced late: its older send to ID 11 (silent) must not pass
        // for the latest; its send to ID 12 tells that it was taken.
        const pid_t late = ::fork();
        QVERIFY(late >= 0);
        if (late == 0) {
            ::_exit(AppendSends(folder, "tardif", network, {{11, false}, {12, true}}, 978339000));
        }
        QCOMPARE(::waitpid(late, &status, 0), late);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == JOURNAL_OK);
        QTRY_COMPARE_WITH_TIMEOUT(view.DeviceCell(12)->accessibleName(),
                                  QString::fromUtf8("ID 12 : vérifiée"), 2000);
        QCOMPARE(view.DeviceCell(11)->accessibleName(), QString::fromUtf8("ID 11 : vérifiée"));
        Retour(s);
    });
    QCOMPARE(bench.Run(driver), 255);
    QVERIFY(driver.AllDone());
}

// What stands at the state file's name: the name read from it, whether a new name is kept,
// and what the file elsewhere that it leads to holds afterwards.
void TestNetworkWalk::stateFileIsNeverAWayElsewhere_data() {
    QTest::addColumn<QString>("planted");  // "file", "fifo", "symlink" or "hardlink"
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("loaded");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QByteArray>("elsewhereAfter");
    const QByteArray longName(5000, 'N');
    QTest::newRow("a name with its line feed")
        << "file" << QByteArray("Station Nord\n") << "Station Nord" << true << QByteArray();
    QTest::newRow("a name saved without its final line feed")
        << "file" << QByteArray("Station Nord") << "Station Nord" << true << QByteArray();
    QTest::newRow("a name over 4096 bytes")
        << "file" << longName + '\n'
        << QString::fromLatin1(longName) << true << QByteArray();
    QTest::newRow("a FIFO is not read")
        << "fifo" << QByteArray("Piège\n") << "" << false << QByteArray();
    QTest::newRow("a symbolic link is neither read nor written through")
        << "symlink" << QByteArray("Cible\n") << "" << false << QByteArray("Cible\n");
    QTest::newRow("a hard link is not written through")
        << "hardlink" << QByteArray("Cible\n") << "Cible" << false << QByteArray("Cible\n");
}

void TestNetworkWalk::stateFileIsNeverAWayElsewhere() {
    QFETCH(QString, planted);
    QFETCH(QByteArray, content);
    QFETCH(QString, loaded);
    QFETCH(bool, saved);
    QFETCH(QByteArray, elsewhereAfter);
    QTemporaryDir dir;
    const QString state = dir.filePath(QStringLiteral("reseau"));
    const QString elsewhere = dir.filePath(QStringLiteral("ailleurs"));
    const auto write = [](const QString& path, const QByteArray& bytes) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
    // The FIFO is held open with a line in it: a reader that opens it gets the line, not a hang.
    CFileDescriptor fifo;
    if (planted == "file") {
        QVERIFY(write(state, content));
    } else if (planted == "fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(state).constData(), 0600), 0);
        fifo.Reset(::open(QFile::encodeName(state).constData(), O_RDWR | O_NONBLOCK));
        QVERIFY(fifo.IsValid());
        QCOMPARE(::write(fifo.Get(), content.constData(), content.size()), content.size());
    } else {
        QVERIFY(write(elsewhere, content));
        QVERIFY(planted == "symlink" ? QFile::link(elsewhere, state)
                                     : ::link(QFile::encodeName(elsewhere).constData(),
                                              QFile::encodeName(state).constData()) == 0);
    }
    const CLastNetworkName lastName(state);
    QCOMPARE(lastName.Load(), loaded);
    QCOMPARE(lastName.Save(QStringLiteral("Station Sud")), saved);
    if (saved) {
        QCOMPARE(lastName.Load(), QStringLiteral("Station Sud"));
    }
    if (!elsewhereAfter.isEmpty()) {
        QFile file(elsewhere);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), elsewhereAfter);
    }
}

// The network walked so far keeps its records whatever the answer; No keeps it on screen.
void TestNetworkWalk::renamingANetworkWithRecordsAsks_data() {
    QTest::addColumn<int>("answer");
    QTest::newRow("Oui starts the other network") << int(QMessageBox::Yes);
    QTest::newRow("Non keeps this one") << int(QMessageBox::No);
}

void TestNetworkWalk::renamingANetworkWithRecordsAsks() {
    QFETCH(int, answer);
    const bool leave = answer == QMessageBox::Yes;
    const QString stamp = QString::number(QDateTime::currentMSecsSinceEpoch());
    const QString walked = QStringLiteral("Station Ouest ") + stamp;
    const QString other = QStringLiteral("Station Centre ") + stamp;
    CSimProcess sim;
    QVERIFY(StartSim(sim, "any"));
    CSheetBench bench;
    QVERIFY(bench.lastNetwork.Save(QString()));
    bench.Open(3, sim.PortNumber());
    const QString verified = QString::fromUtf8("ID 1 : vérifiée");
    CEditorDriver driver;
    driver
        .Act<CMyPropSheet>([&](CMyPropSheet* s) {
            TypeInto(bench.network->NameField(), walked);
            PressKey(bench.network->NameField(), Qt::Key_Return);
            Apply(s);
            TypeInto(bench.network->NameField(), other);
            PressKey(bench.network->NameField(), Qt::Key_Return);
        })
        .Answer(QMessageBox::StandardButton(answer))
        .Act<CMyPropSheet>([&](CMyPropSheet* s) {
            const CNetworkMapView& view = *bench.network->View();
            QCOMPARE(bench.network->Name(), leave ? other : walked);
            QCOMPARE(bench.network->NameField()->text(), leave ? other : walked);
            QCOMPARE(view.DeviceCell(1)->accessibleName() == verified, !leave);
            // Back to the walked network: the new one has no records, nothing is asked.
            TypeInto(bench.network->NameField(), walked);
            PressKey(bench.network->NameField(), Qt::Key_Return);
            QCOMPARE(view.DeviceCell(1)->accessibleName(), verified);
            Retour(s);
        });
    QCOMPARE(bench.Run(driver), 255);
    QVERIFY(driver.AllDone());
    QCOMPARE(driver.Boxes().size(), size_t{1});
    QVERIFY2(BoxText(driver, 0).contains(walked) && BoxText(driver, 0).contains(other) &&
                 BoxText(driver, 0).contains(QString::fromUtf8("il les garde")),
             qPrintable(BoxText(driver, 0)));
    QCOMPARE(driver.Boxes()[0].buttons, QMessageBox::Yes | QMessageBox::No);
}

// One row of a cell's pixels inside its frame, above its text: the cell's colour alone.
QImage TopRow(QAbstractButton* cell) {
    const QImage image = cell->grab().toImage();
    return image.copy(4, 4, image.width() - 8, 1);
}

// States differ on screen by colour as well as by words; the modem's page brings its cells
// into view; the panel under the map follows the latest send until a cell is picked.
void TestNetworkWalk::mapReadsAtAGlance() {
    CSimProcess sim;
    QVERIFY(StartSim(sim, "any"));
    CSheetBench bench;
    QVERIFY(bench.lastNetwork.Save(QString()));
    bench.Open(3, sim.PortNumber());
    CEditorDriver driver;
    driver.Act<CMyPropSheet>([&](CMyPropSheet* s) {
        const CNetworkMapView& view = *bench.network->View();
        TypeInto(bench.network->NameField(),
                 QStringLiteral("Station Sud %1").arg(QDateTime::currentMSecsSinceEpoch()));
        PressKey(bench.network->NameField(), Qt::Key_Return);
        Apply(s);
        QCOMPARE(view.DeviceCell(1)->accessibleName(), QString::fromUtf8("ID 1 : vérifiée"));
        QCOMPARE(view.DeviceCell(200)->accessibleName(),
                 QString::fromUtf8("ID 200 : non programmée"));
        QVERIFY(TopRow(view.DeviceCell(1)) != TopRow(view.DeviceCell(200)));
        QVERIFY(TopRow(view.DeviceCell(3)) == TopRow(view.DeviceCell(200)));
        QVERIFY(view.ModemCell(1)->visibleRegion().isEmpty());
        QVERIFY(s->SetActivePage(2));
        QVERIFY(!view.ModemCell(1)->visibleRegion().isEmpty());
        QVERIFY(s->SetActivePage(0));
        QVERIFY2(view.RecordShown().contains("u001255601004100"), qPrintable(view.RecordShown()));
        view.DeviceCell(1)->click();
        Apply(s);
        QVERIFY2(view.RecordShown().contains("u001255601004100"), qPrintable(view.RecordShown()));
        Retour(s);
    });
    QCOMPARE(bench.Run(driver), 255);
    QVERIFY(driver.AllDone());
}

ZAV_TEST_CLASS(TestNetworkWalk);
#include "tst_network_walk.moc"
