#pragma once

#include <QHash>
#include <QLayout>
#include <QPointer>
#include <QTabWidget>
#include <vector>

#include "CKeyDelivery.h"
#include "CModalDialog.h"

class CPropertyPage;
class QPushButton;
class QHBoxLayout;

// A modal tabbed sheet. Pages are created when their tab is first shown. Standard buttons:
// OK (1), cancel (2), Apply (12321) and help (9). Apply deactivates the shown page (its
// validation may refuse), then delivers OnApply to every created page in tab order. Apply
// stays enabled after an apply, so the next device can be sent at once. Key presses inside
// a page go to that page's PreTranslateKey before the sheet sees them.
class CPropertySheet : public CModalDialog {
    Q_OBJECT
public:
    static constexpr int kIdHelp = 9;
    static constexpr int kIdApply = 12321;

    explicit CPropertySheet(const QString& caption, QWidget* parent = nullptr, int selectPage = 0);
    ~CPropertySheet() override;

    void AddPage(CPropertyPage* page);  // not owned

    int GetActiveIndex() const;
    int GetPageCount() const { return static_cast<int>(pages.size()); }
    CPropertyPage* GetPage(int index) const;
    // Shows another tab, as a click on it would (the shown page may refuse to leave).
    bool SetActivePage(int index);
    QPushButton* GetButton(int id) const;
    QTabWidget* GetTabControl() const { return tabs; }

    // Puts a button of the subclass's own into the row under the tabs; the row then reads
    // left to right as ArrangeButtons last said (buttons it leaves out follow, on the right).
    // Clicks on an added button reach OnCommand with its id.
    void AddButton(int id, QPushButton* button);
    void ArrangeButtons(const std::vector<int>& idsLeftToRight);
    // Widgets of the subclass's own: at the left end of the button row, before its buttons,
    // and beside the pages, right of the tabs. The sheet takes them as children.
    void AddToRowStart(QWidget* widget);
    void SetBesidePages(QWidget* panel);
    // The sheet may then be enlarged and maximised; the pages keep their size and the panel
    // beside them takes the room. Before the sheet is first shown.
    void AllowResizing() {
        setWindowFlag(Qt::WindowMaximizeButtonHint, true);
        layout()->setSizeConstraint(QLayout::SetMinimumSize);
        tabs->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    }

    // Apply as the Apply button does it; false when the shown page refused to leave.
    bool Apply();
    // Enables Apply (a page marked itself modified).
    void PageModified(CPropertyPage* page, bool modified);

protected:
    // Base: creates and shows the first page; true.
    virtual bool OnInitDialog();
    // Base: 1 apply then end 1, 2 end 2, 12321 Apply, 9 help.
    void OnCommand(int id) override;

    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class CPropertyPage;
    void BuildWindow();
    bool PrepareRun() override;
    // The focused push button, else Apply when it is the default; taken either way.
    bool OnEnterKey() override;
    QPushButton* MakeButton(int id, const QString& text);
    bool ActivatePage(int index);
    void EnsurePageWindow(int index);
    void OnTabBarClicked(int index);
    void OnCurrentChanged(int index);
    void ShowTab(int index);
    void InstallPageFilters(QWidget* window);
    CPropertyPage* PageOfWidget(QObject* object) const;
    // The shown page's help topic.
    QString ActiveHelpTopic() const;
    // A page object destroyed while the sheet still shows it.
    void ForgetPage(CPropertyPage* page);

    int selectPage;
    std::vector<CPropertyPage*> pages;
    QTabWidget* tabs = nullptr;
    QHBoxLayout* buttonRow = nullptr;
    QHBoxLayout* pagesRow = nullptr;
    std::vector<QWidget*> rowStart;
    QHash<int, QPushButton*> buttons;
    int activeIndex = -1;
    std::vector<int> buttonOrder;  // ids in the order their buttons were made or added
    bool switchingTabs = false;
    CKeyDelivery keys;
};
