#pragma once
// The pop-up menus of the macro page: the macro list's menu (macro files), the insert menu and the event
// menu. Each is built when it opens and deleted when it closes; each item calls its own function. The
// items' texts are bound in the window's text registry; the actions carry the item ids (MacroPageIds.h) as
// their names.

#include <QMenu>
#include <QPoint>
#include <functional>

#include "actions/MacroEventActions.h"

namespace quorvel {

class TextRegistry;

struct MacroListMenuChoices {
    bool macroChosen = false;  // export, import a list and export all are offered only then
    std::function<void()> importMacro, exportMacro, importList, exportAll;
};
// At a point on the screen.
QMenu* OpenMacroListMenu(QWidget* parent, TextRegistry& texts, qreal scale, const QPoint& at,
                         MacroListMenuChoices choices);

struct InsertMenuChoices {
    std::function<void(int button)> button;  // a MacroButton bit
    std::function<void()> key, delay;
};
// Above `button`: left, middle and right button, a keyboard key, a delay.
QMenu* OpenInsertMenu(QWidget* parent, TextRegistry& texts, qreal scale, QWidget* button,
                      InsertMenuChoices choices);

// Left of a point on the screen: to the top, up, down, to the bottom.
QMenu* OpenEventMenu(QWidget* parent, TextRegistry& texts, qreal scale, const QPoint& at,
                     std::function<void(MacroMove)> move);

}  // namespace quorvel
