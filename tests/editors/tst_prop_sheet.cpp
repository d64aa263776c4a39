#include <QAbstractScrollArea>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

#include "CJournal.h"
#include "CSheetNetwork.h"
#include "EditorTestSupport.h"
#include "PlanReader.h"

namespace {

constexpr int kIdField = 1005;
constexpr int kIdModemP0Field = 1012;

// The sheet's time, and a look at what the status box was painted with when an exchange
// first asks for the time: from then on it blocks, and only a forced repaint reaches the
// screen before it ends.
class CStatusPaintWatch : public QObject, public IClock {
public:
    void Watch(QWidget* status) {
        box = status;
        auto* area = qobject_cast<QAbstractScrollArea*>(status);
        (area != nullptr ? area->viewport() : status)->installEventFilter(this);
    }
    uint32_t TickMs() override {
        Look();
        return fake.TickMs();
    }
    int Pause(uint32_t ms, IWaitService& service) override {
        Look();
        return fake.Pause(ms, service);
    }
    const QStringList& PaintedBeforeBlocking() const { return paintedBeforeBlocking; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && box != nullptr) {
            painted << TextOf(box);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void Look() {
        if (!looked) {
            looked = true;
            paintedBeforeBlocking = painted;
        }
    }

    QWidget* box = nullptr;
    QStringList painted;
    QStringList paintedBeforeBlocking;
    bool looked = false;
    CFakeClock fake{0, 1000};
};

// A device of `network` programmed from the sensor page and read back whole.
void JournalReadBack(const QString& network, int32_t id, int32_t chf) {
    ExchangeRecord record;
    record.kind = ExchangeKind::SendConfig;
    record.sentConfig = ParameterSet{id, chf, 7, "A", 3, 100};
    record.command = QString::asprintf("u%03d%03d07A003100", id, chf).toStdString();
    record.bytesSent = record.command + "\nu\n";
    record.report = QString::asprintf("TM010203V14%03d%03d100007003A00\r\n", id, chf).toStdString();
    CJournal journal(CJournal::DefaultFolder());
    QCOMPARE(
        journal.Append({"Administateur", "Capteur", "COM950", network.toStdString(), 3}, record),
        int(JOURNAL_OK));
}

QString ReadText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

}  // namespace

class TestPropSheet : public QObject {
    Q_OBJECT
private slots:
    void asBuiltIsWrittenBesideTheReport();
    void opensOnTheRepeaterTabWithAFreshIdTable();
    void tabImagesAreThirteenPixelsFromTheLeft_data();
    void tabImagesAreThirteenPixelsFromTheLeft();
    void emettreReachesOnlyTheActivePage();
    void invalidFieldKeepsThePageAndSendsNothing();
    void endCodes_data();
    void endCodes();
    void statusIsOnScreenBeforeTheExchangeBlocks_data();
    void statusIsOnScreenBeforeTheExchangeBlocks();
};

void TestPropSheet::opensOnTheRepeaterTabWithAFreshIdTable() {
    CSheetBench bench;
    CMyPropSheet& sheet = bench.Open(3, 999);
    sheet.IdTable[12] = 12;  // left over from nowhere: initialisation must clear it
    CEditorDriver driver;
    driver.Act<CMyPropSheet>([](CMyPropSheet* s) {
        QCOMPARE(s->GetActiveIndex(), 0);
        QVERIFY(std::all_of(s->IdTable.begin(), s->IdTable.end(), [](int v) { return v == -1; }));
        QCOMPARE(s->windowTitle(), QString::fromUtf8("Zav7305 : Configuration par défaut"));
        QVERIFY(!s->windowIcon().isNull());
        QVERIFY(!s->GetButton(CPropertySheet::kIdOk)->isVisible());
        QPushButton* apply = s->GetButton(CPropertySheet::kIdApply);
        QCOMPARE(apply->text(), QStringLiteral("Emettre"));
        QVERIFY(apply->isEnabled());
        QVERIFY(apply->isDefault());
        QCOMPARE(s->GetButton(CPropertySheet::kIdCancel)->text(), QStringLiteral("Quitter"));
        QPushButton* retour = s->GetButton(CMyPropSheet::kIdRetour);
        QVERIFY(retour != nullptr);
        QCOMPARE(retour->text(), QStringLiteral("Retour"));
        QVERIFY(retour->isVisible());
        QVERIFY(!(retour->focusPolicy() & Qt::TabFocus));
        const int ids[] = {CPropertySheet::kIdApply, CPropertySheet::kIdHelp,
                           CPropertySheet::kIdCancel, CMyPropSheet::kIdRetour};
        for (size_t i = 1; i < std::size(ids); ++i) {
            const QPoint left = s->GetButton(ids[i - 1])->mapTo(s, QPoint(0, 0));
            const QPoint right = s->GetButton(ids[i])->mapTo(s, QPoint(0, 0));
            QVERIFY2(left.x() < right.x(), qPrintable(QString::number(ids[i])));
            QCOMPARE(left.y(), right.y());
        }
        const QTabWidget* tabs = s->GetTabControl();
        QCOMPARE(tabs->count(), 3);
        QCOMPARE(tabs->tabText(0), QString::fromUtf8("       Répéteur      "));
        QCOMPARE(tabs->tabText(1), QString::fromUtf8("       Capteur      "));
        QCOMPARE(tabs->tabText(2), QString::fromUtf8("        Modem      "));
        Retour(s);
    });
    QCOMPARE(bench.Run(driver), 255);
    QVERIFY(driver.AllDone());
}

void TestPropSheet::tabImagesAreThirteenPixelsFromTheLeft_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("bitmap");
    QTest::addColumn<QColor>("transparent");
    QTest::newRow("repeater") << 0 << ":/bitmaps/146.bmp" << QColor(255, 255, 255);
    QTest::newRow("sensor") << 1 << ":/bitmaps/147.bmp" << QColor(192, 192, 192);
    QTest::newRow("modem") << 2 << ":/bitmaps/154.bmp" << QColor(192, 192, 192);
}

void TestPropSheet::tabImagesAreThirteenPixelsFromTheLeft() {
    QFETCH(int, tab);
    QFETCH(QString, bitmap);
    QFETCH(QColor, transparent);
    const QImage source = QImage(bitmap).convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(source.size(), QSize(15, 12));
    CSheetBench bench;
    bench.Open(3, 999);
    QImage shown;
    CEditorDriver driver;
    driver.Act<CMyPropSheet>([&](CMyPropSheet* s) {
        const QIcon icon = s->GetTabControl()->tabIcon(tab);
        QVERIFY(!icon.availableSizes().isEmpty());
        shown = icon.pixmap(icon.availableSizes().first())
                    .toImage()
                    .convertToFormat(QImage::Format_ARGB32);
        Retour(s);
    });
    QCOMPARE(bench.Run(driver), 255);
    QCOMPARE(shown.size(), QSize(13, 12));
    int seeThrough = 0;
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 13; ++x) {
            const QRgb want = source.pixel(x, y);
            const bool clear = QColor(want).rgb() == transparent.rgb();
            seeThrough += clear ? 1 : 0;
            QCOMPARE(qAlpha(shown.pixel(x, y)), clear ? 0 : 255);
            if (!clear) {
                QCOMPARE(shown.pixel(x, y) & RGB_MASK, want & RGB_MASK);
            }
        }
    }
    QVERIFY2(seeThrough > 0, "the bitmap should have a background to leave out");
}

void TestPropSheet::emettreReachesOnlyTheActivePage() {
    CSimProcess sim;
    QVERIFY(StartSim(sim, "any"));
    CSheetBench bench;
    bench.Open(3, sim.PortNumber());
    CEditorDriver driver;
    driver.Act<CMyPropSheet>([&bench](CMyPropSheet* s) {
        QVERIFY(s->SetActivePage(2));  // the modem page would complain: no parameter chosen
        QVERIFY(s->SetActivePage(1));
        Apply(s);
        QVERIFY(s->GetButton(CPropertySheet::kIdApply)->isEnabled());
        QCOMPARE(bench.repe.ID, 1);
        QCOMPARE(bench.repe.StatusText, QStringLiteral("Pas de configuration"));
        QCOMPARE(bench.modem->StatusText, QStringLiteral("Pas de configuration"));
        QCOMPARE(bench.capteur.ID, 5);
        QCOMPARE(s->IdTable[4], 4);
        QCOMPARE(s->IdTable[1], -1);
        Retour(s);
    });
    QCOMPARE(bench.Run(driver), 255);
    QVERIFY(driver.AllDone());
    QVERIFY(driver.Boxes().empty());
    QCOMPARE(sim.ReceivedLines(), std::vector<std::string>({"u004255603000100", "u"}));
}

void TestPropSheet::invalidFieldKeepsThePageAndSendsNothing() {
    CSimProcess sim;
    QVERIFY(StartSim(sim, "repeater"));
    CSheetBench bench;
    bench.Open(3, sim.PortNumber());
    CEditorDriver driver;
    driver
        .Act<CMyPropSheet>([&bench](CMyPropSheet* s) {
            TypeInto(Field(bench.repe, kIdField), "");
            QVERIFY(!s->SetActivePage(1));
            QCOMPARE(s->GetActiveIndex(), 0);
            Apply(s);
            QCOMPARE(bench.repe.StatusText, QStringLiteral("Pas de configuration"));
            Retour(s);
        })
        .Answer(QMessageBox::Ok)
        .Answer(QMessageBox::Ok)
        .Answer(QMessageBox::Ok);
    QCOMPARE(bench.Run(driver), 255);
    QVERIFY(driver.AllDone());
    for (size_t i = 0; i < 3; ++i) {
        QCOMPARE(BoxText(driver, i), kNotInteger);
    }
    QVERIFY(sim.ReceivedLines().empty());
}

void TestPropSheet::statusIsOnScreenBeforeTheExchangeBlocks_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<bool>("byEnter");
    QTest::addColumn<QString>("progress");
    const QString sending = QStringLiteral("\r\n Emission en cours ...");
    QTest::newRow("repeater Emettre") << 0 << false << sending;
    QTest::newRow("repeater Enter") << 0 << true << QStringLiteral("\r\n Emettre au cours ...");
    QTest::newRow("sensor Emettre") << 1 << false << sending;
    QTest::newRow("sensor Enter") << 1 << true << QStringLiteral("\r\n Emission au cours ...");
    QTest::newRow("modem Emettre") << 2 << false << QStringLiteral("\r\n Emission en cours...");
    QTest::newRow("modem Enter") << 2 << true << sending;
}

void TestPropSheet::statusIsOnScreenBeforeTheExchangeBlocks() {
    QFETCH(int, tab);
    QFETCH(bool, byEnter);
    QFETCH(QString, progress);
    CSimProcess sim;
    QVERIFY(StartSim(sim, "any"));
    CSheetBench bench;
    // A client: the modem page sends P0 without a choice to make.
    CMyPropSheet& sheet = bench.Open(3, sim.PortNumber(), 1);
    CStatusPaintWatch watch;
    sheet.clock = &watch;
    CEditorDriver driver;
    driver.Act<CMyPropSheet>([&](CMyPropSheet* s) {
        QVERIFY(s->SetActivePage(tab));
        CPropertyPage* pages[] = {&bench.repe, &bench.capteur, bench.modem};
        watch.Watch(pages[tab]->GetDlgItem(CSheetPage::kIdStatus));
        if (byEnter) {
            // The ID field, or on the modem page the P0 field, the client's only one.
            PressKey(Field(*pages[tab], tab == 2 ? kIdModemP0Field : kIdField), Qt::Key_Return);
        } else {
            Apply(s);
        }
        Retour(s);
    });
    QCOMPARE(bench.Run(driver), 255);
    QVERIFY(driver.AllDone());
    QVERIFY2(watch.PaintedBeforeBlocking().contains(progress.replace("\r\n", "\n")),
             qPrintable(watch.PaintedBeforeBlocking().join(QStringLiteral(" | "))));
    QCOMPARE(sim.ReceivedLines().size(), size_t{2});
    // Each page journals under its tab's name, with the role the user logged in with.
    const char* const names[] = {"Répéteur", "Capteur", "Modem"};
    QVERIFY2(LastJournalLine().contains(QString::fromUtf8("\"Client\",\"%1\",\"COM%2\"")
                                            .arg(QString::fromUtf8(names[tab]))
                                            .arg(sim.PortNumber())),
             qPrintable(LastJournalLine()));
}

void TestPropSheet::endCodes_data() {
    QTest::addColumn<int>("how");
    QTest::addColumn<int>("code");
    QTest::newRow("Retour") << 0 << 255;
    QTest::newRow("Quitter") << 1 << 2;
    QTest::newRow("close box") << 2 << 2;
    QTest::newRow("Escape on the sheet's buttons") << 3 << 2;
    // Escape inside a page is taken by the page; the sheet is then left with Retour.
    QTest::newRow("Escape in a page field") << 4 << 255;
}

void TestPropSheet::endCodes() {
    QFETCH(int, how);
    QFETCH(int, code);
    CSheetBench bench;
    bench.Open(3, 999);
    CEditorDriver driver;
    driver.Act<CMyPropSheet>([&bench, how](CMyPropSheet* s) {
        switch (how) {
            case 0:
                Retour(s);
                break;
            case 1:
                ClickSheetButton(s, CPropertySheet::kIdCancel);
                break;
            case 2:
                s->close();
                break;
            case 3:
                PressKey(s->GetButton(CPropertySheet::kIdCancel), Qt::Key_Escape);
                break;
            default:
                PressKey(Field(bench.repe, kIdField), Qt::Key_Escape);
                QVERIFY(s->isVisible());
                Retour(s);
                break;
        }
    });
    QCOMPARE(bench.Run(driver), code);
    QVERIFY(driver.AllDone());
    QVERIFY(driver.Boxes().empty());
}

// Written with what was read back, imported again as the same devices; an existing file is
// replaced only when the user says so.
void TestPropSheet::asBuiltIsWrittenBesideTheReport() {
    // Its own network: the test runs' journal outlives a run.
    const QString network = QStringLiteral("Chantier %1").arg(QCoreApplication::applicationPid());
    JournalReadBack(network, 12, 21);
    JournalReadBack(network, 14, 22);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("construit.csv"));
    CSheetBench bench;
    bench.Open(3, 999);
    bench.network->SetName(network);
    bench.network->SetAsBuiltPathChooser([&](QWidget*, const QString&) { return path; });
    CEditorDriver driver;
    driver.Act<CMyPropSheet>([&](CMyPropSheet* s) {
        QPushButton* button = bench.network->AsBuiltButton();
        QCOMPARE(button->text(), QString::fromUtf8("Exporter tel que construit…"));
        QVERIFY(button->isVisible());
        button->click();
        const PlanReading reading = PlanReader::Read(ReadText(path).toStdString());
        QVERIFY(reading.plan.has_value());
        QCOMPARE(reading.plan->Facts().network, network.toStdString());
        QVERIFY2(reading.plan->Devices().size() == 2, qPrintable(ReadText(path)));
        QCOMPARE(reading.plan->Find(12)->values.CHF, 21);
        QCOMPARE(reading.plan->Find(14)->values.CHF, 22);
        QFile earlier(path);
        QVERIFY(earlier.open(QIODevice::WriteOnly | QIODevice::Truncate));
        earlier.write("ancien");
        earlier.close();
        button->click();
        Retour(s);
    });
    driver.Answer(QMessageBox::Ok);
    driver.Answer(QMessageBox::No);
    QCOMPARE(bench.Run(driver), 255);
    QVERIFY(driver.AllDone());
    QVERIFY2(BoxText(driver, 0).contains(QFileInfo(path).absoluteFilePath()),
             qPrintable(BoxText(driver, 0)));
    QVERIFY2(BoxText(driver, 1).contains(QStringLiteral("construit.csv existe déjà")),
             qPrintable(BoxText(driver, 1)));
    QCOMPARE(ReadText(path), QStringLiteral("ancien"));
}

ZAV_TEST_CLASS(TestPropSheet);
#include "tst_prop_sheet.moc"
