#include "ui/MacroMenus.h"

#include <QAction>
#include <utility>

#include "ui/MacroIds.h"
#include "ui/UiFonts.h"
#include "ui/UiRect.h"
#include "ui/UiText.h"

namespace quorvel {

namespace {

QMenu* NewMenu(QWidget* parent, qreal scale, const char* name, int width) {
    auto* menu = new QMenu(parent);
    menu->setObjectName(QString::fromLatin1(name));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->setFont(UiFont(qMax(9, qRound(14 * scale)), QFont::Normal));
    menu->setMinimumWidth(qRound(width * scale));
    return menu;
}

void AddItem(QMenu* menu, TextRegistry& texts, int id, int text, std::function<void()> chosen) {
    QAction* action = menu->addAction(QString());
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
    AddItem(menu, texts, kMenuImportMacro, 26, std::move(choices.importMacro));
    if (choices.macroChosen) {
        AddItem(menu, texts, kMenuExportMacro, 27, std::move(choices.exportMacro));
        AddItem(menu, texts, kMenuImportList, 410, std::move(choices.importList));
        AddItem(menu, texts, kMenuExportAll, 411, std::move(choices.exportAll));
    }
    menu->popup(at + QPoint(2, 2));
    return menu;
}

QMenu* OpenInsertMenu(QWidget* parent, TextRegistry& texts, qreal scale, QWidget* button,
                      InsertMenuChoices choices) {
    QMenu* menu = NewMenu(parent, scale, "InsertMenu", 170);
    auto pressOf = [&choices](int bit) { return [f = choices.button, bit] { f(bit); }; };
    AddItem(menu, texts, kInsertLeft, 415, pressOf(kMacroButtonLeft));
    AddItem(menu, texts, kInsertMiddle, 416, pressOf(kMacroButtonMiddle));
    AddItem(menu, texts, kInsertRight, 417, pressOf(kMacroButtonRight));
    AddItem(menu, texts, kInsertKey, 397, std::move(choices.key));
    AddItem(menu, texts, kInsertDelay, 398, std::move(choices.delay));
    // Above the button, so the list it inserts into stays in view.
    menu->popup(button->mapToGlobal(QPoint(0, -menu->sizeHint().height() - qRound(4 * scale))));
    return menu;
}

QMenu* OpenEventMenu(QWidget* parent, TextRegistry& texts, qreal scale, const QPoint& at,
                     std::function<void(MacroMove)> move) {
    QMenu* menu = NewMenu(parent, scale, "EventMenu", 120);
    auto to = [&move](MacroMove where) { return [move, where] { move(where); }; };
    AddItem(menu, texts, kMoveTop, 400, to(MacroMove::kTop));
    AddItem(menu, texts, kMoveUp, 401, to(MacroMove::kUp));
    AddItem(menu, texts, kMoveDown, 402, to(MacroMove::kDown));
    AddItem(menu, texts, kMoveBottom, 403, to(MacroMove::kBottom));
    // Left of the "more" image it was opened from.
    menu->popup(at + QPoint(-menu->sizeHint().width() - qRound(5 * scale), 2));
    return menu;
}

}  // namespace quorvel
