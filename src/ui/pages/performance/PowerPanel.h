#pragma once
// The power group of the performance page: sleep time, wake on motion, lights off while moving, and the
// button response time (the mouse takes them in one command).

#include "ui/pages/performance/PerformancePanel.h"

class QComboBox;
class QLineEdit;

namespace quorvel {

struct PerformanceSettings;

class PowerPanel : public PerformancePanel {
    Q_OBJECT
public:
    enum Id {
        kResponseLabel = 138,
        kResponseTime = 139,
        kSleepLabel = 141,
        kTitle = 142,
        kWake = 143,
        kLightsOff = 144,
        kSleep = 145,
    };

    PowerPanel(PageHost& host, QWidget* parent);
    void Load(const PerformanceSettings& settings);

private:
    void ResponseTimeEdited();

    QLabel* title_;
    QLabel* sleepLabel_;
    QComboBox* sleep_;
    QLabel* responseLabel_;
    QLineEdit* responseTime_;
    QCheckBox* wake_;
    QCheckBox* lightsOff_;
};

}  // namespace quorvel
