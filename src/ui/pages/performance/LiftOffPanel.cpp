#include "ui/pages/performance/LiftOffPanel.h"

#include <QLabel>
#include <QRadioButton>

#include "actions/PerformanceActions.h"
#include "toolkit/CImageButton.h"
#include "ui/common/PageHost.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiRect.h"

namespace quorvel {

LiftOffPanel::LiftOffPanel(PageHost& host, QWidget* parent)
    : PerformancePanel(host, parent, QSize(kDesignWidth, 176)) {
    title_ = NewTitle(kTitle, txt::kLiftOff);
    help_ = NewHelpButton(kHelp);
    Host().Texts().BindToolTip(help_, txt::kLiftOffHelp);
    low_ = new QRadioButton(this);
    low_->setObjectName(ControlName(kLow));
    Host().Texts().BindText(low_, txt::kLiftOffLow);
    low_->setChecked(true);
    high_ = new QRadioButton(this);
    high_->setObjectName(ControlName(kHigh));
    Host().Texts().BindText(high_, txt::kLiftOffHigh);
    connect(low_, &QRadioButton::clicked, this, [this] { Submit(SetLiftOff(Host().Actions(), 1)); });
    connect(high_, &QRadioButton::clicked, this, [this] { Submit(SetLiftOff(Host().Actions(), 2)); });
    // Right edges keep their distance from the panel's, whatever width the page gives it.
    Place(title_, Ltrb(20, 12, kDesignWidth - 50, 42), 16, kRightToEnd);
    Place(help_, Ltrb(kDesignWidth - 44, 14, kDesignWidth - 16, 42), 0, kAtEnd);
    Place(low_, Ltrb(24, 56, kDesignWidth - 16, 88), 14, kRightToEnd);
    Place(high_, Ltrb(24, 96, kDesignWidth - 16, 128), 14, kRightToEnd);
}

void LiftOffPanel::Load(const PerformanceSettings& settings) {
    (settings.liftoffHeight == 2 ? high_ : low_)->setChecked(true);
}

}  // namespace quorvel
