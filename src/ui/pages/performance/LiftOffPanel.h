#pragma once
// The lift-off group of the performance page, shown only when the model's descriptor asks for it: the
// lift-off distance, 1 or 2 mm.

#include "ui/pages/performance/PerformancePanel.h"

class QRadioButton;

namespace quorvel {

struct PerformanceSettings;

class LiftOffPanel : public PerformancePanel {
    Q_OBJECT
public:
    enum Id { kTitle = 127, kHelp = 128, kLow = 129, kHigh = 130 };
    // The width the page gives the group in the design.
    static constexpr int kDesignWidth = 250;

    LiftOffPanel(PageHost& host, QWidget* parent);
    void Load(const PerformanceSettings& settings);

private:
    QLabel* title_;
    CImageButton* help_;
    QRadioButton* low_;
    QRadioButton* high_;
};

}  // namespace quorvel
