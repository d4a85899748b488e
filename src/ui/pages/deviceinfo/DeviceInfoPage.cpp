#include "ui/pages/deviceinfo/DeviceInfoPage.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "actions/FeatureActions.h"
#include "device/PageState.h"
#include "device/Tasks.h"
#include "shell/Localisation.h"
#include "toolkit/BatteryCtrl.h"
#include "toolkit/MPicture.h"
#include "toolkit/Theme.h"
#include "ui/common/DesignLayout.h"
#include "ui/common/PageHost.h"
#include "ui/common/PanelGeometry.h"
#include "ui/common/PanelLabel.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiFonts.h"
#include "ui/common/UiRect.h"
#include "ui/common/UiText.h"
#include "ui/dialogs/CUIMessageBox.h"
#include "ui/dialogs/ProfileDlg.h"
#include "ui/dialogs/UpdateTipDlg.h"
#include "ui/window/DeviceEvents.h"
#include "update/UpdateFlow.h"
#include "update/VersionLabels.h"

namespace quorvel {

namespace {

constexpr int kLeft = 30;  // the panel starts 30 design pixels into the tab container

enum Row { kFirmware, kReceiver, kBatteryRowIndex, kReset };
constexpr int kFirmwareResultRow = 2;  // of the version labels

// The small bar in the accent colour at the start of each row.
class RowMarker : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(AccentColor());
        const qreal w = width();
        p.drawRoundedRect(QRectF(rect()), w / 2, w / 2);
    }
};

QPushButton* NewButton(QWidget* parent, int id) {
    auto* button = new QPushButton(parent);
    button->setObjectName(ControlName(id));
    button->setAutoDefault(false);
    return button;
}

}  // namespace

DeviceInfoPage::DeviceInfoPage(PageHost& host, QWidget* parent) : Page(host, parent) {
    Build();
    connect(&LanguageNotifier::Instance(), &LanguageNotifier::LanguageChanged, this,
            &DeviceInfoPage::ShowVersionLabels);
    DeviceEvents& events = host.Events();
    connect(&events, &DeviceEvents::linkChanged, this, &DeviceInfoPage::ShowLink);
    connect(&events, &DeviceEvents::batteryInfo, this, &DeviceInfoPage::SetBatteryInfo);
    connect(&events, &DeviceEvents::mouseFirmwareLabel, this, &DeviceInfoPage::SetMouseFirmwareLabel);
    connect(&events, &DeviceEvents::firmwareCheckLabel, this, &DeviceInfoPage::SetFirmwareCheckLabel);
    connect(&events, &DeviceEvents::modelLoaded, this, &DeviceInfoPage::ShowBatteryRow);
    events.OnTaskEnd(this, {kTaskCheckFirmware},
                     [this](uint64_t id, const DeviceTaskRequest& request, const TaskResult& result) {
                         TaskFinished(id, request, result);
                     });
}

void DeviceInfoPage::Build() {
    TextRegistry& texts = Host().Texts();
    background_ = new MPicture(QStringLiteral("img_area_bkg.png"), MPicture::Mode::Frame, this);
    background_->setObjectName(ControlName(kBackground));
    title_ = NewPanelLabel(this, kTitle, LabelTone::Heading);
    texts.BindText(title_, txt::kDeviceInfoTab);

    const int rowIds[4] = {kFirmwareRow, kReceiverRow, kBatteryRow, kResetRow};
    const int markerIds[4] = {kFirmwareMarker, kReceiverMarker, kBatteryMarker, kResetMarker};
    for (int row = 0; row < 4; ++row) {
        rows_[row] = new MPicture(QStringLiteral("img_area_content.png"), MPicture::Mode::Frame, this);
        rows_[row]->setObjectName(ControlName(rowIds[row]));
        markers_[row] = new RowMarker(this);
        markers_[row]->setObjectName(ControlName(markerIds[row]));
    }

    // Mouse firmware and receiver: version, check result, button. Their texts are the page's own (set by
    // ShowVersionLabels and the check), bound so that a language change sets them again.
    const int labelIds[4] = {kFirmwareVersion, kReceiverVersion, kFirmwareResult, kReceiverResult};
    const int labelTexts[4] = {txt::kMouseFirmware, txt::kReceiverFirmware, txt::kNotChecked,
                               txt::kNotChecked};
    for (int i = 0; i < 4; ++i) {
        versionLabels_[i] = NewPanelLabel(this, labelIds[i], i < 2 ? LabelTone::Heading : LabelTone::Caption);
        QLabel* label = versionLabels_[i];
        if (i == kFirmwareResultRow) continue;  // bound below
        texts.BindComposed(
            label, {labelTexts[i]}, [this, i] { return labels_[i]; },
            [label](const QString& s) { label->setText(s); });
    }
    // The check results are worded here from the check's state, so a language change words them anew.
    texts.BindComposed(
        versionLabels_[2], {txt::kNotChecked, txt::kCheckFailed, txt::kUpToDate, txt::kNewVersion},
        [this] { return FirmwareResultText(); },
        [this](const QString& s) {
            labels_[2] = s;
            versionLabels_[2]->setText(s);
            versionLabels_[2]->setToolTip(s);
        });
    firmwareCheck_ = NewButton(this, kFirmwareCheck);
    texts.BindText(firmwareCheck_, txt::kCheckForUpdates);
    connect(firmwareCheck_, &QPushButton::clicked, this, &DeviceInfoPage::CheckFirmware);
    receiverCheck_ = NewButton(this, kReceiverCheck);
    texts.BindText(receiverCheck_, txt::kCheckForUpdates);
    // Receivers are not updated from here: the check only says so.
    connect(receiverCheck_, &QPushButton::clicked, this, [this] {
        OpenMessageBox(Host().Window(), txt::kReceiverFirmware, txt::kReceiverNotChecked, kBoxOk, {});
    });

    batteryLabel_ = NewPanelLabel(this, kBatteryLabel, LabelTone::Heading);
    texts.BindComposed(
        batteryLabel_, {txt::kBattery, txt::kConnection},
        [this] { return Text(HasBattery() ? txt::kBattery : txt::kConnection); },
        [this](const QString& s) { batteryLabel_->setText(s); });
    battery_ = new BatteryCtrl(this);
    battery_->setObjectName(ControlName(kBattery));
    texts.Bind(battery_, txt::kBattery, [this](const QString& s) { battery_->setAccessibleName(s); });
    linkText_ = NewPanelLabel(this, kLinkText, LabelTone::Caption);
    texts.BindComposed(
        linkText_, {txt::kNoDevice, txt::kWired, txt::kWireless}, [this] { return Text(linkTextId_); },
        [this](const QString& s) { linkText_->setText(s); });

    resetLabel_ = NewPanelLabel(this, kResetLabel, LabelTone::Heading);
    texts.BindText(resetLabel_, txt::kFactoryReset);
    factoryReset_ = NewButton(this, kFactoryReset);
    texts.BindText(factoryReset_, txt::kDeviceReset);
    connect(factoryReset_, &QPushButton::clicked, this, [this] { ConfirmFactoryReset(Host()); });

    ShowVersionLabels();
    DeclareGeometry();
}

void DeviceInfoPage::UISize(qreal scale) {
    scale_ = scale;
    layout_->SetScale(scale);
}

void DeviceInfoPage::DeclareGeometry() {
    const PanelGeometry panel(this, QSize(kWidth, kHeight), kLeft);
    layout_ = panel.Layout();
    panel.Add(background_, 0, 0, kWidth, kHeight);
    panel.Label(title_, 24, 12, 400, 32, 18);

    // Rows of 60, one every 70, from 60 down.
    const auto rowTop = [](int row) { return 60 + 70 * row; };
    for (int row : {kFirmware, kReceiver, kBatteryRowIndex, kReset}) {
        panel.Add(rows_[row], 15, rowTop(row), 620, 60);
        panel.Add(markers_[row], 30, rowTop(row) + 17, 6, 26);
    }
    for (int row : {kFirmware, kReceiver}) {
        const int y = rowTop(row);
        panel.Label(versionLabels_[row], 50, y + 15, 220, 30, 15);
        panel.Label(versionLabels_[row + 2], 280, y + 15, 170, 30, 14);
    }
    panel.Add(firmwareCheck_, 460, rowTop(kFirmware) + 13, 160, 34, 14);
    panel.Add(receiverCheck_, 460, rowTop(kReceiver) + 13, 160, 34, 14);
    const int batteryY = rowTop(kBatteryRowIndex);
    panel.Label(batteryLabel_, 50, batteryY + 15, 220, 30, 15);
    panel.Add(battery_, 280, batteryY + 18, 120, 24);
    panel.Label(linkText_, 460, batteryY + 15, 160, 30, 14);
    const int resetY = rowTop(kReset);
    panel.Label(resetLabel_, 50, resetY + 15, 390, 30, 15);
    panel.Add(factoryReset_, 460, resetY + 13, 160, 34, 14);
}

void DeviceInfoPage::SetLabel(int row, const QString& text) {
    labels_[row] = text;
    versionLabels_[row]->setText(text);
}

void DeviceInfoPage::ShowVersionLabels() {
    ShowLink(Host().CurrentLink());
}

void DeviceInfoPage::ShowLink(const LinkInfo& link) {
    if (!link.open) {
        SetLabel(0, Text(txt::kMouseFirmware));
        SetLabel(1, Text(txt::kReceiverFirmware));
        return;
    }
    const VersionLabels& labels = link.labels;
    const DeviceState& state = link.state;
    const int linkKind = link.linkKind;
    QString mouse = QString::fromStdString(labels.mouseFirmware);
    // On a wireless link the mouse's own version came through the receiver at read-back: keep showing it.
    if (linkKind == 1 && !state.mouseFirmwareVersion.empty())
        mouse = QString::fromStdString(
            VersionCaption(text("LAN", txt::kMouseFirmware), state.mouseFirmwareVersion));
    SetLabel(0, mouse);
    SetLabel(1, QString::fromStdString(labels.receiver));
    firmwareResultShown_ = !labels.firmwareResult.empty();
    receiverResultShown_ = !labels.receiverResult.empty();
    ShowCheckResults();
    firmwareCheckEnabled_ = labels.firmwareCheckEnabled;
    firmwareCheck_->setEnabled(firmwareCheckEnabled_ && checkTask_ == 0);
    receiverCheck_->setEnabled(labels.receiverCheckEnabled);

    linkTextId_ = linkKind == 0 ? txt::kWired : linkKind == 1 ? txt::kWireless : txt::kNoDevice;
    linkText_->setText(Text(linkTextId_));
    battery_->SetBatteryInfo(state.batteryLevel, state.batteryStatus);
    ShowBatteryRow();
}

bool DeviceInfoPage::HasBattery() {
    return ReadModelFeatures(Host().Actions()).battery;
}

void DeviceInfoPage::ShowBatteryRow() {
    // A mouse on a cable only reports a level it does not have: the row says how it is linked instead.
    const bool battery = HasBattery();
    battery_->setVisible(battery);
    batteryLabel_->setText(Text(battery ? txt::kBattery : txt::kConnection));
}

void DeviceInfoPage::SetMouseFirmwareLabel(const std::string& label, const std::string& checkResult) {
    (void)checkResult;  // worded here from the check itself
    SetLabel(0, QString::fromStdString(label));
    firmwareResultShown_ = true;
    ShowCheckResults();
}

void DeviceInfoPage::SetFirmwareCheckLabel(const std::string& text) {
    (void)text;
    ShowCheckResults();
}

QString DeviceInfoPage::FirmwareResultText() {
    if (!firmwareResultShown_) return QString();
    if (checkedType_ == 0 || checkedType_ != Host().State().CurrentDeviceType())
        return Text(txt::kNotChecked);
    const VersionCheck check = Host().UpdateCheck(kUpdateFirmware);
    if (check.ok)
        return check.newer
                   ? Text(txt::kNewVersion) + QStringLiteral(": v") + QString::fromStdString(check.newest)
                   : Text(txt::kUpToDate);
    if (!check.error.empty())
        return Text(txt::kCheckFailed) + QStringLiteral(": ") + QString::fromStdString(check.error);
    return Text(txt::kNotChecked);
}

void DeviceInfoPage::ShowCheckResults() {
    const QString firmware = FirmwareResultText();
    SetLabel(2, firmware);
    versionLabels_[2]->setToolTip(firmware);
    SetLabel(3, receiverResultShown_ ? Text(txt::kNotChecked) : QString());  // not checked from here
}

void DeviceInfoPage::CheckFirmware() {
    if (Host().Actions().core.Snapshot().model.firmware_url.empty()) {
        // Nothing can be checked: say so rather than "up to date".
        OpenMessageBox(Host().Window(), txt::kMouseFirmware,
                       Text(txt::kCheckFailed) + QStringLiteral(": ") +
                           QStringLiteral("this model names no firmware address"),
                       kBoxOk, {});
        return;
    }
    checkTask_ = Host().CheckFirmware();
    // One check at a time: the button comes back when it ended.
    if (checkTask_ != 0) firmwareCheck_->setEnabled(false);
}

void DeviceInfoPage::TaskFinished(uint64_t id, const DeviceTaskRequest& request, const TaskResult& result) {
    (void)result;
    if (request.code == kTaskCheckFirmware) {
        checkedType_ = Host().Actions().core.CurrentDeviceType();  // the model the check ran for
        ShowCheckResults();
    }
    if (id == 0 || id != checkTask_) return;
    checkTask_ = 0;
    firmwareCheck_->setEnabled(firmwareCheckEnabled_);
    // The user pressed the button and waits for an answer: a failure is said, not only written small
    // beside the version.
    const VersionCheck check = Host().UpdateCheck(kUpdateFirmware);
    if (!check.ok) {
        const QString reason =
            check.error.empty() ? Text(txt::kCheckFailedDetail) : QString::fromStdString(check.error);
        OpenMessageBox(Host().Window(), txt::kMouseFirmware,
                       Text(txt::kCheckFailed) + QStringLiteral(": ") + reason, kBoxOk, {});
    }
}

void DeviceInfoPage::SetFirmwareProgress(int percent, const std::string& text) {
    if (UpdateTipDlg* tip = UpdateTipDlg::Find(Host().Window()))
        tip->SetStep(percent, QString::fromStdString(text));
}

void DeviceInfoPage::EndFirmwareProgress() {
    if (UpdateTipDlg* tip = UpdateTipDlg::Find(Host().Window())) tip->Finish();
}

void DeviceInfoPage::SetBatteryInfo(int level, int status) {
    battery_->SetBatteryInfo(level, status);
}

}  // namespace quorvel
