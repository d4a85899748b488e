#include "ui/pages/performance/SensorPanel.h"

#include <QCheckBox>
#include <QLabel>

#include "actions/PerformanceActions.h"
#include "toolkit/CImageButton.h"
#include "ui/common/PageHost.h"
#include "ui/common/UiRect.h"

namespace quorvel {

SensorPanel::SensorPanel(PageHost& host, QWidget* parent) : PerformancePanel(host, parent) {
    title_ = NewTitle(kTitle, 503);
    help_ = NewHelpButton(kHelp);
    Host().Texts().BindComposed(
        help_, {503, 505, 506, 509, 507, 508, 511, 512},
        [] {
            return QStringLiteral("%1\n%2\n%3\n%4\n\n%5\n%6\n\n%7\n%8")
                .arg(Text(503), Text(505), Text(506), Text(509), Text(507), Text(508), Text(511), Text(512));
        },
        [help = help_](const QString& text) { help->setToolTip(text); });
    const int texts[] = {515, 516, 517};
    for (size_t i = 0; i < options_.size(); ++i) {
        options_[i] = NewCheckBox(kFirstOption + static_cast<int>(i), texts[i]);
        connect(options_[i], &QCheckBox::clicked, this, &SensorPanel::OptionClicked);
    }
}

void SensorPanel::UISize(qreal s) {
    SetFontPixels(title_, s, 16, true);
    const int w = static_cast<int>(width() / s);
    title_->setGeometry(Scaled(s, 20, 12, w - 50, 42));
    help_->setGeometry(Scaled(s, w - 44, 14, w - 16, 42));
    for (size_t i = 0; i < options_.size(); ++i) {
        SetFontPixels(options_[i], s, 14, true);
        const int top = 54 + 36 * static_cast<int>(i);
        options_[i]->setGeometry(Scaled(s, 24, top, w - 16, top + 30));
    }
}

void SensorPanel::Load(const PerformanceSettings& settings) {
    for (size_t i = 0; i < options_.size(); ++i)
        options_[i]->setChecked((settings.sensorFlags & kBits[i]) != 0);
}

void SensorPanel::OptionClicked() {
    // Made only of the three boxes: other bits of the stored value are not kept.
    int flags = 0;
    for (size_t i = 0; i < options_.size(); ++i) {
        if (options_[i]->isChecked()) flags += kBits[i];
    }
    Submit(SetSensorFlags(Host().Actions(), flags));
}

}  // namespace quorvel
