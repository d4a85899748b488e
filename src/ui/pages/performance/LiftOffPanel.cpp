#include "ui/pages/performance/LiftOffPanel.h"

#include <QLabel>
#include <QRadioButton>

#include "actions/PerformanceActions.h"
#include "toolkit/CImageButton.h"
#include "ui/common/PageHost.h"
#include "ui/common/UiRect.h"

namespace quorvel {

LiftOffPanel::LiftOffPanel(PageHost& host, QWidget* parent) : PerformancePanel(host, parent) {
    title_ = NewTitle(kTitle, 501);
    help_ = NewHelpButton(kHelp);
    Host().Texts().BindToolTip(help_, 502);
    low_ = new QRadioButton(this);
    low_->setObjectName(ControlName(kLow));
    Host().Texts().BindText(low_, 751);
    low_->setChecked(true);
    high_ = new QRadioButton(this);
    high_->setObjectName(ControlName(kHigh));
    Host().Texts().BindText(high_, 752);
    connect(low_, &QRadioButton::clicked, this, [this] { Submit(SetLiftOff(Host().Actions(), 1)); });
    connect(high_, &QRadioButton::clicked, this, [this] { Submit(SetLiftOff(Host().Actions(), 2)); });
}

void LiftOffPanel::UISize(qreal s) {
    SetFontPixels(title_, s, 16, true);
    SetFontPixels(low_, s, 14, true);
    SetFontPixels(high_, s, 14, true);
    const int w = static_cast<int>(width() / s);  // the design width the page gave the panel
    title_->setGeometry(Scaled(s, 20, 12, w - 50, 42));
    help_->setGeometry(Scaled(s, w - 44, 14, w - 16, 42));
    low_->setGeometry(Scaled(s, 24, 56, w - 16, 88));
    high_->setGeometry(Scaled(s, 24, 96, w - 16, 128));
}

void LiftOffPanel::Load(const PerformanceSettings& settings) {
    (settings.liftoffHeight == 2 ? high_ : low_)->setChecked(true);
}

}  // namespace quorvel
