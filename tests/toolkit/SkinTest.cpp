#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include "ToolkitTestSupport.h"
#include "toolkit/Skin.h"
#include "toolkit/Theme.h"

namespace quorvel {
namespace {

using test::ScratchSkin;

QByteArray Svg(int w, int h, const char* fill) {
    return QStringLiteral(
               "<svg xmlns='http://www.w3.org/2000/svg' width='%1' height='%2' viewBox='0 0 %1 %2'>"
               "<rect width='%1' height='%2' fill='%3'/></svg>")
        .arg(w)
        .arg(h)
        .arg(QLatin1String(fill))
        .toUtf8();
}

QByteArray Png(int w, int h, QColor colour) {
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

TEST(Skin, ResolvesNamesAsTheProductDataGivesThem) {
    ScratchSkin skin;
    skin.Write("both.svg", Svg(10, 10, "#ff0000"));
    skin.Write("both.png", Png(10, 10, Qt::blue));
    skin.Write("only_png.png", Png(12, 8, Qt::green));
    skin.Write("icon/tab_home.svg", Svg(24, 24, "#ffffff"));
    skin.Write("device/QuorvelR2_mouse.svg", Svg(480, 340, "#202020"));
    skin.Write("broken.svg", "<svg this is not xml");
    skin.Write("broken.png", "not a png");
    skin.Write("bad_svg_good_png.svg", "<svg");
    skin.Write("bad_svg_good_png.png", Png(4, 4, Qt::red));

    struct Case {
        const char* name;
        const char* file;  // relative to the skin; "" = missing
    } cases[] = {
        {"both.png", "both.svg"},  // SVG first
        {"both.svg", "both.svg"},
        {"both", "both.svg"},
        {"only_png.png", "only_png.png"},  // PNG accepted
        {"only_png.svg", "only_png.png"},
        {"icon\\tab_home.png", "icon/tab_home.svg"},  // '\' is a separator
        {"icon\\\\tab_home.png", "icon/tab_home.svg"},
        {"device\\QuorvelR2_mouse.png", "device/QuorvelR2_mouse.svg"},
        {"broken.png", ""},  // unreadable SVG and PNG: missing
        {"bad_svg_good_png.png", "bad_svg_good_png.png"},
        {"absent.png", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        const QString expected = *c.file ? skin.Path(c.file) : QString();
        EXPECT_EQ(Skin::Instance().Resolve(c.name), expected) << c.name;
        EXPECT_EQ(Skin::Instance().Has(c.name), *c.file != 0) << c.name;
    }
    // A full path, as the product table builds for device pictures, Windows separators and all.
    QString full = skin.Path("device/QuorvelR2.png");
    full.replace('/', '\\');
    skin.Write("device/QuorvelR2.svg", Svg(200, 120, "#303030"));
    EXPECT_EQ(Skin::Instance().Resolve(full), skin.Path("device/QuorvelR2.svg"));
    EXPECT_EQ(Skin::Instance().Resolve(skin.Path("device/QuorvelR2.png")), skin.Path("device/QuorvelR2.svg"));
}

TEST(Skin, NaturalSizeAndRenderingPerSizeAndRatio) {
    ScratchSkin skin;
    skin.Write("a.svg", Svg(40, 20, "#00ff00"));
    skin.Write("b.png", Png(12, 8, Qt::green));
    EXPECT_EQ(Skin::Instance().NaturalSize("a.png"), QSize(40, 20));
    EXPECT_EQ(Skin::Instance().NaturalSize("b.png"), QSize(12, 8));
    EXPECT_TRUE(Skin::Instance().NaturalSize("c.png").isEmpty());

    struct Case {
        const char* name;
        QSize size;
        qreal dpr;
        QSize pixels;
    } cases[] = {
        {"a.png", {40, 20}, 1.0, {40, 20}}, {"a.png", {40, 20}, 2.0, {80, 40}},
        {"a.png", {10, 10}, 1.5, {15, 15}}, {"b.png", {24, 16}, 1.0, {24, 16}},
        {"b.png", {12, 8}, 2.0, {24, 16}},
    };
    for (const Case& c : cases) {
        const QPixmap pixmap = Skin::Instance().Pixmap(c.name, c.size, c.dpr);
        ASSERT_FALSE(pixmap.isNull()) << c.name;
        EXPECT_EQ(pixmap.size(), c.pixels) << c.name << " at " << c.dpr;
        EXPECT_EQ(pixmap.devicePixelRatio(), c.dpr);
        EXPECT_EQ(pixmap.toImage().pixelColor(c.pixels.width() / 2, c.pixels.height() / 2),
                  QColor(Qt::green));
        // Asked again at the same size: the cached rendering.
        EXPECT_EQ(Skin::Instance().Pixmap(c.name, c.size, c.dpr).cacheKey(), pixmap.cacheKey());
    }
    EXPECT_TRUE(Skin::Instance().Pixmap("missing.png", {10, 10}).isNull());
    // The program icon is named "DeviceDriver.ico"; an SVG of that name serves at any size.
    skin.Write("DeviceDriver.svg", Svg(256, 256, "#00ff00"));
    const QIcon icon = Skin::Instance().Icon("DeviceDriver.ico");
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.pixmap(QSize(48, 48)).toImage().pixelColor(24, 24), QColor(Qt::green));
    EXPECT_TRUE(Skin::Instance().Icon("nothing.ico").isNull());
    EXPECT_TRUE(Skin::Instance().Pixmap("a.png", {0, 10}).isNull());

    const QPixmap tinted = Skin::Instance().Tinted("a.png", {4, 4}, 1.0, QColor(Qt::red));
    EXPECT_EQ(tinted.toImage().pixelColor(2, 2), QColor(Qt::red));
}

TEST(Skin, PaintHelpersSayWhenTheImageIsMissing) {
    ScratchSkin skin;
    skin.Write("frame.svg", Svg(30, 30, "#0000ff"));
    QImage target(60, 40, QImage::Format_ARGB32_Premultiplied);
    target.fill(Qt::transparent);
    QPainter p(&target);
    EXPECT_FALSE(Skin::Instance().Paint(p, QRectF(0, 0, 10, 10), "nothing.png"));
    EXPECT_FALSE(Skin::Instance().PaintFit(p, QRectF(0, 0, 10, 10), "nothing.png"));
    EXPECT_FALSE(Skin::Instance().PaintTinted(p, QRectF(0, 0, 10, 10), "nothing.png", Qt::red));
    EXPECT_FALSE(Skin::Instance().PaintFrame(p, QRect(0, 0, 10, 10), "nothing.png", QMargins(2, 2, 2, 2)));
    EXPECT_FALSE(Skin::Instance().PaintSoft(p, QRectF(0, 0, 10, 10), "nothing.png"));
    EXPECT_TRUE(Skin::Instance().PaintFrame(p, QRect(0, 0, 60, 40), "frame.png", QMargins(8, 8, 8, 8)));
    p.end();
    EXPECT_EQ(target.pixelColor(1, 1), QColor(Qt::blue));
    EXPECT_EQ(target.pixelColor(58, 38), QColor(Qt::blue));
    EXPECT_EQ(target.pixelColor(30, 20), QColor(Qt::blue));
}

// The window's background and bars are drawn from a quarter-size rendering along their soft directions:
// over the whole rectangle, at odd sizes too, and no channel far from the full-size rendering, the crisp
// edge lines of a bar included.
TEST(Skin, ASoftImageLooksLikeItsFullRendering) {
    ScratchSkin skin;
    skin.Write("soft.svg",
               "<svg xmlns='http://www.w3.org/2000/svg' width='400' height='200' viewBox='0 0 400 200' "
               "preserveAspectRatio='none'><defs><linearGradient id='g' x1='0' y1='0' x2='1' y2='1'>"
               "<stop offset='0' stop-color='#000000'/><stop offset='1' stop-color='#40c0ff'/>"
               "</linearGradient></defs><rect width='400' height='200' fill='url(#g)'/></svg>");
    skin.Write("bar.svg",
               "<svg xmlns='http://www.w3.org/2000/svg' width='400' height='20' viewBox='0 0 400 20' "
               "preserveAspectRatio='none'><defs><linearGradient id='e' x1='0' y1='0' x2='1' y2='0'>"
               "<stop offset='0' stop-color='#ffffff' stop-opacity='0'/><stop offset='0.5' "
               "stop-color='#ffffff'/><stop offset='1' stop-color='#ffffff' stop-opacity='0'/>"
               "</linearGradient></defs><rect width='400' height='20' fill='#202830'/>"
               "<rect width='400' height='1' fill='url(#e)'/><rect y='19' width='400' height='1' "
               "fill='url(#e)'/></svg>");
    struct Case {
        const char* name;
        Qt::Orientations soft;
        QSize size;
    } cases[] = {
        {"soft.png", Qt::Horizontal | Qt::Vertical, {400, 200}},
        {"soft.png", Qt::Horizontal | Qt::Vertical, {403, 197}},
        {"bar.png", Qt::Horizontal, {400, 20}},
        {"bar.png", Qt::Horizontal, {1001, 20}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(c.size.width()));
        QImage soft(c.size, QImage::Format_ARGB32_Premultiplied), full = soft;
        soft.fill(Qt::transparent);
        full.fill(Qt::transparent);
        QPainter ps(&soft), pf(&full);
        ASSERT_TRUE(Skin::Instance().PaintSoft(ps, QRectF(QPointF(0, 0), c.size), c.name, c.soft));
        ASSERT_TRUE(Skin::Instance().Paint(pf, QRectF(QPointF(0, 0), c.size), c.name));
        ps.end();
        pf.end();
        int worst = 0;
        for (int y = 0; y < c.size.height(); ++y)
            for (int x = 0; x < c.size.width(); ++x) {
                const QColor a = soft.pixelColor(x, y), b = full.pixelColor(x, y);
                ASSERT_EQ(a.alpha(), 255) << x << "," << y << " not painted";
                worst = std::max({worst, std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                                  std::abs(a.blue() - b.blue())});
            }
        EXPECT_LE(worst, 4);
    }
}

// A picture rendered on the pool ahead of its paint is the picture the paint would have rendered: taken
// from the pool at the size the paint asks, left alone at another size, and harmless for a PNG or a
// missing name.
TEST(Skin, APrerenderedPictureIsTheOneThePaintWouldRender) {
    ScratchSkin skin;
    skin.Write("mouse.svg",
               "<svg xmlns='http://www.w3.org/2000/svg' width='48' height='32' viewBox='0 0 48 32'>"
               "<defs><linearGradient id='g' x1='0' y1='0' x2='1' y2='1'><stop offset='0' "
               "stop-color='#40c0ff'/><stop offset='1' stop-color='#102030'/></linearGradient></defs>"
               "<ellipse cx='24' cy='16' rx='22' ry='14' fill='url(#g)'/></svg>");
    skin.Write("flat.png", Png(12, 8, Qt::green));
    const auto paint = [](const char* name, QSizeF box) {
        QImage target(box.toSize(), QImage::Format_ARGB32_Premultiplied);
        target.fill(Qt::transparent);
        QPainter p(&target);
        EXPECT_TRUE(Skin::Instance().PaintFit(p, QRectF(QPointF(0, 0), box), name)) << name;
        return target;
    };
    const QImage direct = paint("mouse.png", {150, 90});
    ASSERT_EQ(direct.pixelColor(75, 45).alpha(), 255);
    Skin::Instance().SetDir(Skin::Instance().Dir());  // forget the rendering just made
    for (const QSizeF box : {QSizeF(150, 90), QSizeF(97, 61)})
        Skin::Instance().PrerenderFit("mouse.png", box, 1.0);
    Skin::Instance().PrerenderFit("flat.png", {24, 16}, 1.0);
    Skin::Instance().PrerenderFit("nothing.png", {24, 16}, 1.0);
    EXPECT_EQ(paint("mouse.png", {150, 90}), direct);
    EXPECT_EQ(paint("mouse.png", {120, 80}).pixelColor(60, 40).alpha(), 255) << "another size renders here";
    EXPECT_EQ(paint("flat.png", {24, 16}).pixelColor(12, 8), QColor(Qt::green));
}

// A skin folder swapped at run time (the tests do it; a product could too) forgets what the old one held.
TEST(Skin, SetDirForgetsTheOldFolder) {
    ScratchSkin first;
    first.Write("x.svg", Svg(5, 5, "#ffffff"));
    EXPECT_TRUE(Skin::Instance().Has("x.png"));
    {
        ScratchSkin second;
        EXPECT_FALSE(Skin::Instance().Has("x.png"));
    }
    EXPECT_TRUE(Skin::Instance().Has("x.png"));
}

TEST(Theme, StoredColourValueHasRedInTheLowByte) {
    struct Case {
        int ref;
        QColor colour;
    } cases[] = {
        {0x0000FF, QColor(255, 0, 0)},     {0xFF00F0, QColor(240, 0, 255)},  {0x00DEFF, QColor(255, 222, 0)},
        {33023, QColor(0xFF, 0x80, 0x00)}, {0xD027FB, QColor(251, 39, 208)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ColorFromRef(c.ref), c.colour) << std::hex << c.ref;
        EXPECT_EQ(ColorToRef(c.colour), c.ref) << std::hex << c.ref;
    }
    EXPECT_EQ(ColorFromRef(static_cast<int>(0xFF123456u)), QColor(0x56, 0x34, 0x12));  // high byte ignored
}

}  // namespace
}  // namespace quorvel
