#pragma once
// The sensor group of the performance page, shown only when the model's descriptor asks for it: angle
// snapping, ripple control and motion sync.

#include <array>

#include "ui/pages/performance/PerformancePanel.h"

namespace quorvel {

struct PerformanceSettings;

class SensorPanel : public PerformancePanel {
    Q_OBJECT
public:
    // The three options are 134, 135 and 136, for the bits 4, 8 and 16 of sensor_flag.
    enum Id { kTitle = 132, kHelp = 133, kFirstOption = 134 };
    // The width the page gives the group in the design.
    static constexpr int kDesignWidth = 300;
    static constexpr std::array<int, 3> kBits = {4, 8, 16};

    SensorPanel(PageHost& host, QWidget* parent);
    void Load(const PerformanceSettings& settings);

private:
    void OptionClicked();

    QLabel* title_;
    CImageButton* help_;
    std::array<QCheckBox*, 3> options_{};
};

}  // namespace quorvel
