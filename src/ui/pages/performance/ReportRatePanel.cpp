#include "ui/pages/performance/ReportRatePanel.h"

#include <QLabel>

#include "actions/PerformanceActions.h"
#include "toolkit/CImageButton.h"
#include "toolkit/ReporteCtrl.h"
#include "ui/common/PageHost.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiRect.h"

namespace quorvel {

ReportRatePanel::ReportRatePanel(PageHost& host, QWidget* parent)
    : PerformancePanel(host, parent, QSize(1180, 106)) {
    title_ = NewTitle(kTitle, txt::kReportRate);
    help_ = NewHelpButton(kHelp);
    Host().Texts().BindToolTip(help_, txt::kReportRateHelp);
    reset_ = NewResetButton(kReset, txt::kResetReportRate);
    connect(reset_, &QAbstractButton::clicked, this, [this] { Submit(ResetReportRate(Host().Actions())); });
    rates_ = new ReporteCtrl(this);
    rates_->setObjectName(ControlName(kRates));
    Host().Texts().Bind(rates_, txt::kReportRate, [this](const QString& s) { rates_->setAccessibleName(s); });
    connect(rates_, &ReporteCtrl::itemClicked, this, &ReportRatePanel::RateChosen);
    Place(title_, Ltrb(24, 12, 600, 42), 16);
    Place(help_, Ltrb(1082, 14, 1112, 44));
    Place(reset_, Ltrb(1126, 14, 1156, 44));
    Place(rates_, Ltrb(24, 52, 1156, 92), 13);
}

void ReportRatePanel::SetEntries(int highestEntry, int selectedCode) {
    rates_->DeleteAllItems();
    for (const int hertz : OfferedReportRates(highestEntry))
        rates_->AddItem(QStringLiteral("%1Hz").arg(hertz), ReportRateCodeOfHz(hertz));
    Select(selectedCode);
}

void ReportRatePanel::Select(int code) {
    rates_->SetSelectItemValue(code);
}

void ReportRatePanel::RateChosen(int index) {
    const int code = rates_->GetItemKeyValue(index);
    if (code <= 0) return;
    Submit(SetReportRate(Host().Actions(), ReportRateHzOfCode(code)));
}

}  // namespace quorvel
