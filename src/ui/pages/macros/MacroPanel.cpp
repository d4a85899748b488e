#include "ui/pages/macros/MacroPanel.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

#include "toolkit/Paint.h"
#include "toolkit/Skin.h"
#include "toolkit/Theme.h"
#include "ui/common/UiRect.h"

namespace quorvel {

namespace {
constexpr char kPanelImage[] = "img_area_bkg.png";
}

MacroPanel::MacroPanel(const QRect& design, QWidget* parent)
    : QWidget(parent), design_(design), layout_(new DesignLayout(this, design.size())) {
    // The controls' rectangles are the page's coordinates.
    layout_->SetDesignOrigin(design.topLeft());
}

QLabel* MacroPanel::NewLabel(int id, const QRect& design, int fontPx, bool dim) {
    auto* label = new QLabel(this);
    label->setObjectName(ControlName(id));
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, dim ? palette::kTextDim : palette::kText);
    label->setPalette(pal);
    return Place(label, design, fontPx, dim ? QFont::Normal : QFont::DemiBold);
}

QPushButton* MacroPanel::NewButton(int id, const QRect& design) {
    auto* button = new QPushButton(this);
    button->setObjectName(ControlName(id));
    button->setAutoDefault(false);
    return Place(button, design, 14);
}

QRadioButton* MacroPanel::NewRadio(int id, const QRect& design) {
    auto* radio = new QRadioButton(this);
    radio->setObjectName(ControlName(id));
    return Place(radio, design, 14, QFont::Normal);
}

QLineEdit* MacroPanel::NewEdit(int id, const QRect& design) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(ControlName(id));
    edit->setAlignment(Qt::AlignCenter);
    return Place(edit, design, 14);
}

void MacroPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (Skin::Instance().PaintFrame(p, rect(), QString::fromLatin1(kPanelImage), QMargins(16, 16, 16, 16)))
        return;
    p.setPen(palette::kBorder);
    p.setBrush(WithAlpha(palette::kSurface, 235));
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 12, 12);
}

}  // namespace quorvel
