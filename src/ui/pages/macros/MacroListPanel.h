#pragma once
// The macro list card of the macro page: the macros of the mouse model by name, New and Delete, renaming
// in place, and the list's menu with the macro files. Every change is stored at once through the macro
// actions; the page hears which macro to show (macroChosen) and that the library changed (macrosChanged,
// for the button page's macro menu).

#include <QPointer>

#include "ui/pages/macros/MacroPanel.h"

class QMenu;
class QPushButton;

namespace quorvel {

class MacroList;
class PageHost;

class MacroListPanel : public MacroPanel {
    Q_OBJECT
public:
    MacroListPanel(PageHost& host, QWidget* parent);

    // Fills the list from the database and chooses `macroId` (or the first macro when it is gone);
    // reports the choice with macroChosen.
    void Reload(int macroId);
    // The chosen macro's id, 0 for none.
    int CurrentMacro() const;
    MacroList* List() const { return list_; }
    // Pop-ups that must not outlive a change of the device situation.
    void CloseTransient();

signals:
    void macroChosen(int macroId);
    void macrosChanged();

private:
    void NewMacro();
    void DeleteMacro();
    void Rename(int index, const QString& text);
    void OpenMenu(const QPoint& at);
    void Import(bool list);

    PageHost& host_;
    MacroList* list_ = nullptr;
    QPushButton* new_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPointer<QMenu> menu_;
};

}  // namespace quorvel
