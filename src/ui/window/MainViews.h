#pragma once
// The views of the main window and the moves between them. One state (the view, whether the settings page
// is open, the selected tab) decides what is visible:
//
//   Starting     before the first discovery: the frame only
//   NoDevice     the home page's no-device panel (or the permission problem); tab index 0
//   DeviceList   the home page's device list (discovery found a reachable mouse, a link was lost while
//                another mouse is there, or the home tab was picked)
//   Device       the sidebar with the tab strip and the selected page, the device's status, battery,
//                picture, profile and reset buttons (a mouse was picked, or a wireless link came back)
//
// The settings page lies over any of them; entering NoDevice or DeviceList closes it. It is built the first
// time it opens.

#include <functional>

namespace quorvel {

class DeviceEvents;
class HomePage;
class MainFrame;
class MainTabs;
class SettingsPage;

class MainViews {
public:
    enum class View { Starting, NoDevice, DeviceList, Device };

    // `settings` returns the settings page, building it on the first call.
    MainViews(MainFrame& frame, HomePage& home, MainTabs& tabs, std::function<SettingsPage&()> settings);

    View Current() const { return view_; }
    bool SettingsOpen() const { return settingsOpen_; }

    // Discovery found no usable device (the status title is 50).
    void ShowNoDevice(int titleTextId);
    // Discovery found a reachable device: the list, title 51 (wired) or 52 (wireless).
    void ShowDeviceList(int titleTextId);
    // A device was picked (or its link came back): the pages, the first page tab selected.
    void ShowDevice(int titleTextId);
    // A wireless link was lost: title 50, tab index 0, and the list while other mice remain.
    void ShowLinkLost(int onlineDevices);
    void OpenSettings();
    void LeaveSettings();
    // The user picked an item of the tab strip; the home item goes back to the device list.
    void PickTab(int item);
    // Visibility again (after the model picture or the pages changed).
    void Apply();
    // Discovery's views and the link reports move the views.
    void Follow(DeviceEvents& events);

private:
    MainFrame& frame_;
    HomePage& home_;
    MainTabs& tabs_;
    std::function<SettingsPage&()> buildSettings_;
    SettingsPage* settings_ = nullptr;  // once opened
    View view_ = View::Starting;
    bool settingsOpen_ = false;
};

}  // namespace quorvel
