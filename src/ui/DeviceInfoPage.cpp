#include "ui/DeviceInfoPage.h"

namespace quorvel {

DeviceInfoPage::DeviceInfoPage(PageHost& host, QWidget* parent) : Page(host, parent) {}

void DeviceInfoPage::ShowVersionLabels() {}

void DeviceInfoPage::SetMouseFirmwareLabel(const std::string& label, const std::string& checkResult) {
    (void)label, (void)checkResult;
}

void DeviceInfoPage::SetFirmwareCheckLabel(const std::string& text) {
    (void)text;
}

void DeviceInfoPage::SetFirmwareProgress(int percent, const std::string& text) {
    (void)percent, (void)text;
}

void DeviceInfoPage::EndFirmwareProgress() {}

void DeviceInfoPage::SetBatteryInfo(int level, int status) {
    (void)level, (void)status;
}

}  // namespace quorvel
