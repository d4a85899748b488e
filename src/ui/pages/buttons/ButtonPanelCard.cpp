#include "ui/pages/buttons/ButtonPanelCard.h"

#include <QLabel>
#include <QPainter>

#include "toolkit/Paint.h"
#include "toolkit/Skin.h"
#include "toolkit/Theme.h"
#include "ui/common/UiFonts.h"
#include "ui/common/UiRect.h"

namespace quorvel {

ButtonPanelCard::ButtonPanelCard(QWidget* parent) : QWidget(parent) {}

void ButtonPanelCard::SetScale(qreal scale) {
    if (scale <= 0 || scale == scale_) return;
    scale_ = scale;
    Layout();
}

QLabel* ButtonPanelCard::NewLabel(int id, int pixels, bool bright) {
    auto* label = new QLabel(this);
    if (id) label->setObjectName(ControlName(id));
    RefontLabel(label, pixels, bright);
    return label;
}

void ButtonPanelCard::RefontLabel(QLabel* label, int pixels, bool bright) {
    label->setFont(UiFont(qMax(1, S(pixels)), bright ? QFont::DemiBold : QFont::Normal));
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, bright ? palette::kText : palette::kTextDim);
    label->setPalette(pal);
}

void ButtonPanelCard::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!Skin::Instance().PaintFrame(p, rect(), QStringLiteral("img_area_bkg.png"), QMargins(16, 16, 16, 16)))
        PaintCard(p, rect(), 12, CardState::Normal);
}

void ButtonPanelCard::resizeEvent(QResizeEvent*) {
    Layout();
}

}  // namespace quorvel
