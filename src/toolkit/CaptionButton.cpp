#include "toolkit/CaptionButton.h"

#include "toolkit/Theme.h"

namespace quorvel {

namespace {
Glyph GlyphOf(CaptionKind kind) {
    switch (kind) {
        case CaptionKind::Close:
            return Glyph::Close;
        case CaptionKind::Minimise:
            return Glyph::Minimise;
        case CaptionKind::Maximise:
            return Glyph::Maximise;
        case CaptionKind::Restore:
            return Glyph::Restore;
        case CaptionKind::Settings:
            return Glyph::Settings;
    }
    return Glyph::None;
}
}  // namespace

QString CaptionButton::ImageName(CaptionKind kind) {
    switch (kind) {
        case CaptionKind::Close:
            return QStringLiteral("sysbtn_close.png");
        case CaptionKind::Minimise:
            return QStringLiteral("sysbtn_min.png");
        case CaptionKind::Maximise:
            return QStringLiteral("sysbtn_maximize.png");
        case CaptionKind::Restore:
            return QStringLiteral("sysbtn_restore.png");
        case CaptionKind::Settings:
            return QStringLiteral("sysbtn_setting.png");
    }
    return {};
}

CaptionButton::CaptionButton(CaptionKind kind, QWidget* parent) : CImageButton(parent), kind_(kind) {
    setFocusPolicy(Qt::NoFocus);  // caption buttons never take the keyboard from the page
    SetTintImage(true);           // monochrome images take the colour of the state (white on red)
    SetKind(kind);
}

void CaptionButton::SetKind(CaptionKind kind) {
    kind_ = kind;
    SetImage(ImageName(kind));
    SetGlyph(GlyphOf(kind));
    SetHoverColor(kind == CaptionKind::Close ? palette::kDanger : QColor());
}

}  // namespace quorvel
