#pragma once
// The device-information page (tab 7, container 55): one row each for the mouse firmware (version, check
// result, firmware check), the receiver firmware, the battery and link, and the factory reset. The
// firmware check is offered on a wired link only; on a wireless link the receiver's button says there is
// nothing to update. The firmware update's progress dialog (UpdateTipDlg) follows what the task reports.

#include <QString>
#include <array>
#include <string>

#include "ui/common/Page.h"
#include "ui/common/TextIds.h"

class QLabel;
class QPushButton;

namespace quorvel {

class DesignLayout;
struct LinkInfo;
class BatteryCtrl;
class MPicture;

class DeviceInfoPage : public Page {
    Q_OBJECT
public:
    // Control ids (objectName "id<n>").
    enum Id {
        kBackground = 192,
        kTitle = 194,
        kBatteryRow = 234,
        kBatteryMarker = 235,
        kBatteryLabel = 236,
        kFirmwareRow = 237,
        kReceiverRow = 238,
        kResetRow = 239,
        kBattery = 240,
        kLinkText = 241,
        kResetMarker = 242,
        kFirmwareVersion = 243,
        kReceiverVersion = 244,
        kResetLabel = 245,
        kFirmwareResult = 246,
        kReceiverResult = 247,
        kFirmwareCheck = 248,
        kReceiverCheck = 249,
        kFactoryReset = 250,
        kFirmwareMarker = 251,
        kReceiverMarker = 252,
    };
    static constexpr int kWidth = 650;
    static constexpr int kHeight = 658;

    DeviceInfoPage(PageHost& host, QWidget* parent);

    void UISize(qreal scale) override;
    // A firmware check ended (whoever queued it).
    void TaskFinished(uint64_t id, const DeviceTaskRequest& request, const TaskResult& result);

    // The rows from the current link: versions, check buttons, link and battery.
    void ShowVersionLabels();
    void ShowLink(const LinkInfo& link);
    // A wireless mouse told its own firmware version through the receiver.
    void SetMouseFirmwareLabel(const std::string& label, const std::string& checkResult);
    void SetFirmwareCheckLabel(const std::string& text);
    void SetFirmwareProgress(int percent, const std::string& text);
    void EndFirmwareProgress();
    void SetBatteryInfo(int level, int status);

private:
    void Build();
    void DeclareGeometry();
    void CheckFirmware();
    void SetLabel(int row, const QString& text);
    // The mouse firmware check as it stands for the mouse shown: not checked, its result, or the failure
    // with its reason. Never "up to date" before a check said so.
    QString FirmwareResultText();
    void ShowCheckResults();
    // The battery cell only for a model that runs on a battery; otherwise the row names the link alone.
    bool HasBattery();
    void ShowBatteryRow();

    qreal scale_ = 1.0;
    DesignLayout* layout_ = nullptr;
    uint64_t checkTask_ = 0;  // the firmware check queued from here, until it ends
    int checkedType_ = 0;     // the model the last firmware check ran for
    // Whether the link shows a result beside each version (a wired mouse has no receiver row result, a
    // wireless one no mouse result until the mouse told its version).
    bool firmwareResultShown_ = true;
    bool receiverResultShown_ = true;
    bool firmwareCheckEnabled_ = true;
    int linkTextId_ = txt::kNoDevice;
    // The texts of the version rows: mouse firmware, receiver, their results.
    std::array<QString, 4> labels_;

    MPicture* background_ = nullptr;
    QLabel* title_ = nullptr;
    std::array<MPicture*, 4> rows_{};
    std::array<QWidget*, 4> markers_{};
    std::array<QLabel*, 4> versionLabels_{};  // 243, 244, 246, 247
    QPushButton* firmwareCheck_ = nullptr;
    QPushButton* receiverCheck_ = nullptr;
    QLabel* batteryLabel_ = nullptr;
    BatteryCtrl* battery_ = nullptr;
    QLabel* linkText_ = nullptr;
    QLabel* resetLabel_ = nullptr;
    QPushButton* factoryReset_ = nullptr;
};

}  // namespace quorvel
