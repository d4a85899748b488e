#pragma once
// A skin image as a control: window and page backgrounds, the caption bar, the logo, the picture of the
// current mouse. Stretched, fitted (aspect kept) or drawn as a nine-slice frame; when the skin lacks the
// image, the fallback colour (the panel colour unless set otherwise) fills the control so nothing shows
// blank.

#include <QColor>
#include <QMargins>
#include <QWidget>

namespace quorvel {

class MPicture : public QWidget {
    Q_OBJECT
public:
    enum class Mode { Stretch, Fit, Frame };

    explicit MPicture(QWidget* parent = nullptr);
    MPicture(const QString& image, Mode mode, QWidget* parent = nullptr);

    void SetImage(const QString& name);
    QString Image() const { return image_; }
    void SetMode(Mode mode, const QMargins& frame = QMargins(16, 16, 16, 16));
    // Filled when the image is missing; an invalid colour leaves the control empty then.
    void SetFallbackColor(const QColor& colour);
    // The image's own size (0x0 when missing), for controls placed at "the picture's own size".
    QSize ImageSize() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString image_;
    Mode mode_ = Mode::Stretch;
    QMargins frame_{16, 16, 16, 16};
    QColor fallback_;  // set in the constructor
};

}  // namespace quorvel
