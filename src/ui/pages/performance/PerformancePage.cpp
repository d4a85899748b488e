#include "ui/pages/performance/PerformancePage.h"

#include <QLabel>
#include <QPushButton>
#include <initializer_list>

#include "actions/MouseSettingsActions.h"
#include "actions/PerformanceActions.h"
#include "device/DeviceView.h"
#include "device/PageState.h"
#include "toolkit/Theme.h"
#include "ui/common/DesignLayout.h"
#include "ui/common/PageHost.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiRect.h"
#include "ui/common/UiText.h"
#include "ui/dialogs/CUIMessageBox.h"
#include "ui/pages/performance/DpiPanel.h"
#include "ui/pages/performance/LiftOffPanel.h"
#include "ui/pages/performance/PowerPanel.h"
#include "ui/pages/performance/ReportRatePanel.h"
#include "ui/pages/performance/SensorPanel.h"
#include "ui/window/DeviceEvents.h"

namespace quorvel {

namespace {

// Design geometry of the groups inside the page (1180 x 658).
constexpr int kWidth = 1180;
constexpr int kDpiTop = 44, kDpiBottom = 352;
constexpr int kRateTop = 364, kRateBottom = 470;
constexpr int kRowTop = 482, kRowBottom = 658;
constexpr int kLiftOffWidth = LiftOffPanel::kDesignWidth, kSensorWidth = SensorPanel::kDesignWidth, kGap = 12;

}  // namespace

PerformancePage::PerformancePage(PageHost& host, QWidget* parent) : Page(host, parent) {
    TextRegistry& texts = host.Texts();
    caption_ = new QLabel(this);
    caption_->setObjectName(ControlName(kCaption));
    texts.BindText(caption_, txt::kPerformance);

    mouseSettingsLabel_ = new QLabel(this);
    mouseSettingsLabel_->setObjectName(ControlName(kMouseSettingsLabel));
    mouseSettingsLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QPalette dim = mouseSettingsLabel_->palette();
    dim.setColor(QPalette::WindowText, palette::kTextDim);
    mouseSettingsLabel_->setPalette(dim);
    texts.BindText(mouseSettingsLabel_, txt::kMouseSettings);
    mouseSettings_ = new QPushButton(this);
    mouseSettings_->setObjectName(ControlName(kMouseSettings));
    texts.BindText(mouseSettings_, txt::kOpen);
    connect(mouseSettings_, &QPushButton::clicked, this, &PerformancePage::OpenMouseSettings);
    // Hidden where the desktop has no mouse-settings program.
    const bool settingsProgram = MouseSettingsAvailable();
    mouseSettingsLabel_->setVisible(settingsProgram);
    mouseSettings_->setVisible(settingsProgram);

    dpi_ = new DpiPanel(host, this);
    rate_ = new ReportRatePanel(host, this);
    liftOff_ = new LiftOffPanel(host, this);
    sensor_ = new SensorPanel(host, this);
    power_ = new PowerPanel(host, this);
    for (PerformancePanel* panel :
         std::initializer_list<PerformancePanel*>{dpi_, rate_, liftOff_, sensor_, power_})
        // Queued: the control that reported the change is not rebuilt under its own signal.
        connect(panel, &PerformancePanel::changeRefused, this, &PerformancePage::Refresh,
                Qt::QueuedConnection);

    layout_ = new DesignLayout(this, QSize(kWidth, kRowBottom));
    layout_->SetFontRule({8, false});
    layout_->Add(caption_, Ltrb(4, 0, 600, 36), 22, QFont::Bold);
    layout_->Add(mouseSettingsLabel_, Ltrb(640, 0, 1040, 36), 14);
    layout_->Add(mouseSettings_, Ltrb(1056, 2, kWidth, 36), 14);
    layout_->Add(dpi_, Ltrb(0, kDpiTop, kWidth, kDpiBottom));
    layout_->Add(rate_, Ltrb(0, kRateTop, kWidth, kRateBottom));
    for (QWidget* group : std::initializer_list<QWidget*>{liftOff_, sensor_, power_})
        layout_->Add(group, QRect());
    PlaceBottomRow();
    DeviceEvents& events = host.Events();
    connect(&events, &DeviceEvents::dpiRange, this, &PerformancePage::SetDpiRange);
    connect(&events, &DeviceEvents::reportRateEntries, this, &PerformancePage::SetReportRateEntries);
    connect(&events, &DeviceEvents::reportRateSelected, this, &PerformancePage::SelectReportRate);
    connect(&events, &DeviceEvents::dpiLevelCount, this, &PerformancePage::SetDpiLevelCount);
    connect(&events, &DeviceEvents::dpiLevelSelected, this, &PerformancePage::SelectDpiLevel);
    connect(&events, &DeviceEvents::dpiControlsReload, this, &PerformancePage::ReloadDpiControls);
    UISize(host.LayoutScale());
}

bool PerformancePage::RefreshesOn(unsigned pages) const {
    return pages & kPagePerformance;
}

void PerformancePage::UISize(qreal s) {
    scale_ = s;
    layout_->SetScale(s);
    for (PerformancePanel* panel :
         std::initializer_list<PerformancePanel*>{dpi_, rate_, liftOff_, sensor_, power_})
        panel->UISize(s);
}

void PerformancePage::PlaceBottomRow() {
    // The sensor groups the model shows, then power in the rest of the width.
    int left = 0;
    if (showLiftOff_) {
        layout_->Move(liftOff_, Ltrb(left, kRowTop, left + kLiftOffWidth, kRowBottom));
        left += kLiftOffWidth + kGap;
    }
    if (showSensor_) {
        layout_->Move(sensor_, Ltrb(left, kRowTop, left + kSensorWidth, kRowBottom));
        left += kSensorWidth + kGap;
    }
    layout_->Move(power_, Ltrb(left, kRowTop, kWidth, kRowBottom));
}

void PerformancePage::Refresh() {
    PerformanceSettings settings;
    if (!LoadPerformancePage(Host().Actions(), &settings).ok) return;  // no model's database yet
    const DeviceState device = Host().Actions().core.Snapshot();
    ShowSensorGroups(device.model.show_lod, device.model.show_sensor);
    power_->Load(settings);
    rate_->SetEntries(device.reportRateEntry, settings.reportRateCode);
    dpi_->SetRange(device.maxDpi, device.sliderPositions, device.sensorCode);
    dpi_->Load(settings);
    sensor_->Load(settings);
    liftOff_->Load(settings);
    const bool settingsProgram = MouseSettingsAvailable();
    mouseSettingsLabel_->setVisible(settingsProgram);
    mouseSettings_->setVisible(settingsProgram);
}

void PerformancePage::ModelLoaded(const ModelState& model) {
    ShowSensorGroups(model.show_lod, model.show_sensor);
}

void PerformancePage::ShowSensorGroups(bool liftOff, bool sensor) {
    if (showLiftOff_ == liftOff && showSensor_ == sensor) return;
    showLiftOff_ = liftOff;
    showSensor_ = sensor;
    liftOff_->setVisible(liftOff);
    sensor_->setVisible(sensor);
    PlaceBottomRow();
    UISize(scale_);
}

void PerformancePage::CloseTransient() {
    dpi_->CloseTransient();
}

void PerformancePage::SetDpiRange(int maxDpi, int step, int sliderPositions) {
    (void)step;  // the page's ends show the smallest value a level can take, which the sensor decides
    dpi_->SetRange(maxDpi, sliderPositions, Host().Actions().core.Snapshot().sensorCode);
}

void PerformancePage::SetReportRateEntries(int highestEntry) {
    PerformanceSettings settings;
    const bool read = ReadPerformance(Host().Actions(), &settings).ok;
    rate_->SetEntries(highestEntry, read ? settings.reportRateCode : 0);
}

void PerformancePage::SelectReportRate(int code) {
    rate_->Select(code);
}

void PerformancePage::SetDpiLevelCount(int count) {
    dpi_->ShowCount(count);
}

void PerformancePage::SelectDpiLevel(int level, int dpiValue, int sensorCode) {
    dpi_->ShowActiveLevel(level, dpiValue, sensorCode);
    Host().ShowDpiIndicator(dpiValue);
}

void PerformancePage::ReloadDpiControls() {
    PerformanceSettings settings;
    if (LoadPerformancePage(Host().Actions(), &settings).ok) dpi_->Load(settings);
}

void PerformancePage::OpenMouseSettings() {
    if (quorvel::OpenMouseSettings().ok) return;
    OpenMessageBox(Host().Window(), txt::kMouseSettings, txt::kMouseSettingsFailed, kBoxOk, nullptr);
}

}  // namespace quorvel
