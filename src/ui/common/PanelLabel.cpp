#include "ui/common/PanelLabel.h"

#include "toolkit/Theme.h"
#include "ui/common/UiRect.h"

namespace quorvel {

QLabel* NewPanelLabel(QWidget* parent, int id, LabelTone tone) {
    auto* label = new QLabel(parent);
    label->setObjectName(ControlName(id));
    label->setProperty("tone", static_cast<int>(tone));
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, tone == LabelTone::Heading ? palette::kText : palette::kTextDim);
    label->setPalette(colours);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

QFont::Weight PanelLabelWeight(const QLabel* label) {
    const bool heading = label->property("tone").toInt() == static_cast<int>(LabelTone::Heading);
    return heading ? QFont::DemiBold : QFont::Normal;
}

}  // namespace quorvel
