#include "ui/common/SkinnedDialog.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include "toolkit/Skin.h"
#include "toolkit/Theme.h"
#include "ui/common/DesignLayout.h"

namespace quorvel {

SkinnedDialog::SkinnedDialog(QWidget* owner, Qt::WindowFlags flags, const char* name, QSize designSize,
                             DialogLook look)
    : QDialog(owner, flags | Qt::FramelessWindowHint),
      look_(std::move(look)),
      layout_(new DesignLayout(this, designSize)) {
    setObjectName(QLatin1String(name));
    setWindowTitle(QLatin1String(name));
    setFixedSize(designSize);
}

void SkinnedDialog::SetLook(DialogLook look) {
    look_ = std::move(look);
    update();
}

void SkinnedDialog::CentreOnOwner() {
    QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (!owner) return;
    QRect frame = frameGeometry();
    frame.moveCenter(owner->frameGeometry().center());
    move(frame.topLeft());
}

void SkinnedDialog::CentreOnScreen() {
    QWidget* owner = parentWidget();
    QScreen* screen = owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

void SkinnedDialog::closeForDeviceChange() {
    done(kClosedForDevice);
}

void SkinnedDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (placement_ == Placement::OverOwner) CentreOnOwner();
    if (placement_ == Placement::OnScreen) CentreOnScreen();
}

void SkinnedDialog::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QColor fill = look_.fill.isValid() ? look_.fill : palette::kSurface;
    const QColor border = look_.border.isValid() ? look_.border : palette::kBorder;
    switch (look_.mode) {
        case DialogLook::Image::Stretched:
            if (Skin::Instance().Paint(p, rect(), look_.image)) return;
            break;
        case DialogLook::Image::Framed:
            // A nine-slice panel on the window colour; without it a rounded panel with a short accent bar.
            p.fillRect(rect(), palette::kWindow);
            if (Skin::Instance().PaintFrame(p, rect(), look_.image, QMargins(16, 16, 16, 16))) return;
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(border);
            p.setBrush(fill);
            p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 12, 12);
            if (!look_.accent) return;
            p.setPen(Qt::NoPen);
            p.setBrush(AccentColor());
            p.drawRoundedRect(QRectF(24, 0, width() - 48, 3), 1.5, 1.5);
            return;
        case DialogLook::Image::None:
            break;
    }
    p.fillRect(rect(), fill);
    p.setPen(border);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    if (look_.accent) p.fillRect(QRect(0, 0, width(), 3), AccentColor());
}

}  // namespace quorvel
