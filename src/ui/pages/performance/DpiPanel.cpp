#include "ui/pages/performance/DpiPanel.h"

#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include "actions/DpiRounding.h"
#include "actions/PerformanceActions.h"
#include "device/PageState.h"
#include "toolkit/CImageButton.h"
#include "toolkit/DPIControl.h"
#include "toolkit/DPISlider.h"
#include "ui/common/PageHost.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiRect.h"
#include "ui/dialogs/CUIMessageBox.h"
#include "ui/dialogs/MousePaletteDlg.h"

namespace quorvel {

namespace {

constexpr int kMaxLevels = 6;

}  // namespace

DpiPanel::DpiPanel(PageHost& host, QWidget* parent) : PerformancePanel(host, parent, QSize(1180, 308)) {
    title_ = NewTitle(kTitle, txt::kDpiSettings);
    help_ = NewHelpButton(kHelp);
    Host().Texts().BindToolTip(help_, txt::kDpiHelp);
    reset_ = NewResetButton(kReset, txt::kResetDpi);
    connect(reset_, &QAbstractButton::clicked, this, &DpiPanel::AskReset);

    levels_ = new DPIControl(this);
    levels_->setObjectName(ControlName(kLevels));
    Host().Texts().Bind(levels_, txt::kDpiSettings,
                        [this](const QString& s) { levels_->setAccessibleName(s); });
    connect(levels_, &DPIControl::levelClicked, this, &DpiPanel::LevelChosen);
    connect(levels_, &DPIControl::editStarted, this, &DpiPanel::LevelChosen);
    connect(levels_, &DPIControl::editFinished, this, &DpiPanel::ValueTyped);
    connect(levels_, &DPIControl::colorClicked, this, &DpiPanel::ColourClicked);

    slider_ = new DPISlider(this);
    slider_->setObjectName(ControlName(kSlider));
    slider_->SetRange(1, 520);
    connect(slider_, &DPISlider::progressMoved, this, [this](int p) { SliderMoved(p, false); });
    connect(slider_, &DPISlider::progressReleased, this, [this](int p) { SliderMoved(p, true); });

    send_ = new QPushButton(this);
    send_->setObjectName(ControlName(kSend));
    Host().Texts().BindText(send_, txt::kApply);
    connect(send_, &QPushButton::clicked, this, [this] { Submit(SendDpiLevels(Host().Actions())); });

    countLabel_ = NewLabel(kCountLabel, txt::kDpiLevels);
    countLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    count_ = new QComboBox(this);
    count_->setObjectName(ControlName(kCount));
    for (int n = 1; n <= kMaxLevels; ++n) count_->addItem(QString::number(n), n);
    count_->setCurrentIndex(-1);
    connect(count_, &QComboBox::activated, this, &DpiPanel::CountChosen);
    // The title row is read first, left to right: the level count, help and reset.
    setTabOrder(count_, help_);
    setTabOrder(help_, reset_);
    setTabOrder(reset_, levels_);
    setTabOrder(levels_, slider_);
    setTabOrder(slider_, send_);
    Place(title_, Ltrb(24, 14, 600, 46), 16);
    Place(countLabel_, Ltrb(640, 14, 948, 46), 14);
    Place(count_, Ltrb(960, 14, 1050, 46), 14);
    Place(help_, Ltrb(1082, 16, 1112, 46));
    Place(reset_, Ltrb(1126, 16, 1156, 46));
    Place(levels_, Ltrb(24, 58, 1156, 198), 13);
    Place(slider_, Ltrb(24, 206, 1008, 300), 13);
    Place(send_, Ltrb(1036, 226, 1156, 262), 14);
}

void DpiPanel::Load(const PerformanceSettings& settings) {
    SelectCount(settings.dpiCount);
    Rebuild(settings);
}

void DpiPanel::SetRange(int maxDpi, int sliderPositions, int sensorCode) {
    slider_->SetRange(1, qMax(1, sliderPositions));
    slider_->SetDPIDesc(QString::number(maxDpi), QString::number(DpiEntryRange(sensorCode).minimum));
    ShowSlider(levels_->GetSelectItem());
}

void DpiPanel::ShowActiveLevel(int level, int dpiValue, int sensorCode) {
    levels_->SetSelectItem(level);
    levels_->SetDPIValue(level, dpiValue);
    slider_->SetProgress(DpiToSliderPosition(sensorCode, dpiValue));
    slider_->SetValueText(QString::number(dpiValue));
}

void DpiPanel::ShowCount(int count) {
    SelectCount(count);
    PerformanceSettings settings;
    if (LoadPerformancePage(Host().Actions(), &settings).ok) Rebuild(settings);
}

void DpiPanel::CloseTransient() {
    levels_->CancelEdit();
    MousePaletteDlg::CloseAll();
}

void DpiPanel::Rebuild(const PerformanceSettings& settings) {
    levels_->ClearList();
    const int count = qBound(0, settings.dpiCount, kMaxLevels);
    for (int i = 0; i < count; ++i) {
        const auto at = static_cast<size_t>(i);
        levels_->AddItem(settings.allDpiValues[at], settings.allDpiColours[at]);
    }
    // An active level beyond the count (a mouse may report one) shows as the first.
    const int active = settings.dpiIndex >= 0 && settings.dpiIndex < count ? settings.dpiIndex : 0;
    levels_->SetSelectItem(count > 0 ? active : -1);
    ShowSlider(levels_->GetSelectItem());
}

void DpiPanel::ShowSlider(int level) {
    if (level < 0) {
        slider_->SetValueText(QString());
        return;
    }
    const int value = levels_->GetDPIValue(level);
    slider_->SetProgress(DpiToSliderPosition(Device().sensorCode, value));
    slider_->SetValueText(QString::number(value));
}

void DpiPanel::SelectCount(int count) {
    count_->setCurrentIndex(count_->findData(count));
}

void DpiPanel::LevelChosen(int level) {
    const ActionResult result = quorvel::SelectDpiLevel(Host().Actions(), level);
    if (!Submit(result)) return;
    ShowSlider(level);
    // Only a change of the active level reaches the mouse, and only then does the indicator show it.
    if (!result.tasks.empty()) Host().ShowDpiIndicator(levels_->GetDPIValue(level));
}

void DpiPanel::ValueTyped(int level, const QString& text) {
    bool number = false;
    int typed = text.trimmed().toInt(&number);
    if (!number) typed = 0;  // becomes the sensor's smallest value
    const int activeBefore = Device().dpiLevelSelected;
    const ActionResult result = EnterDpiValue(Host().Actions(), level, typed);
    if (!Submit(result)) return;
    const int value = QString::fromStdString(result.stored.front().second).toInt();
    levels_->SetDPIValue(level, value);
    levels_->SetSelectItem(level);
    ShowSlider(level);
    if (activeBefore != level) Host().ShowDpiIndicator(value);
}

void DpiPanel::ColourClicked(int level) {
    QPointer<DpiPanel> self(this);
    MousePaletteDlg::Open(Host().Window(), levels_->GetDPIColorValue(level), [self, level](int colour) {
        // 0: closed without a choice.
        if (self && colour != 0) self->ApplyColour(level, colour);
    });
}

void DpiPanel::ApplyColour(int level, int colour) {
    std::vector<std::optional<std::string>> colours(static_cast<size_t>(level) + 1);
    colours.back() = ColourText(colour);
    if (!Submit(SetDpiColours(Host().Actions(), colours))) return;
    levels_->SetDPIColorValue(level, colour);
    Host().ShowDpiIndicator(levels_->GetDPIValue(level));
}

void DpiPanel::SliderMoved(int position, bool released) {
    const int level = levels_->GetSelectItem();
    if (level < 0) return;
    int value = 0;
    const ActionResult result = DragDpiValue(Host().Actions(), level, position, &value);
    if (!result.ok) {
        dragChanged_ = false;
        ShowSlider(level);
        if (released) Submit(result);  // told once, when the drag ends
        return;
    }
    dragChanged_ = dragChanged_ || !result.stored.empty();
    levels_->SetDPIValue(level, value);
    slider_->SetValueText(QString::number(value));
    if (!released) return;
    // Stored while dragging; sent once, when the thumb is let go.
    if (dragChanged_) Submit(SendDpiLevels(Host().Actions()));
    dragChanged_ = false;
}

void DpiPanel::CountChosen(int index) {
    const int count = count_->itemData(index).toInt();
    PerformanceSettings settings;
    if (!Submit(SetDpiCount(Host().Actions(), count))) {
        if (ReadPerformance(Host().Actions(), &settings).ok) SelectCount(settings.dpiCount);
        return;
    }
    if (ReadPerformance(Host().Actions(), &settings).ok) Rebuild(settings);
}

void DpiPanel::AskReset() {
    QPointer<DpiPanel> self(this);
    OpenMessageBox(Host().Window(), txt::kResetDpi, txt::kResetDpiQuestion, kBoxOkCancel, [self](int answer) {
        if (self && IsConsent(answer)) self->Submit(ResetDpi(self->Host().Actions()));
    });
}

}  // namespace quorvel
