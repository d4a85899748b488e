#include "ui/pages/buttons/ButtonPanelCard.h"

#include <QLabel>
#include <QPainter>

#include "toolkit/Paint.h"
#include "toolkit/Skin.h"
#include "toolkit/Theme.h"
#include "ui/common/DesignLayout.h"
#include "ui/common/UiRect.h"

namespace quorvel {

ButtonPanelCard::ButtonPanelCard(QSize designSize, QWidget* parent)
    : QWidget(parent), layout_(new DesignLayout(this, designSize)) {
    // The panels' type is truncated and never vanishes below one pixel.
    layout_->SetFontRule({1, false});
}

void ButtonPanelCard::SetScale(qreal scale) {
    layout_->SetScale(scale);
    update();  // what the card draws follows the scale too
}

QLabel* ButtonPanelCard::NewLabel(int id, bool bright) {
    auto* label = new QLabel(this);
    if (id) label->setObjectName(ControlName(id));
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, bright ? palette::kText : palette::kTextDim);
    label->setPalette(pal);
    return label;
}

void ButtonPanelCard::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!Skin::Instance().PaintFrame(p, rect(), QStringLiteral("img_area_bkg.png"), QMargins(16, 16, 16, 16)))
        PaintCard(p, rect(), 12, CardState::Normal);
}

}  // namespace quorvel
