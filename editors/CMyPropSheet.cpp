#include "CMyPropSheet.h"

#include <QEvent>
#include <QImage>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>

#include "CSheetNetwork.h"
#include "CSheetPage.h"
#include "EditorTexts.h"
#include "Remembered.h"

namespace {

constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kLightGrey = qRgb(192, 192, 192);

struct TabBitmap {
    const char* path;
    QRgb transparent;
};
constexpr TabBitmap kTabBitmaps[] = {
    {":/bitmaps/146.bmp", kWhite},
    {":/bitmaps/147.bmp", kLightGrey},
    {":/bitmaps/154.bmp", kLightGrey},
};

// One image of the tab image list: the left columns of the bitmap, its transparent
// colour made see-through.
QPixmap TabImage(const TabBitmap& bitmap, int width) {
    QImage image = QImage(QString::fromUtf8(bitmap.path)).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) & RGB_MASK) == (bitmap.transparent & RGB_MASK)) {
                image.setPixel(x, y, qRgba(0, 0, 0, 0));
            }
        }
    }
    return QPixmap::fromImage(image.copy(0, 0, width, image.height()));
}

}  // namespace

CMyPropSheet::CMyPropSheet(const QString& caption, QWidget* parent, int selectPage)
    : CPropertySheet(caption, parent, selectPage),
      icon(QString::fromUtf8(EditorTexts::kWindowIcon)) {
    IdTable.fill(-1);
}

CMyPropSheet::~CMyPropSheet() = default;

bool CMyPropSheet::IsIdAssigned(int32_t id) const {
    return id >= 0 && id < static_cast<int32_t>(IdTable.size()) && IdTable[id] != -1;
}

void CMyPropSheet::MarkIdAssigned(int32_t id) {
    if (id >= 0 && id < static_cast<int32_t>(IdTable.size())) {
        IdTable[id] = id;
    }
}

bool CMyPropSheet::OnInitDialog() {
    // Before the pages exist: the repeater page writes entry 255 in its own initialisation.
    IdTable.fill(-1);
    const bool result = CPropertySheet::OnInitDialog();
    SetUpStandardButtons();
    SetUpTabImages();
    SetUpButtonRow();
    setWindowIcon(icon);
    AllowResizing();
    restoreGeometry(Remembered::SheetGeometry());
    if (network != nullptr) {
        network->Install(*this);
        PageChanged();
    }
    return result;
}

const SitePlan* CMyPropSheet::Plan() const {
    return network != nullptr ? network->Plan() : nullptr;
}

void CMyPropSheet::PageChanged() {
    if (network == nullptr) {
        return;
    }
    network->Follow();
    const auto* page = dynamic_cast<const CSheetPage*>(GetPage(GetActiveIndex()));
    network->ShowNext(page != nullptr ? page->NextDeviceId() : -1,
                      page != nullptr ? page->NextModemParam() : -1);
    network->ShowPlanLine(page != nullptr ? page->PlanLine() : QString());
}

void CMyPropSheet::done(int code) {
    Remembered::SetSheetGeometry(saveGeometry());
    CPropertySheet::done(code);
}

void CMyPropSheet::changeEvent(QEvent* event) {
    CPropertySheet::changeEvent(event);
    // Later, from the event loop: an exchange serving the window system while it waits
    // runs no timer, so the journal is never read in the middle of one.
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        QTimer::singleShot(0, this, &CMyPropSheet::PageChanged);
    }
}

void CMyPropSheet::OnCommand(int id) {
    if (id == kIdRetour) {
        EndDialog(kRetourCode);
        return;
    }
    if (id == kIdApply || id == kIdOk) {
        RunExchange([this, id] {
            CPropertySheet::OnCommand(id);
            PageChanged();
        });
        return;
    }
    CPropertySheet::OnCommand(id);
}

std::vector<QWidget*> CMyPropSheet::ExchangeStarters() const {
    std::vector<QWidget*> starters = {GetButton(kIdApply)};
    for (int i = 0; i < GetPageCount(); ++i) {
        if (auto* page = dynamic_cast<CSheetPage*>(GetPage(i)); page != nullptr) {
            if (QWidget* start = page->ExchangeStarter()) {
                starters.push_back(start);
            }
        }
    }
    return starters;
}

void CMyPropSheet::SetUpStandardButtons() {
    GetButton(kIdOk)->hide();
    QPushButton* apply = GetButton(kIdApply);
    apply->setDefault(true);
    apply->setText(QString::fromUtf8(EditorTexts::kEmettre));
    apply->setEnabled(true);
    QPushButton* cancel = GetButton(kIdCancel);
    cancel->setText(QString::fromUtf8(EditorTexts::kQuitter));
    cancel->setEnabled(true);
}

void CMyPropSheet::SetUpTabImages() {
    tabImages.clear();
    QTabWidget* tabControl = GetTabControl();
    int height = 0;
    for (const TabBitmap& bitmap : kTabBitmaps) {
        tabImages.push_back(TabImage(bitmap, kTabImageWidth));
        height = std::max(height, tabImages.back().height());
    }
    tabControl->setIconSize(QSize(kTabImageWidth, height));
    for (int i = 0; i < tabControl->count() && i < static_cast<int>(tabImages.size()); ++i) {
        tabControl->setTabIcon(i, QIcon(tabImages[static_cast<size_t>(i)]));
    }
}

// The sheet's layout places the row, so no pixel offsets are needed; what counts is the
// order under the tabs.
void CMyPropSheet::SetUpButtonRow() {
    if (retourButton != nullptr) {
        return;
    }
    retourButton = new QPushButton(QString::fromUtf8(EditorTexts::kRetour), this);
    retourButton->setFocusPolicy(Qt::ClickFocus);
    retourButton->setAutoDefault(false);
    AddButton(kIdRetour, retourButton);
    ArrangeButtons({kIdOk, kIdApply, kIdHelp, kIdCancel, kIdRetour});
    retourButton->show();
}

#include "moc_CMyPropSheet.cpp"
