#pragma once
// Helpers of the toolkit tests: a skin folder of the test's own (empty unless files are written into it),
// a look at what a control painted, and the pointer and key events a user would make.

#include <QDir>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QSet>
#include <QTemporaryDir>
#include <QVariant>
#include <QWidget>
#include <ostream>

#include "toolkit/Skin.h"

namespace quorvel::test {

// Points the program's skin at a fresh folder for the lifetime of the object, then back.
class ScratchSkin {
public:
    ScratchSkin() : previous_(Skin::Instance().Dir()) { Skin::Instance().SetDir(dir_.path() + '/'); }
    ~ScratchSkin() { Skin::Instance().SetDir(previous_); }
    QString Path(const QString& name) const { return dir_.filePath(name); }
    void Write(const QString& name, const QByteArray& bytes) const;

private:
    QTemporaryDir dir_;
    QString previous_;
};

// The shipped skin, for tests that look at the real images.
class ProductSkin {
public:
    ProductSkin() : previous_(Skin::Instance().Dir()) {
        Skin::Instance().SetDir(QStringLiteral(QUORVEL_PRODUCT_DIR "/skins/default/"));
    }
    ~ProductSkin() { Skin::Instance().SetDir(previous_); }

private:
    QString previous_;
};

// Number of different colours in the image (capped), to tell a drawn control from a blank one.
int DistinctColours(const QImage& image, int cap = 64);
// What the widget paints, as an image at its own size.
QImage Grab(QWidget& widget);

// A left click at a point of the widget (press and release), as the window system delivers it.
void Click(QWidget& widget, QPoint pos, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void DoubleClick(QWidget& widget, QPoint pos);
// A press, moves through the points, and a release at the last one.
void Drag(QWidget& widget, const QList<QPoint>& points);
// A wheel turn by notches (positive: away from the user).
void Wheel(QWidget& widget, QPoint pos, int notches);
// A key pressed and released, sent to the widget itself (no native codes, as offscreen delivers them).
void KeyClick(QWidget& widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
              const QString& text = {});
void TypeText(QWidget& widget, const QString& text);

// Every emission of a signal, with its arguments, for tables that compare what a control reported.
class SignalLog {
public:
    template <typename Sender, typename Owner, typename... Args>
    SignalLog(Sender* sender, void (Owner::*signal)(Args...)) {
        QObject::connect(sender, signal, [this](Args... args) {
            calls.push_back(QVariantList{QVariant::fromValue(std::decay_t<Args>(args))...});
        });
    }
    int count() const { return static_cast<int>(calls.size()); }
    void clear() { calls.clear(); }
    QVariantList last() const { return calls.empty() ? QVariantList() : calls.back(); }
    QList<QVariantList> calls;
};

}  // namespace quorvel::test

// Readable failure messages for the signal logs.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QVariant& value, std::ostream* os) {
    *os << value.toString().toStdString();
}
inline void PrintTo(const QString& value, std::ostream* os) {
    *os << '"' << value.toStdString() << '"';
}
QT_END_NAMESPACE
