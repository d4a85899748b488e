#include "ui/common/LogoWidget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include "toolkit/Skin.h"
#include "toolkit/Theme.h"
#include "ui/common/UiFonts.h"

namespace quorvel {

namespace {

constexpr char kLogoImage[] = "logo.png";
constexpr char kIconImage[] = "DeviceDriver.ico";
// The drawn logo's design size: mark and word.
constexpr QSizeF kLogoSize{260, 40};

// The mark: a "Q" ring cut by the accent tail, in a square.
void PaintMark(QPainter& p, const QRectF& square) {
    const qreal s = square.width();
    const QPointF c = square.center();
    p.setPen(QPen(palette::kText, s * 0.14, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    const qreal r = s * 0.34;
    p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 60 * 16, 300 * 16);
    p.setPen(QPen(AccentColor(), s * 0.14, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(s * 0.06, s * 0.06), c + QPointF(s * 0.40, s * 0.40));
}

}  // namespace

void PaintLogo(QPainter& p, const QRectF& rect) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    if (!Skin::Instance().PaintFit(p, rect, QString::fromLatin1(kLogoImage))) {
        // Scale the design into the rectangle, keeping its aspect.
        const qreal k = qMin(rect.width() / kLogoSize.width(), rect.height() / kLogoSize.height());
        const QSizeF size = kLogoSize * k;
        const QRectF box(rect.center() - QPointF(size.width() / 2, size.height() / 2), size);
        PaintMark(p, QRectF(box.left(), box.top(), box.height(), box.height()));
        QFont font = p.font();
        font.setFamily(QString::fromLatin1(kLatinFamily));
        font.setWeight(QFont::Bold);
        font.setPixelSize(qMax(1, qRound(box.height() * 0.62)));
        font.setLetterSpacing(QFont::PercentageSpacing, 112);
        p.setFont(font);
        p.setPen(palette::kText);
        p.drawText(box.adjusted(box.height() * 1.3, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("QUORVEL"));
    }
    p.restore();
}

QIcon AppIcon() {
    QIcon icon = Skin::Instance().Icon(QString::fromLatin1(kIconImage));
    if (!icon.isNull()) return icon;
    for (int side : {16, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(palette::kSurface);
        p.drawRoundedRect(QRectF(0, 0, side, side), side * 0.22, side * 0.22);
        PaintMark(p, QRectF(side * 0.1, side * 0.1, side * 0.8, side * 0.8));
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

LogoWidget::LogoWidget(QWidget* parent) : QWidget(parent) {
    setCursor(Qt::PointingHandCursor);
}

QSize LogoWidget::sizeHint() const {
    const QSize natural = Skin::Instance().NaturalSize(QString::fromLatin1(kLogoImage));
    return natural.isEmpty() ? kLogoSize.toSize() : natural;
}

void LogoWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    PaintLogo(p, rect());
}

void LogoWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}

}  // namespace quorvel
