#pragma once
// The product's logo ("logo.png" of the skin) and the window icon ("DeviceDriver.ico"), each with a drawn
// Quorvel mark when the skin lacks the image.

#include <QIcon>
#include <QWidget>

namespace quorvel {

// Paints the logo into the rectangle (aspect kept, centred).
void PaintLogo(QPainter& painter, const QRectF& rect);
// The window and task-bar icon.
QIcon AppIcon();

// The logo as a control. Clickable: the main window opens About with it.
class LogoWidget : public QWidget {
    Q_OBJECT
public:
    explicit LogoWidget(QWidget* parent = nullptr);
    QSize sizeHint() const override;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace quorvel
