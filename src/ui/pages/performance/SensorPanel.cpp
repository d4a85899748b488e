#include "ui/pages/performance/SensorPanel.h"

#include <QCheckBox>
#include <QLabel>

#include "actions/PerformanceActions.h"
#include "toolkit/CImageButton.h"
#include "ui/common/PageHost.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiRect.h"

namespace quorvel {

SensorPanel::SensorPanel(PageHost& host, QWidget* parent)
    : PerformancePanel(host, parent, QSize(kDesignWidth, 176)) {
    title_ = NewTitle(kTitle, txt::kSensorOptions);
    help_ = NewHelpButton(kHelp);
    Host().Texts().BindComposed(
        help_,
        {txt::kSensorOptions, txt::kSnappingHeading, txt::kSnappingHelp, txt::kSnappingUse,
         txt::kRippleHeading, txt::kRippleHelp, txt::kMotionSyncHeading, txt::kMotionSyncHelp},
        [] {
            return QStringLiteral("%1\n%2\n%3\n%4\n\n%5\n%6\n\n%7\n%8")
                .arg(Text(txt::kSensorOptions), Text(txt::kSnappingHeading), Text(txt::kSnappingHelp),
                     Text(txt::kSnappingUse), Text(txt::kRippleHeading), Text(txt::kRippleHelp),
                     Text(txt::kMotionSyncHeading), Text(txt::kMotionSyncHelp));
        },
        [help = help_](const QString& text) { help->setToolTip(text); });
    const int texts[] = {txt::kAngleSnapping, txt::kRippleControl, txt::kMotionSync};
    for (size_t i = 0; i < options_.size(); ++i) {
        options_[i] = NewCheckBox(kFirstOption + static_cast<int>(i), texts[i]);
        connect(options_[i], &QCheckBox::clicked, this, &SensorPanel::OptionClicked);
    }
    // Right edges keep their distance from the panel's, whatever width the page gives it.
    Place(title_, Ltrb(20, 12, kDesignWidth - 50, 42), 16, kRightToEnd);
    Place(help_, Ltrb(kDesignWidth - 44, 14, kDesignWidth - 16, 42), 0, kAtEnd);
    for (size_t i = 0; i < options_.size(); ++i) {
        const int top = 54 + 36 * static_cast<int>(i);
        Place(options_[i], Ltrb(24, top, kDesignWidth - 16, top + 30), 14, kRightToEnd);
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
