#pragma once
// What the picture makers of ui_screenshots share with its main and with each other.

#include <QPainter>
#include <QPalette>
#include <QString>
#include <QWidget>

#include "toolkit/Skin.h"
#include "toolkit/Theme.h"

namespace quorvel::test {

// The folder the pictures are written to: the tool's argument, created before any maker runs.
QString ShotDir();

// The skin the program ships, as the pictures show it.
inline void UseShippedSkin() {
    Skin::Instance().SetDir(QStringLiteral(QUORVEL_PRODUCT_DIR "/skins/default/"));
}

// The main window's background under a page, as the program shows it; a window of its own (without a
// frame) when it has no parent.
class Backdrop : public QWidget {
public:
    explicit Backdrop(QWidget* parent = nullptr)
        : QWidget(parent, parent ? Qt::WindowFlags() : Qt::FramelessWindowHint) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        if (!Skin::Instance().Paint(p, rect(), QStringLiteral("main_bkg.png")))
            p.fillRect(rect(), palette::kWindow);
    }
};

// The window's own colour under what it holds, as the program's windows have it.
inline void FillWithWindowColour(QWidget* window) {
    window->setAutoFillBackground(true);
    QPalette pal = window->palette();
    pal.setColor(QPalette::Window, palette::kWindow);
    window->setPalette(pal);
}

}  // namespace quorvel::test
