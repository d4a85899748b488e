#include "ui/pages/macros/MacroEventPanel.h"

#include <QLabel>
#include <QPushButton>

#include "actions/MacroActions.h"
#include "toolkit/CRecordList.h"
#include "ui/common/PageHost.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiRect.h"
#include "ui/common/UiText.h"
#include "ui/dialogs/CUIMessageBox.h"
#include "ui/dialogs/RecordEditDlg.h"
#include "ui/pages/macros/MacroMenus.h"
#include "ui/pages/macros/MacroPageIds.h"

namespace quorvel {

using namespace macro_page;

namespace {
constexpr QRect kCard = QRect(306, 48, 540, 492);

QString Qs(const std::string& s) {
    return QString::fromStdString(s);
}
}  // namespace

MacroEventPanel::MacroEventPanel(PageHost& host, QWidget* parent) : MacroPanel(kCard, parent), host_(host) {
    TextRegistry& texts = host_.Texts();
    texts.BindText(NewLabel(kEventListLabel, Ltrb(326, 60, 820, 92), 16, false), txt::kEventList);

    list_ = Place(new CRecordList(this), Ltrb(318, 98, 834, 480), 14);
    list_->setObjectName(ControlName(kEventListCtrl));
    texts.Bind(list_, txt::kEventList, [this](const QString& s) { list_->setAccessibleName(s); });
    texts.BindComposed(
        list_, {txt::kEventNumber, txt::kEvent, txt::kEventOptions},
        [] {
            return QStringList{Text(txt::kEventNumber), Text(txt::kEvent), Text(txt::kEventOptions)}.join(
                QChar('\n'));
        },
        [this](const QString& s) { list_->SetHeaderTexts(s.split(QChar('\n'))); });
    connect(list_, &CRecordList::itemClicked, this, &MacroEventPanel::eventClicked);
    connect(list_, &CRecordList::moreClicked, this, [this](int, QPoint at) {
        if (menu_) menu_->close();
        menu_ = OpenEventMenu(this, host_.Texts(), host_.LayoutScale(), at,
                              [this](MacroMove move) { MoveChosen(move); });
    });

    // Without any macro, the list says how to begin.
    emptyHint_ = NewLabel(kEmptyHint, Ltrb(330, 240, 822, 320), 15, true);
    emptyHint_->setAlignment(Qt::AlignCenter);
    emptyHint_->setWordWrap(true);
    texts.BindText(emptyHint_, txt::kNoMacroYet);

    insert_ = NewButton(kEventInsert, Ltrb(326, 490, 446, 530));
    texts.BindText(insert_, txt::kInsert);
    connect(insert_, &QPushButton::clicked, this, &MacroEventPanel::OpenInsertMenu);
    delete_ = NewButton(kEventDelete, Ltrb(456, 490, 576, 530));
    texts.BindText(delete_, txt::kDeleteEvent);
    connect(delete_, &QPushButton::clicked, this, &MacroEventPanel::DeleteChosen);
    clear_ = NewButton(kEventClear, Ltrb(586, 490, 706, 530));
    texts.BindText(clear_, txt::kClearAll);
    connect(clear_, &QPushButton::clicked, this, &MacroEventPanel::ClearAll);
}

void MacroEventPanel::ShowEvents(int macroId, int select) {
    macroId_ = macroId;
    std::vector<MacroEventRecord> events;
    if (macroId > 0) ListMacroEvents(host_.Actions(), macroId, &events);
    list_->DeleteAllItems();
    for (const MacroEventRecord& e : events) list_->AddString(Qs(e.desc), e.type, e.value, e.delay_time);
    list_->SetCurSel(select < list_->GetItemCount() ? select : list_->GetItemCount() - 1);
    emptyHint_->setVisible(macroId <= 0);
    emit eventsShown();
}

void MacroEventPanel::AppendRecorded(const std::vector<MacroEventRecord>& list) {
    for (size_t i = static_cast<size_t>(list_->GetItemCount()); i < list.size(); ++i)
        list_->AddString(Qs(list[i].desc), list[i].type, list[i].value, list[i].delay_time);
    list_->SetCurSel(list_->GetItemCount() - 1);
}

void MacroEventPanel::Failed(int title) {
    OpenMessageBox(host_.Window(), UiText(title), UiText(txt::kMacroNotChanged), kBoxOk, {});
    ShowEvents(macroId_, list_->GetCurSel());
}

void MacroEventPanel::OpenInsertMenu() {
    if (macroId_ <= 0) {
        OpenMessageBox(host_.Window(), UiText(txt::kInsertEvent), UiText(txt::kNoMacroChosen), kBoxOk, {});
        return;
    }
    if (list_->GetItemCount() >= kMacroEventLimit) {
        OpenMessageBox(host_.Window(), UiText(txt::kInsertEvent), UiText(txt::kEventLimit), kBoxOk, {});
        return;
    }
    if (menu_) menu_->close();
    // Presses go after the chosen event, a delay before it; both at the end when none is chosen.
    InsertMenuChoices choices;
    choices.button = [this](int button) {
        const int chosen = list_->GetSelectEvent();
        InsertItems(MacroButtonPressItems(button), chosen < 0 ? -1 : chosen + 1);
    };
    choices.key = [this] {
        const int chosen = list_->GetSelectEvent();
        InsertKey(chosen < 0 ? -1 : chosen + 1);
    };
    choices.delay = [this] { InsertItems({MacroDelayItem(kMacroInsertDelayMs)}, list_->GetSelectEvent()); };
    menu_ = quorvel::OpenInsertMenu(this, host_.Texts(), host_.LayoutScale(), insert_, std::move(choices));
}

void MacroEventPanel::InsertItems(std::vector<MacroEventRecord> items, int position) {
    const int count = static_cast<int>(items.size());
    int first = -1;
    const ActionResult result =
        InsertMacroEvents(host_.Actions(), macroId_, position, std::move(items), &first);
    if (!result.ok) {
        Failed(txt::kInsertEvent);
        return;
    }
    // The last inserted row stays chosen, so the next insertion follows the group.
    ShowEvents(macroId_, first + count - 1);
    emit eventsEdited(macroId_);
}

void MacroEventPanel::InsertKey(int position) {
    if (keyDialog_) keyDialog_->reject();
    keyDialog_ = new RecordEditDlg(host_.Window());
    keyDialog_->setAttribute(Qt::WA_DeleteOnClose);
    RecordEditDlg* dialog = keyDialog_;
    connect(dialog, &QDialog::finished, this, [this, dialog, position](int result) {
        const std::optional<CapturedKey> key = dialog->Key();
        if (!IsConsent(result) || !key) return;
        if (!IsPlayableMacroKey(key->virtualKey)) {
            OpenMessageBox(host_.Window(), UiText(txt::kInsertEvent), UiText(txt::kKeyNotPlayable), kBoxOk,
                           {});
            return;
        }
        InsertItems(MacroKeyPressItems(key->virtualKey), position);
    });
    dialog->open();
}

void MacroEventPanel::DeleteChosen() {
    const int chosen = list_->GetSelectEvent();
    if (macroId_ <= 0 || chosen < 0) return;
    const ActionResult result = DeleteMacroEvent(host_.Actions(), macroId_, chosen);
    if (!result.ok) {
        Failed(txt::kEventList);
        return;
    }
    // The row that took its place is chosen, so Delete can be pressed again.
    ShowEvents(macroId_, chosen);
    emit eventsEdited(macroId_);
}

void MacroEventPanel::ClearAll() {
    if (macroId_ <= 0 || list_->GetItemCount() == 0) return;
    const ActionResult result = ClearMacroEvents(host_.Actions(), macroId_);
    if (!result.ok) {
        Failed(txt::kEventList);
        return;
    }
    ShowEvents(macroId_);
    emit eventsEdited(macroId_);
}

void MacroEventPanel::ChangeChosen(int value) {
    const int chosen = list_->GetSelectEvent();
    if (macroId_ <= 0 || chosen < 0) return;
    const ActionResult result = ChangeMacroEvent(host_.Actions(), macroId_, chosen, value);
    if (!result.ok) {
        Failed(txt::kEventList);
        return;
    }
    ShowEvents(macroId_, chosen);
    emit eventsEdited(macroId_);
}

void MacroEventPanel::MoveChosen(MacroMove move) {
    const int chosen = list_->GetSelectEvent();
    if (macroId_ <= 0 || chosen < 0) return;
    int moved = chosen;
    const ActionResult result = MoveMacroEvent(host_.Actions(), macroId_, chosen, move, &moved);
    if (!result.ok) {
        Failed(txt::kEventList);
        return;
    }
    if (moved == chosen) return;
    ShowEvents(macroId_, moved);
    emit eventsEdited(macroId_);
}

void MacroEventPanel::CloseTransient() {
    if (menu_) menu_->close();
    if (keyDialog_) keyDialog_->reject();
}

}  // namespace quorvel
