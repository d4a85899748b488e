#include "ui/window/MainTabs.h"

#include "toolkit/Glyphs.h"
#include "toolkit/MPicture.h"
#include "toolkit/MTabCtrl.h"
#include "ui/pages/buttons/ButtonPage.h"
#include "ui/pages/deviceinfo/DeviceInfoPage.h"
#include "ui/pages/lighting/LightingPage.h"
#include "ui/pages/macros/MacroPage.h"
#include "ui/pages/performance/PerformancePage.h"
#include "ui/common/DesignLayout.h"
#include "ui/common/UiRect.h"
#include "ui/common/UiText.h"

namespace quorvel {

namespace {

struct TabItem {
    int item;
    int text;
    const char* icon;
    Glyph glyph;
};
constexpr TabItem kItems[] = {
    {MainTabs::kHomeItem, 71, "icon\\tab_home.png", Glyph::Home},
    {MainTabs::kButtonsItem, 72, "icon\\tab_key.png", Glyph::Keys},
    {MainTabs::kPerformanceItem, 73, "icon\\tab_dpi.png", Glyph::Dpi},
    {MainTabs::kMacrosItem, 74, "icon\\tab_macro.png", Glyph::Macro},
    {MainTabs::kLightingItem, 75, "icon\\tab_light.png", Glyph::Light},
    {MainTabs::kDeviceInfoItem, 76, "icon\\tab_set.png", Glyph::Info},
};
constexpr int kButtonsIndex = 1;

template <typename T>
T* NewPage(PageHost& host, QWidget* window, int id) {
    auto* page = new T(host, window);
    page->setObjectName(ControlName(id));  // the window's container id, whatever the page calls itself
    page->hide();
    return page;
}

}  // namespace

MainTabs::MainTabs(PageHost& host, QWidget* window, TextRegistry& texts) : QObject(window), window_(window) {
    background_ = new MPicture(QStringLiteral("img_area_bkg.png"), MPicture::Mode::Frame, window);
    background_->setObjectName(ControlName(kTabBackground));
    strip_ = new MTabCtrl(window);
    strip_->setObjectName(ControlName(kTabStrip));
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

    // The pages in the order the design builds them.
    buttons_ = NewPage<ButtonPage>(host, window, kButtonPage);
    performance_ = NewPage<PerformancePage>(host, window, kPerformancePage);
    lighting_ = NewPage<LightingPage>(host, window, kLightingPage);
    macros_ = NewPage<MacroPage>(host, window, kMacroPage);
    deviceInfo_ = NewPage<DeviceInfoPage>(host, window, kDeviceInfoPage);

    background_->lower();  // under the logo, the status title and the battery that sit on it
    background_->hide();
    strip_->hide();
}

std::vector<Page*> MainTabs::Pages() const {
    return {buttons_, performance_, macros_, lighting_, deviceInfo_};
}

Page* MainTabs::PageOf(int item) const {
    switch (item) {
        case kButtonsItem:
            return buttons_;
        case kPerformanceItem:
            return performance_;
        case kMacrosItem:
            return macros_;
        case kLightingItem:
            return lighting_;
        case kDeviceInfoItem:
            return deviceInfo_;
        default:
            return nullptr;
    }
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

void MainTabs::SetLightingVisible(bool visible) {
    const int index = strip_->IndexOfItem(kLightingItem);
    strip_->SetItemVisible(index, visible);
    if (!visible && strip_->GetCurSel() == index) SelectIndex(kButtonsIndex);
}

void MainTabs::Show(bool shown) {
    shown_ = shown;
    background_->setVisible(shown);
    strip_->setVisible(shown);
    Page* current = shown ? PageOf(CurrentItem()) : nullptr;
    for (Page* page : Pages()) page->setVisible(page == current);
    if (backdrop_) backdrop_->setVisible(shown && current != buttons_ && !backdrop_->geometry().isEmpty());
}

void MainTabs::SetEnabled(bool enabled) {
    strip_->setEnabled(enabled);
}

void MainTabs::SetPagesEnabled(bool enabled) {
    for (Page* page : Pages()) page->setEnabled(enabled);
}

void MainTabs::Declare(DesignLayout& layout) {
    layout_ = &layout;
    layout.Add(background_, Ltrb(8, 58, 200, 730), EdgeRules{Fixed(), Fixed(), Fixed(), Fixed(Anchor::End)});
    layout.Add(strip_, Ltrb(13, 120, 195, 480), EdgeRules{Fixed(), Scaled(), Fixed(), Scaled()});
}

void MainTabs::Place(qreal scale) {
    if (!layout_) return;
    for (Page* page : Pages()) {
        layout_->Add(page, Ltrb(200, 80, 1380, 738), kFixedStretch);
        page->UISize(scale);
    }
}

}  // namespace quorvel
