#include "ui/window/DeviceMainDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSignalBlocker>
#include <QWindow>
#include <algorithm>

#include "actions/FeatureActions.h"
#include "actions/ProfileActions.h"
#include "actions/ProfileBindings.h"
#include "session/CoreSession.h"
#include "shell/Preferences.h"
#include "store/DeviceDatabase.h"
#include "toolkit/CDeviceList.h"
#include "ui/common/DesignLayout.h"
#include "ui/common/FileDialogs.h"
#include "ui/common/LogoWidget.h"
#include "ui/common/Page.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiRect.h"
#include "ui/common/UiText.h"
#include "ui/dialogs/AboutDlg.h"
#include "ui/dialogs/CUIMessageBox.h"
#include "ui/dialogs/DPIMsgDlg.h"
#include "ui/dialogs/ProfileDlg.h"
#include "ui/dialogs/SaveWaitDlg.h"
#include "ui/pages/home/HomePage.h"
#include "ui/pages/lighting/LightingPage.h"
#include "ui/pages/settings/SettingsPage.h"
#include "ui/window/AfterNextFrame.h"
#include "ui/window/DeviceEvents.h"
#include "ui/window/MainFrame.h"
#include "ui/window/MainTabs.h"
#include "ui/window/MainViews.h"
#include "ui/window/ProfileFollow.h"
#include "ui/window/TaskNotice.h"
#include "ui/window/TrayIcon.h"
#include "ui/window/UpdateUi.h"
#include "ui/window/ViewBridge.h"

namespace quorvel {

namespace {

// A window never gets smaller than this part of the design when the screen is small.
constexpr qreal kSmallestScale = 0.6;
// The pages' share of the design: right of the sidebar, between the caption and the bottom bar. Sidebar and
// bars keep their design pixels, so a window smaller than the design leaves the pages less than the
// window's scale of it: their content takes the scale of the box that is left.
constexpr QSize kPageDesign{1180, 658};

}  // namespace

DeviceMainDlg::DeviceMainDlg(const QString& title, const QString& softwareVersion)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), softwareVersion_(softwareVersion) {
    setObjectName(QStringLiteral("DeviceMainDlg"));
    setWindowTitle(title);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(kDesignSize);
    Events().setParent(this);  // where the dialogs of the window find it
    texts_ = new TextRegistry(this);
    frame_ = new MainFrame(this, *texts_, title, softwareVersion);
    layout_ = new DesignLayout(this, kDesignSize);
    frame_->Declare(*layout_);
    ownFiles_ = std::make_unique<QtFileDialogs>();
    files_ = ownFiles_.get();
    ConnectFrame();

    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, &DeviceMainDlg::ShowAbout);
}

DeviceMainDlg::~DeviceMainDlg() {
    Teardown();
}

void DeviceMainDlg::ConnectFrame() {
    connect(frame_, &MainFrame::logoClicked, this, &DeviceMainDlg::ShowAbout);
    connect(frame_, &MainFrame::closeClicked, this, &DeviceMainDlg::OnCloseButton);
    connect(frame_, &MainFrame::minimiseClicked, this, &QWidget::showMinimized);
    connect(frame_, &MainFrame::maximiseClicked, this, &DeviceMainDlg::ToggleMaximised);
    // Until the settings page exists (Attach), the settings button opens About.
    connect(frame_, &MainFrame::settingsClicked, this, [this] {
        if (views_)
            views_->OpenSettings();
        else
            ShowAbout();
    });
    connect(frame_, &MainFrame::profileClicked, this, &DeviceMainDlg::OpenProfiles);
    connect(frame_, &MainFrame::resetClicked, this, [this] {
        if (session_) ConfirmFactoryReset(*this);
    });
}

void DeviceMainDlg::Attach(CoreSession& session) {
    if (session_) return;
    SetSession(&session);
    bridge_ = std::make_unique<ViewBridge>(Events(), [&session] { return ReadLink(session); });
    frame_->SetProfileNameRule([this](const QString& stored) {
        return QString::fromStdString(ShownProfileName(session_->Actions(), stored.toStdString()));
    });

    // The window's own handling of discovery's views comes first: open edits are dropped before any part
    // changes under them.
    FollowEvents();
    home_ = new HomePage(*texts_, this);
    home_->SetModels(session.Product().models);
    home_->Follow(Events());
    connect(home_, &HomePage::deviceClicked, this, &DeviceMainDlg::PickDevice);
    frame_->Follow(Events(), [this] { return Attached() ? ReadModelFeatures(Actions()) : ModelFeatures{}; });
    tabs_ = new MainTabs(*this, this, *texts_);
    tabs_->SetBackdrop(frame_->ModelPicture());
    connect(tabs_, &MainTabs::itemClicked, this, [this](int item) { views_->PickTab(item); });
    KeepBottomBarLast(this);
    views_ = std::make_unique<MainViews>(*frame_, *home_, *tabs_,
                                         [this]() -> SettingsPage& { return Settings(); });
    layout_->Add(home_, Ltrb(20, 80, 1380, 738), kFixedStretch);
    tabs_->Declare(*layout_);
    views_->Follow(Events());

    tray_ = new TrayIcon(*texts_, this);
    settingsFacts_.trayAvailable = tray_->Show(windowTitle());
    connect(tray_, &TrayIcon::showRequested, this, &DeviceMainDlg::ShowFromOutside);
    connect(tray_, &TrayIcon::exitRequested, this, [this] { RequestExit(); });

    updates_ = new UpdateUi(*this, this);
    connect(&Events(), &DeviceEvents::installerStarted, this, &DeviceMainDlg::ExitForInstaller);
    follow_ = new ProfileFollow(*this, [this] { return updates_->Busy(); }, this);
    connect(follow_, &ProfileFollow::followed, this, &DeviceMainDlg::ShowFollowed);

    // The database tells of a damaged file it set aside, on the thread that opened it.
    session.Database().SetDamagedListener([this](const DamagedDatabase& damaged) {
        const QString message = QString::fromStdString(DamagedDatabaseMessage(damaged));
        QMetaObject::invokeMethod(
            this, [this, message] { ShowFileProblem(message); }, Qt::QueuedConnection);
    });
    UISize();
    // While the window paints for the first time and discovery runs, the pool draws the cards' pictures.
    home_->List().PrerenderPictures();
}

SettingsPage& DeviceMainDlg::Settings() {
    if (settings_) return *settings_;
    settings_ = new SettingsPage(*texts_, session_->Product(), this);
    settings_->hide();
    KeepBottomBarLast(this);
    connect(settings_, &SettingsPage::leaveRequested, this, [this] { views_->LeaveSettings(); });
    connect(settings_, &SettingsPage::aboutRequested, this, &DeviceMainDlg::ShowAbout);
    connect(settings_, &SettingsPage::checkSoftwareRequested, this, &DeviceMainDlg::StartSoftwareCheck);
    connect(settings_, &SettingsPage::followToggled, this, [this](bool on) {
        ProfileFollow::SetSwitch(on);
        UpdateFollow();
    });
    layout_->Add(settings_, Ltrb(1, 50, 1399, 748), kFixedStretch);
    settingsFacts_.followAvailable = FollowAvailable();
    TellSettings();
    return *settings_;
}

void DeviceMainDlg::TellSettings() {
    if (!settings_) return;
    const SettingsFacts& facts = settingsFacts_;
    settings_->SetTrayAvailable(facts.trayAvailable);
    settings_->SetFollow(facts.followOn, facts.followAvailable);
    settings_->SetSoftwareCheck(facts.check, facts.newest);
}

void DeviceMainDlg::ShowSoftwareCheckState(SettingsPage::Check check, const QString& newest) {
    settingsFacts_.check = check;
    settingsFacts_.newest = newest;
    TellSettings();
}

DeviceView& DeviceMainDlg::Bridge() {
    return *bridge_;
}

void DeviceMainDlg::SetFileDialogs(FileDialogs* files) {
    files_ = files ? files : ownFiles_.get();
}

void DeviceMainDlg::Teardown() {
    if (tornDown_) return;
    tornDown_ = true;
    if (follow_) follow_->Stop();  // no switch is queued once the worker stops
    if (session_) {
        session_->Stop();  // the worker is joined: nothing reports any more
        if (session_->DevicesOpen()) session_->Database().SetDamagedListener(nullptr);
    }
    if (bridge_) bridge_->Detach();
    if (session_) CloseTransientWindows();
    if (tray_) tray_->Remove();
}

// --- what the worker reports

void DeviceMainDlg::FollowEvents() {
    DeviceEvents& events = Events();
    // Before the pages go: a field losing its focus must not store for another mouse.
    connect(&events, &DeviceEvents::noDeviceView, this, [this] { LeaveMouse(false); });
    connect(&events, &DeviceEvents::deviceListView, this, [this] { LeaveMouse(false); });
    connect(&events, &DeviceEvents::linkLostView, this, [this] { LeaveMouse(true); });
    connect(&events, &DeviceEvents::connectedView, this, &DeviceMainDlg::ShowConnectedView);
    connect(&events, &DeviceEvents::closeTransientWindows, this, &DeviceMainDlg::CloseTransients);
    connect(&events, &DeviceEvents::modelLoaded, this, &DeviceMainDlg::ApplyModel);
    connect(&events, &DeviceEvents::macroRecordingStopped, this, [this] { SetRecording(false); });
    connect(&events, &DeviceEvents::dpiLevelSelected, this,
            [this](int, int dpiValue, int) { ShowDpiIndicator(dpiValue); });
    connect(&events, &DeviceEvents::softwareCheckLabel, this, &DeviceMainDlg::ShowSoftwareCheck);
    connect(&events, &DeviceEvents::taskFinished, this, &DeviceMainDlg::OnTaskEnding);
    connect(&events, &DeviceEvents::taskSettled, this, &DeviceMainDlg::OnTaskFinished);
}

void DeviceMainDlg::RefreshPages(unsigned pages) {
    tabs_->Refresh(pages);
}

void DeviceMainDlg::ApplyModel(const ModelState& model) {
    model_ = model;
    frame_->SetModelPicture(model.mouse_img.empty()
                                ? QString()
                                : QStringLiteral("device\\") + QString::fromStdString(model.mouse_img));
    tabs_->SetModel(model);  // the pages built so far take it themselves
    views_->Apply();
    UpdateFollow();  // another model: its own bindings
}

void DeviceMainDlg::OnTaskEnding(uint64_t id, const DeviceTaskRequest& request, const TaskResult& result) {
    (void)id, (void)result;
    if (request.code == kTaskSelectDevice && pendingPick_ != 0 && request.deviceType == pendingPick_) {
        // The last pick is loaded: the pages show the picked model.
        pendingPick_ = 0;
        SetPagesLoading(false);
        FirstLoadDone();
    }
    const bool discovery =
        request.code == kTaskStart || request.code == kTaskArrival || request.code == kTaskRemoval;
    if (discovery &&
        (!session_->Manager().HasOnlineDevice(session_->Core().CurrentDeviceType()) || !isVisible()))
        FirstLoadDone();  // nothing to pick now: the check need not wait
}

void DeviceMainDlg::OnTaskFinished(uint64_t id, const DeviceTaskRequest& request, const TaskResult& result) {
    // The pages and the update dialogs have seen the end.
    if (request.code == kTaskCheckSoftware) ShowSoftwareCheck();
    ShowTaskNotice(request, result);
    // The mouse is back, an update ended: a profile switch kept for later may go now.
    if (follow_) follow_->Retry();
    emit taskEnded(id, request, result);
    // The mouse the user was on is back: its pages again.
    if (lostType_ != 0 && (request.code == kTaskStart || request.code == kTaskArrival) &&
        views_->Current() == MainViews::View::DeviceList && !views_->SettingsOpen() &&
        session_->Manager().HasOnlineDevice(lostType_))
        PickDevice(lostType_);
    if (exitWhenIdle_ && !updates_->Busy()) {
        exitWhenIdle_ = false;
        emit ExitRequested();
    }
}

void DeviceMainDlg::ShowTaskNotice(const DeviceTaskRequest& request, const TaskResult& result) {
    const TaskNotice notice = NoticeForTask(request, result);
    if (notice.textIds.empty()) return;
    if (!notice.box) {
        frame_->ShowNotice(notice.textIds, kNoticeMs);
        return;
    }
    QString message;
    for (int id : notice.textIds) message += (message.isEmpty() ? QString() : QStringLiteral(" ")) + Text(id);
    OpenMessageBox(this, notice.boxTitle, message, kBoxOk, nullptr);
}

void DeviceMainDlg::ShowSoftwareCheck() {
    const VersionCheck check = UpdateCheck(kUpdateSoftware);
    if (!check.ok)
        ShowSoftwareCheckState(SettingsPage::Check::Failed);
    else if (check.newer)
        ShowSoftwareCheckState(SettingsPage::Check::Newer, QString::fromStdString(check.newest));
    else
        ShowSoftwareCheckState(SettingsPage::Check::UpToDate);
}

void DeviceMainDlg::CheckSoftwareAfterFirstLoad() {
    startupCheckDue_ = true;
}

void DeviceMainDlg::FirstLoadDone() {
    if (!startupCheckDue_ || !session_) return;
    startupCheckDue_ = false;
    // After the picked model's page has painted: the check's download set-up is no part of it.
    AfterNextFrame(*this, [this] {
        if (session_ && !tornDown_) CheckSoftware();
    });
}

void DeviceMainDlg::SetPagesLoading(bool loading) {
    tabs_->SetPagesEnabled(!loading);
    frame_->SetProfileEnabled(!loading && !recording_);
    frame_->SetResetEnabled(!loading);
}

void DeviceMainDlg::CancelEdits() {
    if (!tabs_) return;
    for (Page* page : tabs_->Pages()) page->CloseTransient();
    // A field still being typed in would store its text on losing focus, for whatever mouse is current
    // then: it loses the focus quietly, and the pages show the stored values again.
    QWidget* focus = QApplication::focusWidget();
    bool inPages = false;
    for (Page* page : tabs_->Pages()) inPages = inPages || (focus && page->isAncestorOf(focus));
    if (inPages) {
        const QSignalBlocker quiet(focus);
        focus->clearFocus();
        RefreshPages(kPageButtons | kPageMacros | kPagePerformance | kPageLighting);
    }
}

void DeviceMainDlg::LeaveMouse(bool linkLost) {
    CancelEdits();
    if (!views_ || views_->Current() != MainViews::View::Device || pickedType_ == 0) return;
    // Still reachable: another mouse came and the list offers the choice.
    if (!linkLost && session_->Manager().HasOnlineDevice(pickedType_)) return;
    lostType_ = pickedType_;
    frame_->ShowNotice({linkLost ? txt::kLinkLost : txt::kUnplugged}, kNoticeMs);
}

void DeviceMainDlg::ShowConnectedView(int titleTextId) {
    lostType_ = 0;
    views_->ShowDevice(titleTextId);
}

void DeviceMainDlg::CloseTransientWindows() {
    emit Events().closeTransientWindows();
}

void DeviceMainDlg::CloseTransients() {
    // Message boxes end with 2 (a question open while the mouse went is no consent).
    CloseMessageBoxes();
    CancelEdits();
    if (saveWait_) saveWait_->hide();
    // Menus, drop-down lists and pop-ups must not outlive a device change; the dialogs that must not
    // either close themselves on the signal; the update dialogs (a firmware transfer's progress) stay.
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w == this || !w->isVisible()) continue;
        if (qobject_cast<QMenu*>(w) || w->windowType() == Qt::Popup) w->close();
    }
}

QString DeviceMainDlg::DescribeView() const {
    if (!views_) return QStringLiteral("starting tab 1 model 0");
    static const char* const kNames[] = {"starting", "no-device", "device-list", "device"};
    const char* view = views_->SettingsOpen() ? "settings" : kNames[static_cast<int>(views_->Current())];
    return QStringLiteral("%1 tab %2 model %3")
        .arg(QLatin1String(view))
        .arg(tabs_->CurrentItem())
        .arg(session_->Core().CurrentDeviceType());
}

// --- PageHost

bool DeviceMainDlg::UpdateRunning() const {
    return updates_ && updates_->Busy();
}

// The indicators are made when first needed: the first view does not show them.
void DeviceMainDlg::ShowSavingIndicator() {
    if (tornDown_) return;
    if (!saveWait_) saveWait_ = new SaveWaitDlg(this);
    saveWait_->ShowSaving();
}

DPIMsgDlg* DeviceMainDlg::DpiIndicator() {
    if (!dpiIndicator_ && !tornDown_) dpiIndicator_ = new DPIMsgDlg(this);
    return dpiIndicator_;
}

void DeviceMainDlg::ShowDpiIndicator(int dpiValue) {
    if (DPIMsgDlg* indicator = DpiIndicator()) indicator->ShowValue(dpiValue);
}

void DeviceMainDlg::ProfileChanged() {
    std::string name;
    ReadProfileName(Actions(), session_->Core().CurrentProfile(), &name);
    frame_->SetProfileName(QString::fromStdString(name));
    tray_->SetTip(windowTitle() + QStringLiteral(" - ") +
                  QString::fromStdString(ShownProfileName(session_->Actions(), name)));
    RefreshPages(kPageButtons | kPageMacros | kPagePerformance | kPageLighting);
    if (follow_) follow_->ProfileChanged();
}

void DeviceMainDlg::BindingsChanged() {
    UpdateFollow();
}

void DeviceMainDlg::UpdateFollow() {
    if (!follow_) return;
    follow_->Reconsider();
    std::vector<ProfileBinding> bindings;
    ListBindings(session_->Actions(), &bindings);
    settingsFacts_.followOn = ProfileFollow::SwitchOn(AnyBinding(bindings));
    if (settings_) settingsFacts_.followAvailable = FollowAvailable();
    TellSettings();
}

bool DeviceMainDlg::FollowAvailable() const {
    if (!follow_) return true;
    if (!follow_->Unavailable().isEmpty()) return false;
    return follow_->Active() || FocusUnavailableReason().empty();
}

void DeviceMainDlg::ShowFollowed(int profile) {
    std::string name;
    ReadProfileName(Actions(), profile, &name);
    if (DPIMsgDlg* indicator = DpiIndicator())
        indicator->ShowProfile(QString::fromStdString(ShownProfileName(session_->Actions(), name)));
}

void DeviceMainDlg::SetRecording(bool recording) {
    recording_ = recording;
    tabs_->SetEnabled(!recording);
    frame_->SetProfileEnabled(!recording && pendingPick_ == 0);
}

// --- user actions

void DeviceMainDlg::PickDevice(int deviceType) {
    if (!session_->Manager().HasOnlineDevice(deviceType)) {
        OpenMessageBox(this, txt::kNotConnected, txt::kPleaseConnect, kBoxOk, nullptr);
        return;
    }
    CancelEdits();
    pickedType_ = deviceType;
    lostType_ = 0;
    // The model switch is the worker's (task 4), after every request queued before it. A pick made while
    // another switch waits is queued too, so the last pick is the model loaded.
    const int loading = pendingPick_ != 0 ? pendingPick_ : session_->Core().CurrentDeviceType();
    if (deviceType != loading) {
        session_->Worker().QueueTask(SelectDeviceRequest(deviceType));
        pendingPick_ = deviceType;
        SetPagesLoading(true);
    } else if (pendingPick_ == 0) {
        FirstLoadDone();  // the model shown is the one picked
    }
    home_->List().SetSelectDevice(deviceType);
    views_->ShowDevice(home_->List().GetDeviceLinkMode(deviceType) == 1 ? kTitleWireless : kTitleWired);
}

void DeviceMainDlg::OpenProfiles() {
    if (!session_) return;
    if (!session_->Core().Snapshot().connected) {
        OpenMessageBox(this, txt::kNotice, txt::kNotConnected, kBoxOk, nullptr);
        return;
    }
    ProfileDlg::Open(*this, frame_->ProfileButton());
}

void DeviceMainDlg::StartSoftwareCheck() {
    ShowSoftwareCheckState(SettingsPage::Check::Checking);
    CheckSoftware();
}

void DeviceMainDlg::ShowFileProblem(const QString& message) {
    OpenProgramNotice(this, txt::kNotice, message);
}

// --- exits

void DeviceMainDlg::OnCloseButton() {
    if (ReadExitMode() != 1) {
        RequestExit();
        return;
    }
    // Hidden into the tray; without a tray the window could not be reached again, so it is minimised.
    if (tray_ && tray_->Shown())
        hide();
    else
        showMinimized();
}

void DeviceMainDlg::RequestExit(bool fromSignal) {
    if (updates_ && updates_->Busy()) {
        exitWhenIdle_ = exitWhenIdle_ || fromSignal;
        if (!waitNoticeOpen_) {
            waitNoticeOpen_ = true;
            OpenMessageBox(this, txt::kUpdateRunning, txt::kWaitForUpdate, kBoxOk,
                           [this](int) { waitNoticeOpen_ = false; });
        }
        return;
    }
    if (tray_) tray_->Remove();
    emit ExitRequested();
}

void DeviceMainDlg::ExitForInstaller() {
    if (tray_) tray_->Remove();
    emit ExitRequested();
}

void DeviceMainDlg::closeEvent(QCloseEvent* event) {
    // The window manager's close (Alt+F4) acts as the close button; the window itself lives until the
    // program shuts down.
    event->ignore();
    OnCloseButton();
}

// --- the window

void DeviceMainDlg::UISize() {
    scale_ = height() / qreal(kDesignSize.height());
    const QSize pageBox = size() - (kDesignSize - kPageDesign);
    pageScale_ = std::min({scale_, pageBox.width() / qreal(kPageDesign.width()),
                           pageBox.height() / qreal(kPageDesign.height())});
    layout_->SetScale(scale_);
    frame_->Place(width(), height(), scale_, isMaximized());
    if (!session_) return;
    home_->UISize(scale_);
    tabs_->Place(pageScale_);
}

void DeviceMainDlg::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The icon (rendered at several sizes and sent to the window system) waits until the window has
    // painted its first frame: the first view does not need it.
    if (!iconPending_) {
        iconPending_ = true;
        AfterNextFrame(*this, [this] { setWindowIcon(AppIcon()); });
    }
}

void DeviceMainDlg::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    UISize();
}

void DeviceMainDlg::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) UISize();
}

void DeviceMainDlg::paintEvent(QPaintEvent*) {
    QPainter p(this);
    MainFrame::Paint(p, rect());
}

void DeviceMainDlg::PlaceOnScreen() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect available = screen->availableGeometry();
    // Keep the design's aspect; shrink (down to a limit) when the screen is smaller than the design.
    const qreal fit = qMin(available.width() / qreal(kDesignSize.width()),
                           available.height() / qreal(kDesignSize.height()));
    const qreal k = qBound(kSmallestScale, fit, 1.0);
    resize((QSizeF(kDesignSize) * k).toSize());
    QRect frame = frameGeometry();
    frame.moveCenter(available.center());
    move(frame.topLeft());
}

void DeviceMainDlg::ShowFromOutside() {
    if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void DeviceMainDlg::ShowAbout() {
    AboutDlg about(this, releaseSource_ ? releaseSource_() : 0, softwareVersion_);
    QRect frame = about.frameGeometry();
    frame.moveCenter(frameGeometry().center());
    about.move(frame.topLeft());
    about.exec();
}

bool DeviceMainDlg::InCaption(const QPoint& pos) const {
    return pos.y() < kCaptionHeight && childAt(pos) == nullptr;
}

void DeviceMainDlg::mousePressEvent(QMouseEvent* event) {
    // The window system moves the window (also on Wayland, where a client cannot place itself).
    if (event->button() == Qt::LeftButton && InCaption(event->position().toPoint()) && windowHandle()) {
        windowHandle()->startSystemMove();
        return;
    }
    QWidget::mousePressEvent(event);
}

void DeviceMainDlg::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && InCaption(event->position().toPoint())) {
        ToggleMaximised();
        return;
    }
    QWidget::mouseDoubleClickEvent(event);
}

void DeviceMainDlg::ToggleMaximised() {
    if (isMaximized())
        showNormal();
    else
        showMaximized();
}

}  // namespace quorvel
