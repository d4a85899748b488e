#pragma once
// The sensor groups of the performance page, each shown only when the model's descriptor asks for it:
// the lift-off distance (1 or 2 mm) and the three sensor options (angle snapping, ripple control, motion
// sync).

#include <array>

#include "ui/PerformancePanel.h"

class QRadioButton;

namespace quorvel {

struct PerformanceSettings;

class LiftOffPanel : public PerformancePanel {
    Q_OBJECT
public:
    enum Id { kTitle = 127, kHelp = 128, kLow = 129, kHigh = 130 };

    LiftOffPanel(PageHost& host, QWidget* parent);
    void UISize(qreal scale) override;
    void Load(const PerformanceSettings& settings);

private:
    QLabel* title_;
    CImageButton* help_;
    QRadioButton* low_;
    QRadioButton* high_;
};

class SensorPanel : public PerformancePanel {
    Q_OBJECT
public:
    // The three options are 134, 135 and 136, for the bits 4, 8 and 16 of sensor_flag.
    enum Id { kTitle = 132, kHelp = 133, kFirstOption = 134 };
    static constexpr std::array<int, 3> kBits = {4, 8, 16};

    SensorPanel(PageHost& host, QWidget* parent);
    void UISize(qreal scale) override;
    void Load(const PerformanceSettings& settings);

private:
    void OptionClicked();

    QLabel* title_;
    CImageButton* help_;
    std::array<QCheckBox*, 3> options_{};
};

}  // namespace quorvel
