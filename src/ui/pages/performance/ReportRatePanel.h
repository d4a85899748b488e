#pragma once
// The report-rate group of the performance page: 125 to 1000 Hz, and 2000 to 8000 Hz on a mouse that
// offers them, with its reset.

#include "ui/pages/performance/PerformancePanel.h"

namespace quorvel {

class CImageButton;
class ReporteCtrl;

class ReportRatePanel : public PerformancePanel {
    Q_OBJECT
public:
    enum Id { kTitle = 122, kHelp = 123, kReset = 124, kRates = 125 };

    ReportRatePanel(PageHost& host, QWidget* parent);

    // The entries a mouse with this highest report-rate entry (4-7) offers, the code selected.
    void SetEntries(int highestEntry, int selectedCode);
    void Select(int code);

private:
    void RateChosen(int index);

    QLabel* title_;
    CImageButton* help_;
    CImageButton* reset_;
    ReporteCtrl* rates_;
};

}  // namespace quorvel
