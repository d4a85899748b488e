#include "ui/pages/lighting/LightingPage.h"

#include <QComboBox>
#include <QLabel>

#include "actions/LightingActions.h"
#include "device/DeviceView.h"
#include "device/Family.h"
#include "device/PageState.h"
#include "device/Tasks.h"
#include "toolkit/CImageButton.h"
#include "toolkit/LightSlider.h"
#include "toolkit/MPicture.h"
#include "ui/common/DesignLayout.h"
#include "ui/common/PageHost.h"
#include "ui/common/PanelGeometry.h"
#include "ui/common/PanelLabel.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiFonts.h"
#include "ui/common/UiRect.h"
#include "ui/common/UiText.h"
#include "ui/dialogs/CUIMessageBox.h"
#include "ui/dialogs/MousePaletteDlg.h"
#include "ui/pages/lighting/LightColours.h"
#include "ui/window/DeviceEvents.h"

namespace quorvel {

namespace {

constexpr int kLeft = 30;  // the page's panel starts 30 design pixels into the tab container
constexpr int kSettingsSections = kLightBrightness | kLightSpeed | kLightColourRow;

MPicture* NewPanel(QWidget* parent, int id, const char* image) {
    auto* panel = new MPicture(QString::fromLatin1(image), MPicture::Mode::Frame, parent);
    panel->setObjectName(ControlName(id));
    panel->setAttribute(Qt::WA_TransparentForMouseEvents);
    return panel;
}

// The ranges are the ones quorvelctl accepts too.
LightSlider* NewSlider(QWidget* parent, int id, int low, int high, int position) {
    auto* slider = new LightSlider(parent);
    slider->setObjectName(ControlName(id));
    slider->SetRange(low, high);
    slider->SetProgress(position);
    return slider;
}

}  // namespace

QString LightingPage::BrightnessText(int brightness) {
    static const int kPercent[] = {0, 25, 50, 75};
    const int percent = brightness >= 0 && brightness <= 3 ? kPercent[brightness] : 100;
    return QStringLiteral("%1: %2%").arg(Text(txt::kBrightnessValue)).arg(percent);
}

QString LightingPage::SpeedText(int speed) {
    return QStringLiteral("%1: %2").arg(Text(txt::kSpeedValue)).arg(speed);
}

LightingPage::LightingPage(PageHost& host, QWidget* parent)
    : Page(host, parent),
      picker_([](QWidget* owner, int colour) { return MousePaletteDlg::Pick(owner, colour); }) {
    Build();
    ShowSections(0);
    connect(&LanguageNotifier::Instance(), &LanguageNotifier::LanguageChanged, this,
            &LightingPage::RetextModes);
    host.Events().OnTaskEnd(this, {kTaskWriteLighting, kTaskResetLighting},
                            [this](uint64_t id, const DeviceTaskRequest& request, const TaskResult& result) {
                                TaskFinished(id, request, result);
                            });
}

void LightingPage::Build() {
    TextRegistry& texts = Host().Texts();
    background_ = NewPanel(this, kBackground, "img_area_bkg.png");

    title_ = NewPanelLabel(this, kTitle, LabelTone::Heading);
    texts.BindText(title_, txt::kLighting);
    reset_ = new CImageButton(QStringLiteral("btn_reset.png"), Glyph::Reset, this);
    reset_->setObjectName(ControlName(kReset));
    texts.BindToolTip(reset_, txt::kResetLighting);
    connect(reset_, &QAbstractButton::clicked, this, &LightingPage::AskReset);

    modeArea_ = NewPanel(this, kModeArea, "img_area_content.png");
    modeLabel_ = NewPanelLabel(this, kModeLabel, LabelTone::Caption);
    texts.BindText(modeLabel_, txt::kLightingMode);
    modes_ = new QComboBox(this);
    modes_->setObjectName(ControlName(kModeList));
    connect(modes_, &QComboBox::activated, this, &LightingPage::ChooseMode);

    settingsPanel_ = NewPanel(this, kSettingsPanel, "img_area_content.png");
    settingsCaption_ = NewPanelLabel(this, kSettingsCaption, LabelTone::Heading);
    texts.BindText(settingsCaption_, txt::kEffectSettings);

    // The value texts head their sliders ("Brightness: 75%"); the plain words name the sliders.
    brightnessValue_ = NewPanelLabel(this, kBrightnessValue, LabelTone::Caption);
    texts.BindComposed(
        brightnessValue_, {txt::kBrightnessValue}, [this] { return BrightnessText(brightness_); },
        [this](const QString& s) { brightnessValue_->setText(s); });
    brightnessSlider_ =
        NewSlider(this, kBrightness, kLightBrightnessMin, kLightBrightnessMax, kLightBrightnessMax);
    texts.Bind(brightnessSlider_, txt::kBrightness,
               [this](const QString& s) { brightnessSlider_->setAccessibleName(s); });
    connect(brightnessSlider_, &LightSlider::progressMoved, this,
            [this](int position) { brightnessValue_->setText(BrightnessText(position)); });
    connect(brightnessSlider_, &LightSlider::progressReleased, this, &LightingPage::BrightnessReleased);

    speedValue_ = NewPanelLabel(this, kSpeedValue, LabelTone::Caption);
    texts.BindComposed(
        speedValue_, {txt::kSpeedValue}, [this] { return SpeedText(speed_); },
        [this](const QString& s) { speedValue_->setText(s); });
    speedSlider_ =
        NewSlider(this, kSpeed, kLightSpeedMin, kLightSpeedMax, (kLightSpeedMin + kLightSpeedMax) / 2);
    texts.Bind(speedSlider_, txt::kSpeed, [this](const QString& s) { speedSlider_->setAccessibleName(s); });
    connect(speedSlider_, &LightSlider::progressMoved, this,
            [this](int position) { speedValue_->setText(SpeedText(position)); });
    connect(speedSlider_, &LightSlider::progressReleased, this, &LightingPage::SpeedReleased);

    colourPanel_ = NewPanel(this, kColourPanel, "img_area_content.png");
    colours_ = new LightColours(this, texts);
    connect(colours_, &LightColours::colourChosen, this, &LightingPage::ApplyColour);
    connect(colours_, &LightColours::previewClicked, this, &LightingPage::PickColour);
    DeclareGeometry();
}

void LightingPage::UISize(qreal scale) {
    scale_ = scale;
    layout_->SetScale(scale);
}

void LightingPage::DeclareGeometry() {
    const PanelGeometry panel(this, QSize(kWidth, kHeightColour), kLeft);
    layout_ = panel.Layout();
    panel.Add(background_, 0, 0, kWidth, kHeightModesOnly);
    panel.Label(title_, 24, 12, 360, 32, 18);
    panel.Add(reset_, kWidth - 24 - 32, 12, 32, 32);

    panel.Add(modeArea_, 16, 56, 468, 98);
    panel.Label(modeLabel_, 32, 64, 400, 24, 14);
    panel.Add(modes_, 32, 94, 436, 40, 15, QFont::Normal);

    panel.Add(settingsPanel_, 16, 166, 468, 252);
    panel.Label(settingsCaption_, 32, 176, 400, 26, 15);
    panel.Label(brightnessValue_, 32, 208, 436, 22, 14);
    panel.Add(brightnessSlider_, 32, 232, 436, 30);
    panel.Label(speedValue_, 32, 270, 436, 22, 14);
    panel.Add(speedSlider_, 32, 294, 436, 30);

    panel.Add(colourPanel_, 16, 430, 468, 216);
    colours_->Declare(panel);
    FitBackground();
}

void LightingPage::FitBackground() {
    // The panel ends under the last section the mode shows.
    int height = kHeightModesOnly;
    if (sections_ & kLightSingleColour)
        height = kHeightColour;
    else if (sections_ & kSettingsSections)
        height = kHeightSettings;
    layout_->Move(background_, QRect(0, 0, kWidth, height));
}

void LightingPage::ShowSections(int sections) {
    sections_ = sections;
    const bool brightness = sections & kLightBrightness;
    const bool speed = sections & kLightSpeed;
    const bool settings = sections & kSettingsSections;
    settingsPanel_->setVisible(settings);
    settingsCaption_->setVisible(settings);
    brightnessValue_->setVisible(brightness);
    brightnessSlider_->setVisible(brightness);
    speedValue_->setVisible(speed);
    speedSlider_->setVisible(speed);
    colours_->ShowSlots(sections & kLightColourRow);
    colourPanel_->setVisible(sections & kLightSingleColour);
    colours_->ShowSingleColour(sections & kLightSingleColour);
    FitBackground();
}

bool LightingPage::FeatureFamily() {
    return IsFeatureFamily(Host().Actions().core.CurrentDeviceType());
}

void LightingPage::ShowMode(const LightModeRecord& row) {
    rowSections_ = row.config_func;
    brightness_ = row.brightness;
    speed_ = row.speed;
    brightnessSlider_->SetProgress(row.brightness);
    brightnessValue_->setText(BrightnessText(row.brightness));
    speedSlider_->SetProgress(row.speed);
    speedValue_->setText(SpeedText(row.speed));
    if (row.config_func & kLightColourRow) colours_->LoadSlots(row.color_value);
    if (row.config_func & kLightSingleColour) {
        // The stored colour, not the last one shown for another mode or profile.
        colours_->SetPreview(row.color_value[0]);
        colours_->ShowInEdits(row.color_value[0]);
    }
    int shown = row.config_func;
    // The feature family takes no colours from the page.
    if (FeatureFamily()) shown &= ~(kLightSingleColour | kLightColourRow);
    ShowSections(shown);
}

void LightingPage::ClearModes() {
    modes_->clear();
    modeTexts_.clear();
    mode_ = -1;
    rowSections_ = 0;
    ShowSections(0);
}

void LightingPage::Refresh() {
    std::vector<LightModeInfo> infos;
    if (!ListLightModes(Host().Actions(), &infos).ok) {
        ClearModes();
        return;
    }
    modes_->clear();
    modeTexts_.clear();
    for (const LightModeInfo& info : infos) {
        modes_->addItem(QString::fromStdString(info.caption), info.row.mode);
        modeTexts_.push_back(info.row.reserved);
    }
    ActionContext& ctx = Host().Actions();
    const int active = ActiveLightMode(ctx);
    mode_ = active;
    ctx.core.SetCurrentLightMode(active);
    modes_->setCurrentIndex(modes_->findData(active));
    LightModeRecord row;
    if (CurrentRow(&row))
        ShowMode(row);
    else
        ShowSections(0);
}

void LightingPage::ModelLoaded(const ModelState& model) {
    light_ = model.light;
    if (!model.light) ClearModes();
}

bool LightingPage::RefreshesOn(unsigned pages) const {
    return (pages & kPageLighting) && light_;
}

void LightingPage::RetextModes() {
    for (int i = 0; i < modes_->count() && i < static_cast<int>(modeTexts_.size()); ++i)
        modes_->setItemText(i, Text(modeTexts_[i]));
}

bool LightingPage::CurrentRow(LightModeRecord* row) {
    return ReadLightMode(Host().Actions(), mode_, row);
}

void LightingPage::ChooseMode(int index) {
    mode_ = modes_->itemData(index).toInt();
    const ActionResult result = ChangeLightMode(Host().Actions(), mode_);
    LightModeRecord row;
    if (CurrentRow(&row)) ShowMode(row);
    QueueLighting(result);
}

void LightingPage::BrightnessReleased(int position) {
    LightChange change;
    change.brightness = position;
    const ActionResult result = ChangeLightMode(Host().Actions(), mode_, change);
    if (!result.ok) return;  // a mode without its row: nothing to store
    brightness_ = position;
    brightnessValue_->setText(BrightnessText(position));
    QueueLighting(result);
}

void LightingPage::SpeedReleased(int position) {
    LightChange change;
    change.speed = position;
    const ActionResult result = ChangeLightMode(Host().Actions(), mode_, change);
    if (!result.ok) return;
    speed_ = position;
    speedValue_->setText(SpeedText(position));
    QueueLighting(result);
}

void LightingPage::ApplyColour(int colour) {
    colours_->SetPreview(colour);
    LightModeRecord row;
    if (!CurrentRow(&row)) return;
    LightChange change;
    if (row.config_func & kLightColourRow) {
        // The checked slot takes the colour; with none checked nothing is stored, the mode is sent again.
        const int slot = colours_->CheckedSlot();
        if (slot > 0) {
            change.colour = colour;
            change.colourSlot = slot;
        }
    } else {
        change.colour = colour;
    }
    const ActionResult result = ChangeLightMode(Host().Actions(), mode_, change);
    if (!result.ok) return;
    if (change.colourSlot) colours_->SetSlotColour(*change.colourSlot, colour);
    QueueLighting(result);
}

void LightingPage::PickColour() {
    const int colour = picker_ ? picker_(Host().Window(), colours_->PreviewColour()) : 0;
    if (colour == 0) return;  // cancelled
    colours_->ShowInEdits(colour);
    ApplyColour(colour);
}

void LightingPage::AskReset() {
    QPointer<LightingPage> self(this);
    OpenMessageBox(Host().Window(), txt::kResetLighting, txt::kResetLightingQuestion, kBoxOkCancel,
                   [self](int answer) {
                       if (!self || !IsConsent(answer)) return;
                       const ActionResult result = ResetLighting(self->Host().Actions());
                       if (result.ok) self->Host().Queue(result);
                   });
}

void LightingPage::QueueLighting(const ActionResult& result) {
    if (!result.ok || result.tasks.empty()) return;
    if (pendingId_ != 0 && result.tasks.size() == 1 && result.tasks.front() == pendingRequest_) {
        // The waiting task may already have read the row: one more run once it ends sends what is stored.
        followUp_ = true;
        return;
    }
    const std::vector<uint64_t> ids = Host().Queue(result);
    if (ids.empty()) return;
    pendingId_ = ids.back();
    pendingRequest_ = result.tasks.back();
    followUp_ = false;
}

void LightingPage::TaskFinished(uint64_t id, const DeviceTaskRequest& request, const TaskResult& result) {
    (void)request, (void)result;
    if (id == 0 || id != pendingId_) return;
    pendingId_ = 0;
    if (!followUp_) return;
    followUp_ = false;
    // Made for a profile (or mouse) that is no longer the one in use: the switch sent what the mouse needs,
    // and sending the old profile's lighting now would overwrite it.
    if (pendingRequest_.profile != Host().Actions().Profile() ||
        pendingRequest_.deviceType != Host().Actions().core.CurrentDeviceType())
        return;
    ActionResult again;
    again.ok = true;
    again.tasks = {pendingRequest_};
    QueueLighting(again);
}

}  // namespace quorvel
