#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <memory>

#include <QTest>
#include "CModalDriver.h"
#include "CPropertySheet.h"
#include "CRecordingPage.h"

#include "CTestClasses.h"

namespace {

constexpr int kIdRetour = 66;

// A sheet with an extra button of its own, as the editors build theirs.
class CReturnSheet : public CPropertySheet {
public:
    using CPropertySheet::CPropertySheet;

protected:
    void OnCommand(int id) override {
        if (id == kIdRetour) {
            EndDialog(255);
            return;
        }
        CPropertySheet::OnCommand(id);
    }
};

// Three pages of growing size and the log they write into.
struct Pages {
    QStringList log;
    CRecordingPage a{9101, "A", &log};
    CRecordingPage b{9102, "B", &log};
    CRecordingPage c{9103, "C", &log};

    void AddTo(CPropertySheet& sheet) {
        sheet.AddPage(&a);
        sheet.AddPage(&b);
        sheet.AddPage(&c);
    }
    QStringList Take() {
        QStringList taken = log;
        log.clear();
        return taken;
    }
};

QLineEdit* Field(CRecordingPage& page) {
    return page.Item<QLineEdit>(CRecordingPage::kIdValue);
}

void ClickTab(CPropertySheet* sheet, int index) {
    QTabBar* bar = sheet->GetTabControl()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

// Runs the sheet with `act` inside its modal loop, then the listed box answers.
int Run(CPropertySheet& sheet, CModalDriver& driver, std::function<void(CPropertySheet*)> act) {
    driver.On<CPropertySheet>(std::move(act));
    return sheet.DoModal();
}

}  // namespace

class PropertySheetTest : public QObject {
    Q_OBJECT
private slots:
    void opensOnItsFirstPageAndCreatesTheOthersWhenShown();
    void opensOnTheRequestedPage();
    void pageThatRefusesCannotBeLeft_data();
    void pageThatRefusesCannotBeLeft();
    void applyGoesToEveryCreatedPageInTabOrder();
    void applyStopsWhenTheShownPageRefuses();
    void modifiedPageEnablesApply();
    void keysInsideAPageGoToItFirst_data();
    void keysInsideAPageGoToItFirst();
    void escapeOnTheSheetButtonsCancels();
    void buttonRowFollowsArrangeButtons();
    void closeBoxAndOkEndTheSheet();
    void sheetFitsItsLargestPage();
    void pagesOutliveTheSheet();
    void pageDestroyedBeforeTheSheetLeavesItUsable();
};

void PropertySheetTest::opensOnItsFirstPageAndCreatesTheOthersWhenShown() {
    Pages pages;
    pages.a.value = 3;
    CPropertySheet sheet(QStringLiteral("Zav7305 : Configuration par défaut"));
    pages.AddTo(sheet);
    QCOMPARE(sheet.GetPageCount(), 3);
    QCOMPARE(sheet.GetTabControl()->tabText(1), QStringLiteral("Page 2"));
    QStringList atOpening, toB, backToA;
    bool applyEnabled = true;
    bool okShown = false;
    QString shown;
    CModalDriver driver;
    const int code = Run(sheet, driver, [&](CPropertySheet* s) {
        atOpening = pages.Take();
        applyEnabled = s->GetButton(CPropertySheet::kIdApply)->isEnabled();
        okShown = s->GetButton(CPropertySheet::kIdOk)->isVisible();
        shown = Field(pages.a)->text();
        QVERIFY(!pages.b.HasWindow() && !pages.c.HasWindow());
        ClickTab(s, 1);
        toB = pages.Take();
        pages.a.value = 7;
        ClickTab(s, 0);
        backToA = pages.Take();
        s->EndDialog(255);
    });
    QCOMPARE(code, 255);
    QVERIFY(driver.AllDone());
    QCOMPARE(sheet.windowTitle(), QStringLiteral("Zav7305 : Configuration par défaut"));
    QCOMPARE(atOpening, (QStringList{"A:init", "A:show", "A:setactive"}));
    QCOMPARE(shown, QStringLiteral("3"));
    QVERIFY(!applyEnabled);
    QVERIFY(okShown);
    QCOMPARE(toB, (QStringList{"A:killactive", "A:save", "B:init", "B:show", "B:setactive"}));
    // Later activations write the members to the screen again.
    QCOMPARE(backToA, (QStringList{"B:killactive", "B:save", "A:setactive", "A:show"}));
    QCOMPARE(Field(pages.a)->text(), QStringLiteral("7"));
    QVERIFY(!pages.c.HasWindow());
}

void PropertySheetTest::opensOnTheRequestedPage() {
    Pages pages;
    CPropertySheet sheet(QStringLiteral("Feuille"), nullptr, 1);
    pages.AddTo(sheet);
    QCOMPARE(sheet.GetActiveIndex(), 1);
    int active = -1;
    CModalDriver driver;
    Run(sheet, driver, [&](CPropertySheet* s) {
        active = s->GetActiveIndex();
        s->EndDialog(2);
    });
    QCOMPARE(active, 1);
    QCOMPARE(sheet.GetTabControl()->currentIndex(), 1);
    QVERIFY(!pages.a.HasWindow());
    QVERIFY(pages.b.HasWindow());
}

void PropertySheetTest::pageThatRefusesCannotBeLeft_data() {
    QTest::addColumn<int>("route");
    QTest::newRow("click on the tab") << 0;
    QTest::newRow("SetActivePage") << 1;
    QTest::newRow("the tab widget switching on its own") << 2;
}

void PropertySheetTest::pageThatRefusesCannotBeLeft() {
    QFETCH(int, route);
    Pages pages;
    CPropertySheet sheet(QStringLiteral("Feuille"));
    pages.AddTo(sheet);
    int active = -1;
    int shownTab = -1;
    bool refused = false;
    CModalDriver driver;
    driver
        .On<CPropertySheet>([&](CPropertySheet* s) {
            Field(pages.a)->setText("x");
            pages.Take();
            if (route == 0) {
                ClickTab(s, 2);
            } else if (route == 1) {
                refused = !s->SetActivePage(2);
            } else {
                s->GetTabControl()->setCurrentIndex(2);
            }
        })
        .AnswerBox(QMessageBox::Ok)
        .On<CPropertySheet>([&](CPropertySheet* s) {
            active = s->GetActiveIndex();
            shownTab = s->GetTabControl()->currentIndex();
            s->EndDialog(2);
        });
    QCOMPARE(sheet.DoModal(), 2);
    QVERIFY(driver.AllDone());
    QCOMPARE(driver.Boxes().at(0).text, QStringLiteral("Tapez un nombre entier."));
    QCOMPARE(driver.Boxes().at(0).caption, QStringLiteral("Zav7305"));
    QCOMPARE(active, 0);
    QCOMPARE(shownTab, 0);
    QCOMPARE(refused, route == 1);
    QVERIFY(!pages.c.HasWindow());
    QCOMPARE(pages.log, (QStringList{"A:killactive", "A:save"}));
}

void PropertySheetTest::applyGoesToEveryCreatedPageInTabOrder() {
    Pages pages;
    CPropertySheet sheet(QStringLiteral("Feuille"));
    pages.AddTo(sheet);
    QStringList firstApply, secondApply;
    bool enabledAfter = false;
    CModalDriver driver;
    Run(sheet, driver, [&](CPropertySheet* s) {
        pages.c.SetModified(true);
        ClickTab(s, 2);
        Field(pages.c)->setText("5");
        pages.Take();
        QPushButton* apply = s->GetButton(CPropertySheet::kIdApply);
        QTest::mouseClick(apply, Qt::LeftButton);
        firstApply = pages.Take();
        enabledAfter = apply->isEnabled();
        QTest::mouseClick(apply, Qt::LeftButton);
        secondApply = pages.Take();
        s->EndDialog(2);
    });
    QVERIFY(driver.AllDone());
    const QStringList expected{"C:killactive", "C:save", "A:apply", "C:apply"};
    QCOMPARE(firstApply, expected);
    QCOMPARE(secondApply, expected);
    QVERIFY(enabledAfter);
    QCOMPARE(pages.c.value, 5);
    QCOMPARE(sheet.GetActiveIndex(), 2);
}

void PropertySheetTest::applyStopsWhenTheShownPageRefuses() {
    Pages pages;
    CPropertySheet sheet(QStringLiteral("Feuille"));
    pages.AddTo(sheet);
    bool applied = true;
    CModalDriver driver;
    driver
        .On<CPropertySheet>([&](CPropertySheet* s) {
            Field(pages.a)->setText("10");
            pages.Take();
            applied = s->Apply();
            s->EndDialog(2);
        })
        .AnswerBox(QMessageBox::Ok);
    sheet.DoModal();
    QVERIFY(driver.AllDone());
    QVERIFY(!applied);
    QCOMPARE(driver.Boxes().at(0).text,
             QStringLiteral("Tapez un nombre entier compris entre 0 et 9."));
    QCOMPARE(pages.log, (QStringList{"A:killactive", "A:save"}));
}

void PropertySheetTest::modifiedPageEnablesApply() {
    Pages pages;
    CPropertySheet sheet(QStringLiteral("Feuille"));
    pages.AddTo(sheet);
    QPushButton* apply = sheet.GetButton(CPropertySheet::kIdApply);
    QVERIFY(!apply->isEnabled());
    pages.a.SetModified(true);
    QVERIFY(apply->isEnabled());
    QVERIFY(pages.a.IsModified());
    pages.b.SetModified(true);
    pages.a.SetModified(false);
    QVERIFY(apply->isEnabled());
    pages.b.SetModified(false);
    QVERIFY(!apply->isEnabled());
}

void PropertySheetTest::keysInsideAPageGoToItFirst_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("consumed");
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("applied");
    QTest::newRow("Enter taken by the page") << int(Qt::Key_Return) << true << 255 << false;
    QTest::newRow("Enter left to the sheet applies") << int(Qt::Key_Enter) << false << 255 << true;
    QTest::newRow("Escape taken by the page") << int(Qt::Key_Escape) << true << 255 << false;
    QTest::newRow("Escape left to the sheet cancels") << int(Qt::Key_Escape) << false << 2 << false;
}

void PropertySheetTest::keysInsideAPageGoToItFirst() {
    QFETCH(int, key);
    QFETCH(bool, consumed);
    QFETCH(int, code);
    QFETCH(bool, applied);
    Pages pages;
    pages.a.consumeEnter = consumed;
    pages.a.consumeEscape = consumed;
    CPropertySheet sheet(QStringLiteral("Feuille"));
    pages.AddTo(sheet);
    CModalDriver driver;
    const int result = Run(sheet, driver, [&](CPropertySheet* s) {
        QPushButton* apply = s->GetButton(CPropertySheet::kIdApply);
        apply->setEnabled(true);
        apply->setDefault(true);
        Field(pages.a)->setFocus();
        pages.Take();
        QTest::keyClick(Field(pages.a), Qt::Key(key));
        if (s->isVisible()) {
            s->EndDialog(255);
        }
    });
    QVERIFY(driver.AllDone());
    QCOMPARE(result, code);
    QCOMPARE(pages.a.keysSeen, 1);
    QCOMPARE(pages.log.contains("A:apply"), applied);
}

void PropertySheetTest::escapeOnTheSheetButtonsCancels() {
    Pages pages;
    CPropertySheet sheet(QStringLiteral("Feuille"));
    pages.AddTo(sheet);
    CModalDriver driver;
    const int code = Run(sheet, driver, [&](CPropertySheet* s) {
        QPushButton* help = s->GetButton(CPropertySheet::kIdHelp);
        help->setFocus();
        QTest::keyClick(help, Qt::Key_Escape);
    });
    QCOMPARE(code, 2);
    QCOMPARE(pages.a.keysSeen, 0);
}

void PropertySheetTest::buttonRowFollowsArrangeButtons() {
    Pages pages;
    CReturnSheet sheet(QStringLiteral("Feuille"));
    pages.AddTo(sheet);
    auto* retour = new QPushButton(QStringLiteral("Retour"));
    sheet.AddButton(kIdRetour, retour);
    QCOMPARE(sheet.GetButton(kIdRetour), retour);
    QCOMPARE(retour->parentWidget(), &sheet);
    // Widgets of the subclass's own: one at the row's start, kept there by ArrangeButtons, and
    // a panel beside the pages.
    auto* rowStart = new QLineEdit;
    sheet.AddToRowStart(rowStart);
    auto* panel = new QWidget;
    panel->setMinimumSize(40, 40);
    sheet.SetBesidePages(panel);
    sheet.ArrangeButtons(
        {CPropertySheet::kIdApply, CPropertySheet::kIdHelp, CPropertySheet::kIdCancel, kIdRetour});
    QList<int> xs{rowStart->x()};
    bool okHidden = false;
    CModalDriver driver;
    const int code = Run(sheet, driver, [&](CPropertySheet* s) {
        s->GetButton(CPropertySheet::kIdOk)->hide();
        s->layout()->activate();
        okHidden = !s->GetButton(CPropertySheet::kIdOk)->isVisible();
        for (int id : {CPropertySheet::kIdApply, CPropertySheet::kIdHelp, CPropertySheet::kIdCancel,
                       kIdRetour}) {
            xs << s->GetButton(id)->geometry().x();
        }
        xs[0] = rowStart->geometry().x();
        QTest::mouseClick(s->GetButton(kIdRetour), Qt::LeftButton);
    });
    QCOMPARE(code, 255);
    QVERIFY(okHidden);
    QVERIFY2(std::is_sorted(xs.begin(), xs.end()) && xs[0] < xs[1] && xs[1] < xs.last(),
             qPrintable(QStringLiteral("%1 %2 %3 %4 %5")
                            .arg(xs[0])
                            .arg(xs[1])
                            .arg(xs[2])
                            .arg(xs[3])
                            .arg(xs[4])));
    // All buttons sit on one row under the tabs.
    const QRect tabs = sheet.GetTabControl()->geometry();
    for (int id : {CPropertySheet::kIdApply, CPropertySheet::kIdCancel, kIdRetour}) {
        QVERIFY(sheet.GetButton(id)->geometry().top() > tabs.bottom());
    }
    QVERIFY(rowStart->geometry().top() > tabs.bottom());
    QVERIFY(!panel->geometry().intersects(tabs));
    QVERIFY(panel->geometry().left() > tabs.right() && panel->geometry().top() < tabs.bottom());
}

void PropertySheetTest::closeBoxAndOkEndTheSheet() {
    {
        Pages pages;
        CPropertySheet sheet(QStringLiteral("Feuille"));
        pages.AddTo(sheet);
        CModalDriver driver;
        QCOMPARE(Run(sheet, driver, [](CPropertySheet* s) { s->close(); }), 2);
        QVERIFY(!pages.log.contains("A:apply"));
    }
    {
        Pages pages;
        CPropertySheet sheet(QStringLiteral("Feuille"));
        pages.AddTo(sheet);
        CModalDriver driver;
        QCOMPARE(Run(sheet, driver,
                     [](CPropertySheet* s) {
                         QTest::mouseClick(s->GetButton(CPropertySheet::kIdOk), Qt::LeftButton);
                     }),
                 1);
        QVERIFY(pages.log.contains("A:apply"));
    }
}

void PropertySheetTest::sheetFitsItsLargestPage() {
    Pages pages;
    CPropertySheet sheet(QStringLiteral("Feuille"));
    pages.AddTo(sheet);
    QList<QRect> pageRects;
    QSize sheetSize;
    CModalDriver driver;
    Run(sheet, driver, [&](CPropertySheet* s) {
        const QSize atOpening = s->size();
        ClickTab(s, 1);
        ClickTab(s, 2);
        s->layout()->activate();
        sheetSize = s->size();
        QCOMPARE(sheetSize, atOpening);
        for (CRecordingPage* page : {&pages.a, &pages.b, &pages.c}) {
            QWidget* window = page->Window();
            pageRects << QRect(window->mapTo(s, QPoint(0, 0)), window->size());
        }
        s->EndDialog(2);
    });
    QVERIFY(driver.AllDone());
    QCOMPARE(pageRects.size(), 3);
    QVERIFY(pageRects[2].width() > pageRects[0].width());
    for (const QRect& rect : pageRects) {
        QVERIFY(QRect(QPoint(0, 0), sheetSize).contains(rect));
    }
}

void PropertySheetTest::pagesOutliveTheSheet() {
    Pages pages;
    {
        CPropertySheet sheet(QStringLiteral("Feuille"));
        pages.AddTo(sheet);
        CModalDriver driver;
        Run(sheet, driver, [&](CPropertySheet* s) {
            Field(pages.a)->setText("6");
            ClickTab(s, 1);
            s->EndDialog(255);
        });
        QCOMPARE(pages.a.Sheet(), &sheet);
    }
    QVERIFY(!pages.a.HasWindow());
    QVERIFY(!pages.b.HasWindow());
    QCOMPARE(pages.a.GetDlgItem(CRecordingPage::kIdValue), nullptr);
    QCOMPARE(pages.a.Sheet(), nullptr);
    QVERIFY(!pages.a.UpdateData(false));
    QCOMPARE(pages.a.value, 6);
    pages.Take();

    // A new sheet makes new windows; the object has been activated before, so its first
    // activation this time writes the members again.
    CPropertySheet again(QStringLiteral("Feuille"));
    pages.AddTo(again);
    QString shown;
    CModalDriver driver;
    Run(again, driver, [&](CPropertySheet* s) {
        shown = Field(pages.a)->text();
        s->EndDialog(2);
    });
    QCOMPARE(shown, QStringLiteral("6"));
    QCOMPARE(pages.log, (QStringList{"A:init", "A:show", "A:setactive", "A:show"}));
}

void PropertySheetTest::pageDestroyedBeforeTheSheetLeavesItUsable() {
    QStringList log;
    CRecordingPage a(9101, "A", &log);
    auto b = std::make_unique<CRecordingPage>(9102, "B", &log);
    CPropertySheet sheet(QStringLiteral("Feuille"));
    sheet.AddPage(&a);
    sheet.AddPage(b.get());
    QVERIFY(sheet.SetActivePage(1));
    b.reset();
    QCOMPARE(sheet.GetPageCount(), 1);
    QCOMPARE(sheet.GetTabControl()->count(), 1);
    QVERIFY(sheet.SetActivePage(0));
    QCOMPARE(sheet.GetPage(0), &a);
    QVERIFY(sheet.Apply());
    QVERIFY(log.contains("A:apply"));
}

ZAV_TEST_CLASS(PropertySheetTest);
#include "tst_property_sheet.moc"
