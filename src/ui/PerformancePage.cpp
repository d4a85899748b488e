#include "ui/PerformancePage.h"

namespace quorvel {

PerformancePage::PerformancePage(PageHost& host, QWidget* parent) : Page(host, parent) {}

void PerformancePage::Refresh() {}

void PerformancePage::CloseTransient() {}

void PerformancePage::SetDpiRange(int maxDpi, int step, int sliderPositions) {
    (void)maxDpi, (void)step, (void)sliderPositions;
}

void PerformancePage::SetReportRateEntries(int highestEntry) {
    (void)highestEntry;
}

void PerformancePage::SelectReportRate(int code) {
    (void)code;
}

void PerformancePage::SetDpiLevelCount(int count) {
    (void)count;
}

void PerformancePage::SelectDpiLevel(int level, int dpiValue, int sensorCode) {
    (void)level, (void)dpiValue, (void)sensorCode;
}

void PerformancePage::ReloadDpiControls() {}

}  // namespace quorvel
