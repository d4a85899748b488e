#pragma once
// The device-information page (tab 7, container 55): battery, link, versions, firmware check and update,
// factory reset (250).
// (Today an empty container; its page issue fills it. The main window calls the methods below.)

#include <string>

#include "ui/Page.h"

namespace quorvel {

class DeviceInfoPage : public Page {
    Q_OBJECT
public:
    DeviceInfoPage(PageHost& host, QWidget* parent);

    void ShowVersionLabels();
    void SetMouseFirmwareLabel(const std::string& label, const std::string& checkResult);
    void SetFirmwareCheckLabel(const std::string& text);
    void SetFirmwareProgress(int percent, const std::string& text);
    void EndFirmwareProgress();
    void SetBatteryInfo(int level, int status);
};

}  // namespace quorvel
