#include "ui/window/MainViews.h"

#include "device/DiscoveryView.h"
#include "ui/pages/home/HomePage.h"
#include "ui/pages/settings/SettingsPage.h"
#include "ui/window/DeviceEvents.h"
#include "ui/window/MainFrame.h"
#include "ui/window/MainTabs.h"

namespace quorvel {

namespace {
constexpr int kHomeIndex = 0;
constexpr int kFirstPageIndex = 1;
}  // namespace

MainViews::MainViews(MainFrame& frame, HomePage& home, MainTabs& tabs,
                     std::function<SettingsPage&()> settings)
    : frame_(frame), home_(home), tabs_(tabs), buildSettings_(std::move(settings)) {
    Apply();
}

void MainViews::Follow(DeviceEvents& events) {
    QObject::connect(&events, &DeviceEvents::noDeviceView, &events,
                     [this](int title) { ShowNoDevice(title); });
    QObject::connect(&events, &DeviceEvents::deviceListView, &events,
                     [this](int title) { ShowDeviceList(title); });
    QObject::connect(&events, &DeviceEvents::linkLostView, &events,
                     [this](int online) { ShowLinkLost(online); });
}

void MainViews::ShowNoDevice(int titleTextId) {
    view_ = View::NoDevice;
    settingsOpen_ = false;
    frame_.SetStatusTitle(titleTextId);
    tabs_.SelectIndex(kHomeIndex);
    Apply();
}

void MainViews::ShowDeviceList(int titleTextId) {
    view_ = View::DeviceList;
    settingsOpen_ = false;
    frame_.SetStatusTitle(titleTextId);
    Apply();
}

void MainViews::ShowDevice(int titleTextId) {
    view_ = View::Device;
    frame_.SetStatusTitle(titleTextId);
    tabs_.SelectIndex(kFirstPageIndex);
    Apply();
}

void MainViews::ShowLinkLost(int onlineDevices) {
    view_ = onlineDevices < 1 ? View::NoDevice : View::DeviceList;
    frame_.SetStatusTitle(kTitleNoDevice);
    tabs_.SelectIndex(kHomeIndex);
    Apply();
}

void MainViews::OpenSettings() {
    settings_ = &buildSettings_();
    settings_->Refresh();
    settingsOpen_ = true;
    Apply();
}

void MainViews::LeaveSettings() {
    settingsOpen_ = false;
    if (view_ == View::Device) tabs_.SelectIndex(kFirstPageIndex);
    Apply();
}

void MainViews::PickTab(int item) {
    settingsOpen_ = false;
    view_ = item == MainTabs::kHomeItem ? View::DeviceList : View::Device;
    Apply();
}

void MainViews::Apply() {
    const bool device = view_ == View::Device;
    const bool pages = device && !settingsOpen_;
    if (settings_) {
        settings_->setVisible(settingsOpen_);
        if (settingsOpen_) settings_->raise();
    }

    home_.setVisible(!settingsOpen_ && !device);
    switch (view_) {
        case View::Starting:
        case View::Device:
            home_.ShowPanel(HomePage::Panel::Nothing);
            break;
        case View::NoDevice:
            home_.ShowPanel(HomePage::Panel::NoDevice);
            break;
        case View::DeviceList:
            home_.ShowPanel(HomePage::Panel::DeviceList);
            break;
    }
    tabs_.Show(pages);
    // The bottom bar's device buttons stay while the settings page lies over the pages.
    frame_.ShowViewControls(settingsOpen_, pages, device);
}

}  // namespace quorvel
