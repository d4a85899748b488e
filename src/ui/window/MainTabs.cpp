#include "ui/window/MainTabs.h"

#include <iterator>

#include "device/DeviceView.h"
#include "toolkit/Glyphs.h"
#include "toolkit/MPicture.h"
#include "toolkit/MTabCtrl.h"
#include "ui/common/DesignLayout.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiRect.h"
#include "ui/common/UiText.h"
#include "ui/pages/buttons/ButtonPage.h"
#include "ui/pages/deviceinfo/DeviceInfoPage.h"
#include "ui/pages/lighting/LightingPage.h"
#include "ui/pages/macros/MacroPage.h"
#include "ui/pages/performance/PerformancePage.h"
#include "ui/window/MainFrame.h"

namespace quorvel {

namespace {

// Where the pages go in the design: right of the tab strip, above the bottom bar.
const QRect kPageRect = Ltrb(200, 80, 1380, 738);

struct TabItem {
    int item;
    int text;
    const char* icon;
    Glyph glyph;
};
constexpr TabItem kItems[] = {
    {MainTabs::kHomeItem, txt::kHomeTab, "icon\\tab_home.png", Glyph::Home},
    {MainTabs::kButtonsItem, txt::kButtonsTab, "icon\\tab_key.png", Glyph::Keys},
    {MainTabs::kPerformanceItem, txt::kPerformanceTab, "icon\\tab_dpi.png", Glyph::Dpi},
    {MainTabs::kMacrosItem, txt::kMacrosTab, "icon\\tab_macro.png", Glyph::Macro},
    {MainTabs::kLightingItem, txt::kLightingTab, "icon\\tab_light.png", Glyph::Light},
    {MainTabs::kDeviceInfoItem, txt::kDeviceInfoTab, "icon\\tab_set.png", Glyph::Info},
};
constexpr int kButtonsIndex = 1;

template <typename T>
Page* NewPage(PageHost& host, QWidget* window) {
    return new T(host, window);
}

// By strip index: the item, the container id, how the page is made.
struct PageKind {
    int item;
    int id;
    Page* (*make)(PageHost&, QWidget*);
};
constexpr PageKind kPages[] = {
    {MainTabs::kHomeItem, 0, nullptr},
    {MainTabs::kButtonsItem, MainTabs::kButtonPage, NewPage<ButtonPage>},
    {MainTabs::kPerformanceItem, MainTabs::kPerformancePage, NewPage<PerformancePage>},
    {MainTabs::kMacrosItem, MainTabs::kMacroPage, NewPage<MacroPage>},
    {MainTabs::kLightingItem, MainTabs::kLightingPage, NewPage<LightingPage>},
    {MainTabs::kDeviceInfoItem, MainTabs::kDeviceInfoPage, NewPage<DeviceInfoPage>},
};

int SlotOf(int item) {
    for (int i = 1; i < static_cast<int>(std::size(kPages)); ++i)
        if (kPages[i].item == item) return i;
    return -1;
}

constexpr unsigned kEveryPage = kPageButtons | kPageMacros | kPagePerformance | kPageLighting;

}  // namespace

MainTabs::MainTabs(PageHost& host, QWidget* window, TextRegistry& texts)
    : QObject(window), host_(host), window_(window) {
    background_ = new MPicture(QStringLiteral("img_area_bkg.png"), MPicture::Mode::Frame, window);
    background_->setObjectName(ControlName(kTabBackground));
    strip_ = new MTabCtrl(window);
    strip_->setObjectName(ControlName(kTabStrip));
    texts.Bind(strip_, UiText(txt::kPageStrip),
               [strip = strip_](const QString& s) { strip->setAccessibleName(s); });
    for (const TabItem& t : kItems) {
        const int index = strip_->InsertItem(t.item, Text(t.text), QLatin1String(t.icon), t.glyph);
        MTabCtrl* strip = strip_;
        texts.Bind(strip_, UiText(t.text),
                   [strip, index](const QString& s) { strip->SetItemText(index, s); });
    }
    connect(strip_, &MTabCtrl::tabClicked, this, [this](int index) {
        Show(shown_);  // the page of the new item
        emit itemClicked(strip_->GetItemId(index));
    });

    background_->lower();  // under the logo, the status title and the battery that sit on it
    background_->hide();
    strip_->hide();
}

std::vector<Page*> MainTabs::Pages() const {
    std::vector<Page*> built;
    for (Page* page : pages_)
        if (page) built.push_back(page);
    return built;
}

Page* MainTabs::Built(int item) const {
    const int slot = SlotOf(item);
    return slot < 0 ? nullptr : pages_[slot];
}

Page* MainTabs::PageOf(int item) {
    const int slot = SlotOf(item);
    if (slot < 0) return nullptr;
    return pages_[slot] ? pages_[slot] : Build(item);
}

Page* MainTabs::Build(int item) {
    const int slot = SlotOf(item);
    const PageKind& kind = kPages[slot];
    Page* page = kind.make(host_, window_);
    page->setObjectName(ControlName(kind.id));  // the window's container id, whatever the page calls itself
    page->hide();
    pages_[slot] = page;
    KeepBottomBarLast(window_);
    if (layout_) {
        // A page built after the window was laid out takes its place in the layout now.
        layout_->Add(page, kPageRect, kFixedStretch);
        page->UISize(scale_);
    }
    page->setEnabled(pagesEnabled_);
    // What the page missed before it existed: the model, the settings, the link.
    if (modelSet_) page->ModelLoaded(model_);
    if (page->RefreshesOn(kEveryPage)) page->Refresh();
    if (auto* info = qobject_cast<DeviceInfoPage*>(page)) info->ShowVersionLabels();
    return page;
}

void MainTabs::Refresh(unsigned pages) {
    for (Page* page : Pages())
        if (page->RefreshesOn(pages)) page->Refresh();
}

int MainTabs::CurrentItem() const {
    const int item = strip_->GetItemId(strip_->GetCurSel());
    return item > 0 ? item : kHomeItem;
}

void MainTabs::SelectIndex(int index) {
    strip_->SetCurSel(index);
    Show(shown_);
}

void MainTabs::SelectItem(int item) {
    SelectIndex(strip_->IndexOfItem(item));
}

void MainTabs::SetModel(const ModelState& model) {
    model_ = model;
    modelSet_ = true;
    const int index = strip_->IndexOfItem(kLightingItem);
    strip_->SetItemVisible(index, model.light);
    if (!model.light && strip_->GetCurSel() == index) SelectIndex(kButtonsIndex);
}

void MainTabs::Show(bool shown) {
    shown_ = shown;
    background_->setVisible(shown);
    strip_->setVisible(shown);
    Page* current = shown ? PageOf(CurrentItem()) : nullptr;
    for (Page* page : Pages()) page->setVisible(page == current);
    if (backdrop_)
        backdrop_->setVisible(shown && current != Built(kButtonsItem) && !backdrop_->geometry().isEmpty());
}

void MainTabs::SetEnabled(bool enabled) {
    strip_->setEnabled(enabled);
}

void MainTabs::SetPagesEnabled(bool enabled) {
    pagesEnabled_ = enabled;
    for (Page* page : Pages()) page->setEnabled(enabled);
}

void MainTabs::Declare(DesignLayout& layout) {
    layout_ = &layout;
    layout.Add(background_, Ltrb(8, 58, 200, 730), EdgeRules{Fixed(), Fixed(), Fixed(), Fixed(Anchor::End)});
    layout.Add(strip_, Ltrb(13, 120, 195, 480), EdgeRules{Fixed(), Scaled(), Fixed(), Scaled()});
}

void MainTabs::Place(qreal scale) {
    scale_ = scale;
    if (!layout_) return;
    for (Page* page : Pages()) {
        layout_->Add(page, kPageRect, kFixedStretch);
        page->UISize(scale);
    }
}

}  // namespace quorvel
