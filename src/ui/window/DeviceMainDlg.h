#pragma once
// The main window: a thin coordinator over its parts. Built in two steps, so the first view costs only the
// frame:
//
//   DeviceMainDlg(title, version)  the frame (MainFrame): caption, caption buttons, logo, bottom bar
//   Attach(session)                the rest, on the core's composition root: the home page with the device
//                                  list (HomePage), the tab strip (MainTabs, whose pages are built when
//                                  first shown), the tray icon, the update dialogs' handler and the
//                                  view bridge that the session is started on (Bridge())
//
// What the first view does not show is made when first needed: the settings page when it opens, the DPI
// and saving indicators when they show.
//
// Everything the worker reports arrives through the bridge as a signal of the events object (Events()) on
// the UI thread; each part connects to the signals it shows, and the views (MainViews) decide what is
// visible. The window is the pages' PageHost: they reach the core only through it.
//
// Teardown: Teardown() stops the session (the worker is joined, a running download cancelled), closes
// the transient windows and removes the tray icon, in that order; the destructor runs it too.
//
// Geometry is the design's: a 1400 x 788 client area whose controls are declared to the window's design
// layout; UISize sets the layout scale, the client height / 788, and the pages' scale (LayoutScale), the
// same unless the pages' box is smaller than their share of it.

#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>

#include "device/DeviceTaskRequest.h"
#include "device/TaskResult.h"
#include "shell/DeviceDescriptor.h"
#include "ui/common/CorePageHost.h"
#include "ui/pages/settings/SettingsPage.h"
#include "ui/window/MainViews.h"

namespace quorvel {

class CoreSession;
class DPIMsgDlg;
class DesignLayout;
class DeviceView;
class HomePage;
class MainFrame;
class MainTabs;
class MainViews;
class ProfileFollow;
class SaveWaitDlg;
class TrayIcon;
class UpdateUi;
class ViewBridge;

class DeviceMainDlg : public QWidget, public CorePageHost {
    Q_OBJECT
public:
    // Control ids are the parts' (MainFrame::Id for the frame).
    static constexpr QSize kDesignSize{1400, 788};
    static constexpr int kCaptionHeight = 50;
    // How long a failed change's reason stays in the bottom bar.
    static constexpr int kNoticeMs = 8000;

    // title: the device name; softwareVersion: the version of config.xml.
    DeviceMainDlg(const QString& title, const QString& softwareVersion);
    ~DeviceMainDlg() override;

    // Builds the pages and the rest on the session (opened, not started); start the session on Bridge().
    void Attach(CoreSession& session);
    bool Attached() const { return session_ != nullptr; }
    DeviceView& Bridge();
    // Stops the session, closes the transient windows, removes the tray icon. Idempotent.
    void Teardown();

    // Where About finds the HID release number of the first wired mouse (0 when there is none).
    void SetReleaseSource(std::function<uint32_t()> source) { releaseSource_ = std::move(source); }
    // Open and save dialogs for the pages (Qt's by default; tests answer from a script).
    void SetFileDialogs(FileDialogs* files);

    // Size for the screen (the design size, smaller when the screen is) and centred on it.
    void PlaceOnScreen();
    // A second start (or the tray, or a mouse found) asks for the window: shown, restored and raised.
    void ShowFromOutside();
    // The About box, modal.
    void ShowAbout();
    // The close button: exit mode 1 hides the window into the tray (minimises it when the desktop has no
    // tray); any other exit mode ends the program.
    void OnCloseButton();
    // Ends the program (ExitRequested), unless an update is being downloaded or sent to the mouse: then
    // the user is asked to wait; after a termination signal the program ends once the update is done.
    void RequestExit(bool fromSignal = false);
    // The set-up program of a software update runs: the program ends now.
    void ExitForInstaller();
    // A problem with the program's own files (a damaged database set aside, no trace log): a notice box.
    void ShowFileProblem(const QString& message);

    // The home page, for tests that click a card as the user does (after Attach).
    HomePage& Home() { return *home_; }
    // An update is queued or runs: the program must not end now.
    bool UpdateRunning() const;
    // The view shown, and whether the settings page lies over it (after Attach).
    MainViews::View CurrentView() const { return views_->Current(); }
    bool SettingsOpen() const { return views_->SettingsOpen(); }

    // Menus, pop-ups, message boxes and the pages' open edits close (closeTransientWindows of Events()).
    void CloseTransientWindows();
    // The pages' open edits, panels and pickers are dropped, never applied (their mouse goes away or
    // another is picked); a field being typed in shows its stored value again.
    void CancelEdits();
    // The pages are about to go (discovery's views, a lost link): open edits are dropped; when the mouse
    // the user was on went away, the status line says why, and the window goes back to that mouse when it
    // comes back.
    void LeaveMouse(bool linkLost);
    // A wireless link came back: the pages of that mouse again.
    void ShowConnectedView(int titleTextId);
    void ShowSoftwareCheck();
    // The start-up software check waits for the first model load (a pick, or a discovery that found no
    // mouse to pick), so a slow network never holds up the model the user asked for.
    void CheckSoftwareAfterFirstLoad();
    // The model a pick asked for while the worker has not loaded it yet (0: none); the pages take no input
    // meanwhile.
    int PendingPick() const { return pendingPick_; }
    const ModelState& Model() const { return model_; }
    // What the window shows, for scripts and process tests: "<view> tab <item> model <device type>", the
    // view one of starting, no-device, device-list, device, settings.
    QString DescribeView() const;
    bool Recording() const { return recording_; }

    // PageHost (the core half is CorePageHost's)
    void ShowSavingIndicator() override;
    void ShowDpiIndicator(int dpiValue) override;
    void ProfileChanged() override;
    void BindingsChanged() override;
    void SetRecording(bool recording) override;
    QWidget* Window() override { return this; }
    TextRegistry& Texts() override { return *texts_; }
    FileDialogs& Files() override { return *files_; }
    qreal LayoutScale() const override { return pageScale_; }

signals:
    // The user ends the program; the application quits its event loop and shuts down in order.
    void ExitRequested();
    // A task's end was shown (after the pages and the update dialogs saw it).
    void taskEnded(quint64 id, quorvel::DeviceTaskRequest request, quorvel::TaskResult result);

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // What the worker reports, on the UI thread.
    void FollowEvents();
    void RefreshPages(unsigned pages);
    void ApplyModel(const ModelState& model);
    // A task's end: what the window does before the parts see it, and after.
    void OnTaskEnding(uint64_t id, const DeviceTaskRequest& request, const TaskResult& result);
    void OnTaskFinished(uint64_t id, const DeviceTaskRequest& request, const TaskResult& result);
    void CloseTransients();
    void ConnectFrame();
    void UISize();
    void ToggleMaximised();
    bool InCaption(const QPoint& pos) const;
    void PickDevice(int deviceType);
    void OpenProfiles();
    void StartSoftwareCheck();
    void ShowTaskNotice(const DeviceTaskRequest& request, const TaskResult& result);
    // Profiles that follow the game: the watcher started or stopped, the settings page told.
    void UpdateFollow();
    // The settings page, built the first time it opens (the first view does not need it, nor the fonts of
    // the languages it lists).
    SettingsPage& Settings();
    void ShowSoftwareCheckState(SettingsPage::Check check, const QString& newest = QString());
    // Pushes what the window knows for the settings page to the page, when it exists.
    void TellSettings();
    // Whether windows can be followed here. Asked for the settings page only: without a running watcher
    // it connects to the display, tens of milliseconds (and on Wayland it may start XWayland).
    bool FollowAvailable() const;
    void ShowFollowed(int profile);
    // The DPI indicator, made on first use (null once torn down).
    DPIMsgDlg* DpiIndicator();

    QString softwareVersion_;
    std::function<uint32_t()> releaseSource_;
    TextRegistry* texts_ = nullptr;
    MainFrame* frame_ = nullptr;
    DesignLayout* layout_ = nullptr;
    qreal scale_ = 1.0;
    qreal pageScale_ = 1.0;
    bool iconPending_ = false;  // set once the first show asked for it

    std::unique_ptr<ViewBridge> bridge_;
    std::unique_ptr<FileDialogs> ownFiles_;
    FileDialogs* files_ = nullptr;
    HomePage* home_ = nullptr;
    MainTabs* tabs_ = nullptr;
    SettingsPage* settings_ = nullptr;  // built when first opened
    // What the settings page shows from outside, kept here until the page exists.
    struct SettingsFacts {
        bool trayAvailable = true;
        bool followOn = false;
        bool followAvailable = true;  // known once the page exists
        SettingsPage::Check check = SettingsPage::Check::Idle;
        QString newest;
    } settingsFacts_;
    std::unique_ptr<MainViews> views_;
    TrayIcon* tray_ = nullptr;
    UpdateUi* updates_ = nullptr;
    DPIMsgDlg* dpiIndicator_ = nullptr;
    ProfileFollow* follow_ = nullptr;
    SaveWaitDlg* saveWait_ = nullptr;
    ModelState model_;
    bool recording_ = false;
    bool exitWhenIdle_ = false;  // a signal asked to end while an update ran
    bool tornDown_ = false;
    bool waitNoticeOpen_ = false;  // the "wait for the update" notice shows
    int pendingPick_ = 0;
    int pickedType_ = 0;            // the model the user picked last
    int lostType_ = 0;              // the model the user was on when it went away, until it comes back
    bool startupCheckDue_ = false;  // the start-up software check waits for the first model load
    void FirstLoadDone();
    void SetPagesLoading(bool loading);
};

}  // namespace quorvel
