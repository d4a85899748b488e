#include "ui/pages/macros/MacroMenus.h"

#include <QAction>
#include <QPainter>
#include <QPixmap>
#include <utility>

#include "toolkit/Glyphs.h"
#include "toolkit/Paint.h"
#include "toolkit/Theme.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiFonts.h"
#include "ui/common/UiRect.h"
#include "ui/common/UiText.h"
#include "ui/pages/macros/MacroPageIds.h"

namespace quorvel {

using namespace macro_page;

namespace {

QString Css(const QColor& c) {
    return QStringLiteral("rgba(%1,%2,%3,%4)").arg(c.red()).arg(c.green()).arg(c.blue()).arg(c.alpha());
}

QMenu* NewMenu(QWidget* parent, qreal scale, const char* name, int width) {
    auto* menu = new QMenu(parent);
    menu->setObjectName(QString::fromLatin1(name));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->setFont(UiFont(qMax(9, qRound(14 * scale)), QFont::Normal));
    menu->setMinimumWidth(qRound(width * scale));
    // A raised card with an outline, so the menu stands out from the list under it.
    const int pad = qRound(8 * scale);
    menu->setStyleSheet(QStringLiteral("QMenu { background: %1; border: 1px solid %2; padding: %3px 0px; }"
                                       "QMenu::item { color: %4; padding: %3px %5px %3px %6px; }"
                                       "QMenu::item:selected { background: %7; }"
                                       "QMenu::icon { padding-left: %6px; }")
                            .arg(Css(palette::kRaised), Css(palette::kBorder))
                            .arg(pad)
                            .arg(Css(palette::kText))
                            .arg(qRound(24 * scale))
                            .arg(qRound(12 * scale))
                            .arg(Css(WithAlpha(AccentColor(), 70))));
    return menu;
}

// The item's glyph, drawn for the screen's pixel ratio.
QIcon GlyphIcon(Glyph glyph, qreal dpr) {
    QPixmap pixmap(QSize(18, 18) * dpr);
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    PaintGlyph(p, QRectF(1, 1, 16, 16), glyph, palette::kTextDim);
    return QIcon(pixmap);
}

void AddItem(QMenu* menu, TextRegistry& texts, int id, int text, std::function<void()> chosen,
             Glyph glyph = Glyph::None) {
    QAction* action = menu->addAction(QString());
    if (glyph != Glyph::None) action->setIcon(GlyphIcon(glyph, menu->devicePixelRatioF()));
    action->setObjectName(ControlName(id));
    texts.Bind(action, UiText(text), [action](const QString& s) { action->setText(s); });
    QObject::connect(action, &QAction::triggered, menu, [chosen = std::move(chosen)] {
        if (chosen) chosen();
    });
}

}  // namespace

QMenu* OpenMacroListMenu(QWidget* parent, TextRegistry& texts, qreal scale, const QPoint& at,
                         MacroListMenuChoices choices) {
    QMenu* menu = NewMenu(parent, scale, "MacroListMenu", 150);
    AddItem(menu, texts, kMenuImportMacro, txt::kImport, std::move(choices.importMacro));
    if (choices.macroChosen) {
        AddItem(menu, texts, kMenuExportMacro, txt::kExport, std::move(choices.exportMacro));
        AddItem(menu, texts, kMenuImportList, txt::kImportMacroList, std::move(choices.importList));
        AddItem(menu, texts, kMenuExportAll, txt::kExportAllMacros, std::move(choices.exportAll));
    }
    menu->popup(at + QPoint(2, 2));
    return menu;
}

QMenu* OpenInsertMenu(QWidget* parent, TextRegistry& texts, qreal scale, QWidget* button,
                      InsertMenuChoices choices) {
    QMenu* menu = NewMenu(parent, scale, "InsertMenu", 170);
    auto pressOf = [&choices](int bit) { return [f = choices.button, bit] { f(bit); }; };
    AddItem(menu, texts, kInsertLeft, txt::kLeftButton, pressOf(kMacroButtonLeft), Glyph::Mouse);
    AddItem(menu, texts, kInsertMiddle, txt::kMiddleButton, pressOf(kMacroButtonMiddle), Glyph::Mouse);
    AddItem(menu, texts, kInsertRight, txt::kRightButton, pressOf(kMacroButtonRight), Glyph::Mouse);
    AddItem(menu, texts, kInsertKey, txt::kKeyboardKey, std::move(choices.key), Glyph::Keyboard);
    AddItem(menu, texts, kInsertDelay, txt::kInsertDelay, std::move(choices.delay), Glyph::Delay);
    // Above the button, so the list it inserts into stays in view.
    menu->popup(button->mapToGlobal(QPoint(0, -menu->sizeHint().height() - qRound(4 * scale))));
    return menu;
}

QMenu* OpenEventMenu(QWidget* parent, TextRegistry& texts, qreal scale, const QPoint& at,
                     std::function<void(MacroMove)> move) {
    QMenu* menu = NewMenu(parent, scale, "EventMenu", 120);
    auto to = [&move](MacroMove where) { return [move, where] { move(where); }; };
    AddItem(menu, texts, kMoveTop, txt::kMoveToTop, to(MacroMove::kTop));
    AddItem(menu, texts, kMoveUp, txt::kMoveUp, to(MacroMove::kUp), Glyph::Up);
    AddItem(menu, texts, kMoveDown, txt::kMoveDown, to(MacroMove::kDown), Glyph::Down);
    AddItem(menu, texts, kMoveBottom, txt::kMoveToBottom, to(MacroMove::kBottom));
    // Left of the "more" image it was opened from.
    menu->popup(at + QPoint(-menu->sizeHint().width() - qRound(5 * scale), 2));
    return menu;
}

}  // namespace quorvel
