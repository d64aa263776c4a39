#include "CPropertySheet.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "CPropertyPage.h"
#include "HelpCommand.h"
#include "PressGuard.h"

CPropertySheet::CPropertySheet(const QString& caption, QWidget* parent, int selectPage)
    : CModalDialog(kIdHelp, parent), selectPage(selectPage) {
    setWindowTitle(caption);
    BuildWindow();
}

CPropertySheet::~CPropertySheet() {
    disconnect(tabs, nullptr, this, nullptr);
    tabs->tabBar()->removeEventFilter(this);
    for (CPropertyPage* page : pages) {
        QWidget* window = page->Window();
        page->ForgetWindow();
        delete window;
    }
}

void CPropertySheet::BuildWindow() {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    tabs = new QTabWidget(this);
    // The sheet grows to show every tab in full, as a sheet whose tabs all fit on one row.
    tabs->setUsesScrollButtons(false);
    tabs->tabBar()->installEventFilter(this);
    connect(tabs, &QTabWidget::currentChanged, this, &CPropertySheet::OnCurrentChanged);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    pagesRow = new QHBoxLayout;
    pagesRow->addWidget(tabs);
    layout->addLayout(pagesRow, 1);
    buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    layout->addLayout(buttonRow);

    MakeButton(kIdOk, QStringLiteral("OK"));
    MakeButton(kIdCancel, QStringLiteral("Annuler"));
    MakeButton(kIdApply, QStringLiteral("&Appliquer"))->setEnabled(false);
    MakeButton(kIdHelp, QStringLiteral("Aide"));
}

QPushButton* CPropertySheet::MakeButton(int id, const QString& text) {
    auto* button = new QPushButton(text, this);
    AddButton(id, button);
    return button;
}

void CPropertySheet::AddButton(int id, QPushButton* button) {
    button->setParent(this);
    button->setAutoDefault(false);
    if (!buttons.contains(id)) {
        buttonOrder.push_back(id);
    }
    buttons.insert(id, button);
    buttonRow->addWidget(button);
    PressGuard::OnClicked(button, this, [this, id] { OnCommand(id); });
}

void CPropertySheet::AddToRowStart(QWidget* widget) {
    widget->setParent(this);
    buttonRow->insertWidget(static_cast<int>(rowStart.size()), widget);
    rowStart.push_back(widget);
}

void CPropertySheet::SetBesidePages(QWidget* panel) {
    panel->setParent(this);
    // A taller panel leaves the tabs as they are, at the top.
    pagesRow->setAlignment(tabs, Qt::AlignTop);
    pagesRow->addWidget(panel, 1);
}

void CPropertySheet::ArrangeButtons(const std::vector<int>& idsLeftToRight) {
    while (QLayoutItem* item = buttonRow->takeAt(0)) {
        delete item;
    }
    for (QWidget* widget : rowStart) {
        buttonRow->addWidget(widget);
    }
    buttonRow->addStretch();
    std::vector<int> placed;
    for (int id : idsLeftToRight) {
        if (QPushButton* button = buttons.value(id)) {
            buttonRow->addWidget(button);
            placed.push_back(id);
        }
    }
    // Buttons left out keep their place in the layout, to the right.
    for (int id : buttonOrder) {
        if (std::find(placed.begin(), placed.end(), id) == placed.end()) {
            buttonRow->addWidget(buttons.value(id));
        }
    }
}

QPushButton* CPropertySheet::GetButton(int id) const {
    return buttons.value(id, nullptr);
}

void CPropertySheet::AddPage(CPropertyPage* page) {
    page->sheet = this;
    pages.push_back(page);
    auto* holder = new QWidget;
    holder->setMinimumSize(page->PixelSize());
    switchingTabs = true;
    tabs->addTab(holder, page->Caption());
    switchingTabs = false;
}

CPropertyPage* CPropertySheet::GetPage(int index) const {
    if (index < 0 || index >= GetPageCount()) {
        return nullptr;
    }
    return pages[static_cast<size_t>(index)];
}

int CPropertySheet::GetActiveIndex() const {
    return activeIndex >= 0 ? activeIndex : selectPage;
}

bool CPropertySheet::PrepareRun() {
    activeIndex = -1;
    OnInitDialog();
    if (CPropertyPage* page = GetPage(activeIndex); page && page->Form()) {
        page->Form()->FocusFirstTabStop();
    }
    return true;
}

bool CPropertySheet::OnInitDialog() {
    const int first = (selectPage >= 0 && selectPage < GetPageCount()) ? selectPage : 0;
    ActivatePage(first);
    return true;
}

bool CPropertySheet::SetActivePage(int index) {
    return ActivatePage(index);
}

bool CPropertySheet::ActivatePage(int index) {
    CPropertyPage* next = GetPage(index);
    if (next == nullptr) {
        return false;
    }
    if (index == activeIndex) {
        return true;
    }
    if (CPropertyPage* current = GetPage(activeIndex); current && !current->OnKillActive()) {
        ShowTab(activeIndex);
        return false;
    }
    activeIndex = index;
    ShowTab(index);
    EnsurePageWindow(index);
    next->OnSetActive();
    return true;
}

void CPropertySheet::ShowTab(int index) {
    switchingTabs = true;
    tabs->setCurrentIndex(index);
    switchingTabs = false;
}

void CPropertySheet::EnsurePageWindow(int index) {
    CPropertyPage* page = GetPage(index);
    if (page == nullptr || page->HasWindow()) {
        return;
    }
    QWidget* window = page->CreatePageWindow(this, tabs->widget(index));
    window->move(0, 0);
    InstallPageFilters(window);
    window->show();
    page->OnInitDialog();
    InstallPageFilters(window);
}

void CPropertySheet::InstallPageFilters(QWidget* window) {
    window->installEventFilter(this);
    for (QWidget* child : window->findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }
}

CPropertyPage* CPropertySheet::PageOfWidget(QObject* object) const {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr) {
        return nullptr;
    }
    for (CPropertyPage* page : pages) {
        QWidget* window = page->Window();
        if (window != nullptr && (window == widget || window->isAncestorOf(widget))) {
            return page;
        }
    }
    return nullptr;
}

void CPropertySheet::OnTabBarClicked(int index) {
    if (ActivatePage(index)) {
        tabs->tabBar()->setFocus(Qt::MouseFocusReason);
    }
}

void CPropertySheet::OnCurrentChanged(int index) {
    if (switchingTabs || activeIndex < 0 || index == activeIndex) {
        return;
    }
    // The tab widget switched on its own (keyboard): undo it and go through activation,
    // which the shown page may refuse.
    ShowTab(activeIndex);
    QMetaObject::invokeMethod(
        this, [this, index] { ActivatePage(index); }, Qt::QueuedConnection);
}

bool CPropertySheet::Apply() {
    if (CPropertyPage* current = GetPage(activeIndex); current && !current->OnKillActive()) {
        return false;
    }
    for (CPropertyPage* page : pages) {
        if (page->HasWindow()) {
            page->OnApply();
        }
    }
    return true;
}

void CPropertySheet::PageModified(CPropertyPage* page, bool modified) {
    Q_UNUSED(page);
    QPushButton* apply = GetButton(kIdApply);
    if (apply == nullptr) {
        return;
    }
    if (modified) {
        apply->setEnabled(true);
        return;
    }
    const bool anyModified =
        std::any_of(pages.begin(), pages.end(), [](CPropertyPage* p) { return p->IsModified(); });
    apply->setEnabled(anyModified);
}

void CPropertySheet::OnCommand(int id) {
    switch (id) {
        case kIdOk:
            if (Apply()) {
                EndDialog(kIdOk);
            }
            break;
        case kIdCancel:
            EndDialog(kIdCancel);
            break;
        case kIdApply:
            Apply();
            break;
        case kIdHelp:
            RunHelpCommand(ActiveHelpTopic());
            break;
        default:
            break;
    }
}

QString CPropertySheet::ActiveHelpTopic() const {
    const CPropertyPage* page = GetPage(GetActiveIndex());
    const DialogTemplate* t = page ? page->Template() : nullptr;
    return t ? t->helpTopic : QString();
}

bool CPropertySheet::OnEnterKey() {
    if (auto* focused = qobject_cast<QPushButton*>(focusWidget());
        focused != nullptr && focused->isEnabled() && focused->isVisible()) {
        focused->click();
        return true;
    }
    QPushButton* apply = GetButton(kIdApply);
    if (apply != nullptr && apply->isDefault() && apply->isEnabled() && apply->isVisible()) {
        OnCommand(kIdApply);
    }
    return true;
}

void CPropertySheet::keyPressEvent(QKeyEvent* event) {
    event->setAccepted(HandleRunKey(event));
}

bool CPropertySheet::eventFilter(QObject* watched, QEvent* event) {
    if (watched == tabs->tabBar()) {
        if (event->type() == QEvent::MouseButtonPress ||
            event->type() == QEvent::MouseButtonDblClick) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const int index = tabs->tabBar()->tabAt(mouse->position().toPoint());
            if (mouse->button() == Qt::LeftButton && index >= 0) {
                OnTabBarClicked(index);
            }
            return true;
        }
        return event->type() == QEvent::Wheel;
    }
    if (event->type() == QEvent::KeyPress) {
        CPropertyPage* page = PageOfWidget(watched);
        if (page != nullptr && keys.IsFirst(watched, event) &&
            page->PreTranslateKey(static_cast<QKeyEvent*>(event))) {
            return true;
        }
    }
    return CModalDialog::eventFilter(watched, event);
}

void CPropertySheet::ForgetPage(CPropertyPage* page) {
    const auto it = std::find(pages.begin(), pages.end(), page);
    if (it == pages.end()) {
        return;
    }
    const int index = static_cast<int>(it - pages.begin());
    QWidget* window = page->Window();
    page->ForgetWindow();
    delete window;
    pages.erase(it);
    switchingTabs = true;
    QWidget* holder = tabs->widget(index);
    tabs->removeTab(index);
    delete holder;
    switchingTabs = false;
    if (index == activeIndex) {
        activeIndex = -1;
    } else if (index < activeIndex) {
        --activeIndex;
    }
}

#include "moc_CPropertySheet.cpp"
