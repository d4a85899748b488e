#pragma once
// The performance page (tab 3, container 52): DPI levels and colours, report rate, lift-off distance, sensor
// and power options, button response time.
// (Today an empty container; its page issue fills it. The main window calls the methods below.)

#include <string>

#include "ui/Page.h"

namespace quorvel {

class PerformancePage : public Page {
    Q_OBJECT
public:
    PerformancePage(PageHost& host, QWidget* parent);

    void Refresh() override;
    void CloseTransient() override;

    // What the worker reports about the connected mouse and its DPI button (see DeviceView).
    void SetDpiRange(int maxDpi, int step, int sliderPositions);
    void SetReportRateEntries(int highestEntry);
    void SelectReportRate(int code);
    void SetDpiLevelCount(int count);
    void SelectDpiLevel(int level, int dpiValue, int sensorCode);
    void ReloadDpiControls();
};

}  // namespace quorvel
