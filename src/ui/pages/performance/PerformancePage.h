#pragma once
// The performance page (tab 3, container 52): DPI levels and colours, report rate, lift-off distance, sensor
// and power options, button response time, and the desktop's own mouse settings. Each group is a panel of
// its own; the page places them, fills them from the settings and passes on what the worker reports.

#include <string>

#include "ui/common/Page.h"

class QLabel;
class QPushButton;

namespace quorvel {

class DesignLayout;
class DpiPanel;
class LiftOffPanel;
class PowerPanel;
class ReportRatePanel;
class SensorPanel;

class PerformancePage : public Page {
    Q_OBJECT
public:
    // The page's own controls; the groups' controls are in their panels (DpiPanel::kLevels ...).
    enum Id { kCaption = 111, kMouseSettingsLabel = 147, kMouseSettings = 149 };
    static constexpr QSize kDesignSize{1180, 658};

    PerformancePage(PageHost& host, QWidget* parent);

    void Refresh() override;
    bool RefreshesOn(unsigned pages) const override;
    void ModelLoaded(const ModelState& model) override;
    void UISize(qreal scale) override;
    void CloseTransient() override;

    // What the worker reports about the connected mouse and its DPI button (see DeviceView).
    void SetDpiRange(int maxDpi, int step, int sliderPositions);
    void SetReportRateEntries(int highestEntry);
    void SelectReportRate(int code);
    void SetDpiLevelCount(int count);
    // Selects the level, moves the slider and shows the DPI indicator with the value.
    void SelectDpiLevel(int level, int dpiValue, int sensorCode);
    void ReloadDpiControls();

private:
    void PlaceBottomRow();
    void ShowSensorGroups(bool liftOff, bool sensor);
    void OpenMouseSettings();

    qreal scale_ = 1.0;
    DesignLayout* layout_ = nullptr;
    bool showLiftOff_ = true, showSensor_ = true;  // the model's descriptor switches
    QLabel* caption_;
    QLabel* mouseSettingsLabel_;
    QPushButton* mouseSettings_;
    DpiPanel* dpi_;
    ReportRatePanel* rate_;
    LiftOffPanel* liftOff_;
    SensorPanel* sensor_;
    PowerPanel* power_;
};

}  // namespace quorvel
