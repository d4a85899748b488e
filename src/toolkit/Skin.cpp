#include "toolkit/Skin.h"

#include <qdrawutil.h>

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>
#include <QThreadPool>
#include <QtMath>

#include "shell/AppContext.h"
#include "toolkit/Theme.h"

namespace quorvel {

namespace {
// Enough for every control of every page at two scales; beyond it the cache starts over.
constexpr std::size_t kPixmapCacheLimit = 600;
// The window's background and its two bars at two window sizes: resizing piles nothing up.
constexpr std::size_t kSoftCacheLimit = 6;
}  // namespace

struct Skin::Source {
    QString path;  // empty: missing
    std::unique_ptr<QSvgRenderer> svg;
    QImage image;
    QSize natural;
};

Skin& Skin::Instance() {
    static Skin skin(QString::fromStdString(JoinPath(ProgramDir(), "skins")) + '/' + GetTheme() + '/');
    return skin;
}

Skin::Skin(QString dir) : dir_(std::move(dir)) {}

Skin::~Skin() = default;

void Skin::SetDir(const QString& dir) {
    dir_ = dir;
    sources_.clear();
    pixmaps_.clear();
    soft_.clear();
    pending_.clear();  // a rendering still under way ends on its own; nothing waits for it
}

QString Skin::Normalise(const QString& name) {
    QString n = name;
    n.replace('\\', '/');
    while (n.contains(QStringLiteral("//"))) n.replace(QStringLiteral("//"), QStringLiteral("/"));
    return n;
}

const Skin::Source* Skin::Load(const QString& name) {
    const QString key = Normalise(name);
    if (auto it = sources_.find(key); it != sources_.end()) return it->second.get();

    auto source = std::make_unique<Source>();
    if (!key.isEmpty()) {
        const QString full = QDir::isAbsolutePath(key) ? key : QDir(dir_).filePath(key);
        const QFileInfo info(full);
        const QString suffix = info.suffix().toLower();
        const QString stem =
            info.suffix().isEmpty() ? full : full.left(full.size() - info.suffix().size() - 1);
        QStringList candidates;
        if (suffix == QLatin1String("svg")) {
            candidates = {full, stem + QStringLiteral(".png")};
        } else if (suffix.isEmpty()) {
            candidates = {full + QStringLiteral(".svg"), full + QStringLiteral(".png")};
        } else {
            candidates = {stem + QStringLiteral(".svg"), full};
        }
        for (const QString& path : candidates) {
            if (!QFileInfo(path).isFile()) continue;
            if (path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
                auto svg = std::make_unique<QSvgRenderer>(path);
                if (!svg->isValid() || svg->defaultSize().isEmpty()) continue;
                source->natural = svg->defaultSize();
                source->svg = std::move(svg);
            } else {
                QImageReader reader(path);
                QImage image = reader.read();
                if (image.isNull()) continue;
                source->natural = image.size();
                source->image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
            }
            source->path = path;
            break;
        }
    }
    return sources_.emplace(key, std::move(source)).first->second.get();
}

QString Skin::Resolve(const QString& name) {
    return Load(name)->path;
}

QSize Skin::NaturalSize(const QString& name) {
    return Load(name)->natural;
}

QIcon Skin::Icon(const QString& name) {
    const QString path = Resolve(name);
    return path.isEmpty() ? QIcon() : QIcon(path);
}

QPixmap Skin::Render(const Source& source, const QSize& pixels) {
    if (source.svg) {
        QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        source.svg->render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
        painter.end();
        return QPixmap::fromImage(std::move(image));  // converted in place, not copied
    }
    if (source.image.size() == pixels) return QPixmap::fromImage(source.image);
    return QPixmap::fromImage(source.image.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

QPixmap Skin::Pixmap(const QString& name, const QSize& size, qreal dpr) {
    return Tinted(name, size, dpr, QColor());
}

QString Skin::Key(const Source& source, const QSize& pixels, qreal dpr, const QColor& tint) {
    return QStringLiteral("%1|%2x%3@%4|%5")
        .arg(source.path)
        .arg(pixels.width())
        .arg(pixels.height())
        .arg(dpr)
        .arg(tint.isValid() ? tint.name(QColor::HexArgb) : QString());
}

QPixmap Skin::Tinted(const QString& name, const QSize& size, qreal dpr, const QColor& tint) {
    if (size.isEmpty()) return {};
    const Source* source = Load(name);
    if (source->path.isEmpty()) return {};
    if (dpr <= 0) dpr = 1.0;
    const QSize pixels(qCeil(size.width() * dpr), qCeil(size.height() * dpr));
    const QString key = Key(*source, pixels, dpr, tint);
    if (auto it = pixmaps_.find(key); it != pixmaps_.end()) return it->second;
    QPixmap pixmap;
    if (auto it = pending_.find(key); it != pending_.end()) {
        pixmap = QPixmap::fromImage(it->second.get());  // waits if the pool is not done yet
        pending_.erase(it);
    } else {
        pixmap = Render(*source, pixels);
    }
    if (tint.isValid()) {
        QPainter painter(&pixmap);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(pixmap.rect(), tint);
    }
    pixmap.setDevicePixelRatio(dpr);
    if (pixmaps_.size() >= kPixmapCacheLimit) pixmaps_.clear();
    pixmaps_.emplace(key, pixmap);
    return pixmap;
}

namespace {
qreal RatioOf(const QPainter& painter) {
    return painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
}
QSize CeilSize(const QSizeF& size) {
    return QSize(qCeil(size.width()), qCeil(size.height()));
}
}  // namespace

bool Skin::Paint(QPainter& painter, const QRectF& rect, const QString& name) {
    const QPixmap pixmap = Pixmap(name, CeilSize(rect.size()), RatioOf(painter));
    if (pixmap.isNull()) return false;
    painter.drawPixmap(rect, pixmap, QRectF(QPointF(0, 0), QSizeF(pixmap.size())));
    return true;
}

QSizeF Skin::FitSize(const QString& name, const QSizeF& box) {
    const QSize natural = NaturalSize(name);
    if (natural.isEmpty() || box.isEmpty()) return {};
    return QSizeF(natural).scaled(box, Qt::KeepAspectRatio);
}

bool Skin::PaintFit(QPainter& painter, const QRectF& rect, const QString& name) {
    const QSizeF fitted = FitSize(name, rect.size());
    if (fitted.isEmpty()) return false;
    const QRectF target(rect.center() - QPointF(fitted.width() / 2, fitted.height() / 2), fitted);
    return Paint(painter, target, name);
}

void Skin::PrerenderFit(const QString& name, const QSizeF& box, qreal dpr) {
    const QSize size = CeilSize(FitSize(name, box));
    const Source* source = Load(name);
    if (size.isEmpty() || !source->svg) return;
    if (dpr <= 0) dpr = 1.0;
    const QSize pixels(qCeil(size.width() * dpr), qCeil(size.height() * dpr));
    const QString key = Key(*source, pixels, dpr, QColor());
    if (pixmaps_.count(key) || pending_.count(key)) return;
    // The job parses its own copy of the file: a renderer belongs to the thread that uses it.
    auto promise = std::make_shared<std::promise<QImage>>();
    pending_.emplace(key, promise->get_future());
    QThreadPool::globalInstance()->start([path = source->path, pixels, promise] {
        QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QSvgRenderer svg(path);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        svg.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
        painter.end();
        promise->set_value(std::move(image));
    });
}

bool Skin::PaintTinted(QPainter& painter, const QRectF& rect, const QString& name, const QColor& tint) {
    const QPixmap pixmap = Tinted(name, CeilSize(rect.size()), RatioOf(painter), tint);
    if (pixmap.isNull()) return false;
    painter.drawPixmap(rect, pixmap, QRectF(QPointF(0, 0), QSizeF(pixmap.size())));
    return true;
}

bool Skin::PaintSoft(QPainter& painter, const QRectF& rect, const QString& name, Qt::Orientations soft) {
    constexpr int kReduction = 4;
    if (rect.isEmpty()) return false;
    const Source* source = Load(name);
    if (source->path.isEmpty()) return false;
    // A crisp direction keeps every device pixel.
    const qreal dpr = RatioOf(painter);
    const auto length = [&](qreal logical, Qt::Orientation along) {
        return qCeil(soft.testFlag(along) ? logical / kReduction : logical * dpr);
    };
    const QSize size(length(rect.width(), Qt::Horizontal), length(rect.height(), Qt::Vertical));
    const QString key = QStringLiteral("%1|%2|%3x%4")
                            .arg(source->path)
                            .arg(soft.toInt())
                            .arg(size.width())
                            .arg(size.height());
    auto it = soft_.find(key);
    if (it == soft_.end()) {
        if (soft_.size() >= kSoftCacheLimit) soft_.clear();
        it = soft_.emplace(key, Render(*source, size)).first;
    }
    const QPixmap& pixmap = it->second;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect, pixmap, QRectF(QPointF(0, 0), QSizeF(pixmap.size())));
    painter.restore();
    return true;
}

bool Skin::PaintFrame(QPainter& painter, const QRect& rect, const QString& name, const QMargins& margins) {
    const QSize natural = NaturalSize(name);
    if (natural.isEmpty() || rect.isEmpty()) return false;
    const QPixmap pixmap = Pixmap(name, natural, RatioOf(painter));
    if (pixmap.isNull()) return false;
    // Corners never grow beyond half the target, so a small target still shows a whole frame.
    QMargins m = margins;
    m.setLeft(qMin(m.left(), rect.width() / 2));
    m.setRight(qMin(m.right(), rect.width() / 2));
    m.setTop(qMin(m.top(), rect.height() / 2));
    m.setBottom(qMin(m.bottom(), rect.height() / 2));
    // The slices of the image are in its device pixels: at 2x they are twice the margins (the arrow of a
    // combo box lies inside its right slice only then).
    qDrawBorderPixmap(&painter, rect, m, pixmap, pixmap.rect(), margins * pixmap.devicePixelRatio());
    return true;
}

}  // namespace quorvel
