#pragma once
// The skin loader. Controls name their images the way the product data does ("sysbtn_close.png",
// "icon\tab_home.png", a full path under skins/); the loader looks in the skin folder, prefers an SVG of
// the same name (crisp at any scale) and accepts the PNG. Every image is optional: a name that does not
// load is remembered as missing, so a control asks once, draws its own look and nothing is logged again.
// Rendered images are cached per size and pixel ratio. UI thread only (pixmaps).

#include <QColor>
#include <QIcon>
#include <QMargins>
#include <QPixmap>
#include <QRectF>
#include <QSize>
#include <QString>
#include <future>
#include <map>
#include <memory>

class QPainter;
class QSvgRenderer;

namespace quorvel {

class Skin {
public:
    // The program's skin: <program directory>/skins/<GetTheme()>/.
    static Skin& Instance();

    explicit Skin(QString dir);
    ~Skin();
    Skin(const Skin&) = delete;
    Skin& operator=(const Skin&) = delete;

    QString Dir() const { return dir_; }
    // Points the loader at another folder and forgets everything loaded from the old one.
    void SetDir(const QString& dir);

    // The file a name loads from; empty when neither the SVG nor the PNG loads.
    QString Resolve(const QString& name);
    bool Has(const QString& name) { return !Resolve(name).isEmpty(); }
    // The image's own size in logical pixels (an SVG's width and height, a PNG's pixels); empty if missing.
    QSize NaturalSize(const QString& name);
    // The image rendered at `size` logical pixels for the pixel ratio; null when missing.
    QPixmap Pixmap(const QString& name, const QSize& size, qreal dpr = 1.0);
    // The same with every opaque pixel in `tint` (monochrome icons take the colour of their state).
    QPixmap Tinted(const QString& name, const QSize& size, qreal dpr, const QColor& tint);

    // The image as an icon (window, tray): scalable from an SVG; a null icon when missing.
    QIcon Icon(const QString& name);

    // Painting helpers: each returns false when the image is missing, so the caller draws its own look.
    bool Paint(QPainter& painter, const QRectF& rect, const QString& name);     // stretched
    bool PaintFit(QPainter& painter, const QRectF& rect, const QString& name);  // aspect kept
    bool PaintTinted(QPainter& painter, const QRectF& rect, const QString& name, const QColor& tint);
    // An image that is soft along `soft` (gradients only: the window's background both ways, a bar with
    // crisp edge lines along its length) stretched over `rect`: rendered at a quarter of its logical size
    // along those directions and drawn scaled up with smoothing, which looks the same for a quarter of the
    // memory per soft direction, at any pixel ratio. Only a few sizes are kept, so resizing the window
    // piles nothing up.
    bool PaintSoft(QPainter& painter, const QRectF& rect, const QString& name,
                   Qt::Orientations soft = Qt::Horizontal | Qt::Vertical);
    // Starts rendering an SVG for PaintFit() into `box` on a pool thread, so the paint that follows finds it
    // ready instead of rendering on the UI thread (the device list's mouse pictures, painted right after
    // the start). A PNG or a missing image is left to the paint.
    void PrerenderFit(const QString& name, const QSizeF& box, qreal dpr);
    // Nine-slice: the margins (logical pixels of the image) keep their size, the middle stretches.
    bool PaintFrame(QPainter& painter, const QRect& rect, const QString& name, const QMargins& margins);

    // Normalised form of a name: '\' becomes '/', doubled separators collapse.
    static QString Normalise(const QString& name);

private:
    struct Source;
    const Source* Load(const QString& name);
    QPixmap Render(const Source& source, const QSize& pixels);
    static QString Key(const Source& source, const QSize& pixels, qreal dpr, const QColor& tint);
    QSizeF FitSize(const QString& name, const QSizeF& box);

    QString dir_;
    std::map<QString, std::unique_ptr<Source>> sources_;  // by normalised name; missing ones too
    std::map<QString, QPixmap> pixmaps_;                  // by name, size, ratio and tint
    std::map<QString, std::future<QImage>> pending_;      // renderings under way on the pool, by the same key
    std::map<QString, QPixmap> soft_;                     // by name, direction and size; a few only
};

}  // namespace quorvel
