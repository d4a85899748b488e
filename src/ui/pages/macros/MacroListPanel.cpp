#include "ui/pages/macros/MacroListPanel.h"

#include <QLabel>
#include <QPushButton>

#include "actions/MacroActions.h"
#include "toolkit/MacroList.h"
#include "ui/common/PageHost.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiRect.h"
#include "ui/common/UiText.h"
#include "ui/dialogs/CUIMessageBox.h"
#include "ui/pages/macros/MacroFileCommands.h"
#include "ui/pages/macros/MacroMenus.h"
#include "ui/pages/macros/MacroPageIds.h"

namespace quorvel {

using namespace macro_page;

namespace {
constexpr QRect kCard = QRect(0, 48, 290, 610);
}  // namespace

MacroListPanel::MacroListPanel(PageHost& host, QWidget* parent) : MacroPanel(kCard, parent), host_(host) {
    TextRegistry& texts = host_.Texts();
    texts.BindText(NewLabel(kMacroListLabel, Ltrb(20, 60, 270, 92), 16, false), txt::kMacroList);

    list_ = Place(new MacroList(this), Ltrb(10, 98, 280, 592), 14);
    list_->setObjectName(ControlName(kMacroListCtrl));
    texts.Bind(list_, txt::kMacroList, [this](const QString& s) { list_->setAccessibleName(s); });
    // The menu also opens with a right click anywhere on the list, so files can be imported into an empty
    // library too.
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list_, &MacroList::itemClicked, this,
            [this](int index) { emit macroChosen(list_->GetItemData(index)); });
    connect(list_, &MacroList::moreClicked, this, [this](int, QPoint at) { OpenMenu(at); });
    connect(list_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { OpenMenu(list_->mapToGlobal(pos)); });
    connect(list_, &MacroList::renamed, this, &MacroListPanel::Rename);

    new_ = NewButton(kMacroNew, Ltrb(20, 604, 140, 644));
    texts.BindText(new_, txt::kNew);
    connect(new_, &QPushButton::clicked, this, &MacroListPanel::NewMacro);
    delete_ = NewButton(kMacroDelete, Ltrb(150, 604, 270, 644));
    texts.BindText(delete_, txt::kDelete);
    connect(delete_, &QPushButton::clicked, this, &MacroListPanel::DeleteMacro);
}

int MacroListPanel::CurrentMacro() const {
    return list_->GetItemData(list_->GetCurSel());
}

void MacroListPanel::Reload(int macroId) {
    std::vector<MacroInfo> macros;
    ListMacros(host_.Actions(), &macros);
    list_->DeleteAllItems();
    int chosen = macros.empty() ? -1 : 0;
    for (const MacroInfo& m : macros) {
        const int index = list_->AddString(QString::fromStdString(m.shownName), m.macro.macro_id);
        if (m.macro.macro_id == macroId) chosen = index;
    }
    list_->SetCurSel(chosen);
    delete_->setEnabled(chosen >= 0);
    emit macroChosen(list_->GetItemData(chosen));
}

void MacroListPanel::NewMacro() {
    int id = 0;
    if (!quorvel::NewMacro(host_.Actions(), std::nullopt, &id).ok) {
        OpenMessageBox(host_.Window(), txt::kMacroSettings, txt::kMacroNotCreated, kBoxOk, {});
        return;
    }
    Reload(id);
    emit macrosChanged();
}

void MacroListPanel::DeleteMacro() {
    const int index = list_->GetCurSel();
    const int id = list_->GetItemData(index);
    if (index < 0 || id <= 0) return;
    if (!quorvel::DeleteMacro(host_.Actions(), id).ok) {
        OpenMessageBox(host_.Window(), txt::kMacroSettings, txt::kMacroNotChanged, kBoxOk, {});
        return;
    }
    // The macro before it takes its place (the first one when it was first), and is shown.
    Reload(list_->GetItemData(qMax(0, index - 1)));
    emit macrosChanged();
}

void MacroListPanel::Rename(int index, const QString& text) {
    const int id = list_->GetItemData(index);
    if (id <= 0) return;
    const QString name = text.trimmed();
    bool renamed = false;
    if (!name.isEmpty()) {
        renamed = RenameMacro(host_.Actions(), id, name.toStdString()).ok;
        if (!renamed) OpenMessageBox(host_.Window(), txt::kMacroSettings, txt::kMacroNotChanged, kBoxOk, {});
    }
    // The entry shows what is stored: the new name, or the old one after an empty name or a failure.
    MacroDetails details;
    if (ShowMacro(host_.Actions(), id, &details).ok)
        list_->ModifyItemString(index, QString::fromStdString(details.info.shownName));
    if (renamed) emit macrosChanged();
}

void MacroListPanel::OpenMenu(const QPoint& at) {
    if (menu_) menu_->close();
    MacroListMenuChoices choices;
    choices.macroChosen = CurrentMacro() > 0;
    choices.importMacro = [this] { Import(false); };
    choices.importList = [this] { Import(true); };
    choices.exportMacro = [this] {
        if (const int id = CurrentMacro(); id > 0)
            ExportMacroCommand(host_, id, list_->GetItemText(list_->GetCurSel()));
    };
    choices.exportAll = [this] { ExportAllMacrosCommand(host_); };
    menu_ = OpenMacroListMenu(this, host_.Texts(), host_.LayoutScale(), at, std::move(choices));
}

void MacroListPanel::Import(bool list) {
    const std::vector<int> added = ImportMacroCommand(host_, list);
    if (added.empty()) return;
    Reload(added.front());
    emit macrosChanged();
}

void MacroListPanel::CloseTransient() {
    list_->CancelEdit();
    if (menu_) menu_->close();
}

}  // namespace quorvel
