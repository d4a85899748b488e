#pragma once
// The macro page on a composition root with virtual mice (PageFixture.h): the page sized for the design,
// its controls by id, the stored events of a macro in a short form, the message box the page opened, and
// key presses as the window would deliver them.

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <string>
#include <vector>

#include "PageFixture.h"
#include "actions/MacroEventActions.h"
#include "store/DeviceDatabase.h"
#include "toolkit/CRecordList.h"
#include "toolkit/MacroList.h"
#include "ui/dialogs/CUIMessageBox.h"
#include "ui/pages/macros/MacroPage.h"
#include "ui/pages/macros/MacroPageIds.h"

namespace quorvel::test {

using namespace macro_page;

// One event as "type value desc", ids left out; Ids() gives them.
inline std::string EventText(int type, int value, const std::string& desc) {
    return std::to_string(type) + " " + std::to_string(value) + " " + desc;
}

class MacroPageTest : public PageTest {
public:
    // What the cases' helper functions use of the fixtures below.
    using PageTest::Drain;
    using PageTest::host;
    using SessionTest::ctx;
    using SessionTest::db;
    using SessionTest::Mice;
    using SessionTest::SentSinceLastCall;

    void TearDown() override {
        delete page;
        page = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (qobject_cast<CUIMessageBox*>(w) || qobject_cast<QMenu*>(w)) w->deleteLater();
        }
        QApplication::processEvents();
        PageTest::TearDown();
    }

    // The mice, then the page shown in the host's window and filled as the window would fill it.
    void OpenPage(const std::string& mice) {
        OpenMice(mice);
        page = new MacroPage(*host, host->Window());
        page->resize(1180, 658);
        page->UISize(1.0);
        host->Window()->show();
        page->show();
        page->Refresh();
        clock = 1000;
        page->SetRecordingClock([this] { return clock; });
    }

    template <typename T = QWidget>
    T* Ctl(int id) {
        T* control = Control<T>(page, id);
        EXPECT_NE(control, nullptr) << "control " << id;
        return control;
    }
    MacroList* Macros() { return Ctl<MacroList>(kMacroListCtrl); }
    CRecordList* Events() { return Ctl<CRecordList>(kEventListCtrl); }
    // A click on a button; on a radio button's mark (only the mark and the text take clicks).
    void Click(int id) {
        auto* button = Ctl<QAbstractButton>(id);
        const bool mark = qobject_cast<QRadioButton*>(button) != nullptr;
        QTest::mouseClick(button, Qt::LeftButton, {}, mark ? QPoint(8, button->height() / 2) : QPoint());
    }

    // A new macro made with the New button; returns its id.
    int NewMacro() {
        Click(kMacroNew);
        return page->CurrentMacro();
    }
    // The stored events of a macro, in order.
    std::vector<MacroEventRecord> Rows(int macroId) {
        std::vector<MacroEventRecord> rows;
        db.ListMacroEvents(macroId, rows);
        return rows;
    }
    std::vector<std::string> Stored(int macroId) {
        std::vector<std::string> out;
        for (const MacroEventRecord& r : Rows(macroId)) out.push_back(EventText(r.type, r.value, r.desc));
        return out;
    }
    // What the event list shows, in the same form.
    std::vector<std::string> Shown() {
        std::vector<std::string> out;
        for (const RecordItem& i : Events()->GetRecordItems())
            out.push_back(EventText(i.type, i.value, i.text.toStdString()));
        return out;
    }
    void Seed(int macroId, const std::vector<MacroEventRecord>& rows) {
        ASSERT_TRUE(ReplaceMacroEvents(ctx(), macroId, rows).ok);
        page->Refresh();
    }

    // The open message box (the page opens them without waiting); null when none.
    CUIMessageBox* Box() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<CUIMessageBox*>(w); box && box->isVisible()) return box;
        }
        return nullptr;
    }
    // The ids of the box's title and message, then the box closed; {0, 0} when none is open.
    std::pair<int, int> TakeBox() {
        CUIMessageBox* box = Box();
        if (!box) return {0, 0};
        const auto title = box->findChild<QLabel*>(ControlName(CUIMessageBox::kTitle));
        const auto message = box->findChild<QLabel*>(ControlName(CUIMessageBox::kMessage));
        const std::pair<int, int> ids = {TextId(title), TextId(message)};
        box->reject();
        QApplication::processEvents();
        return ids;
    }
    // The text id a label shows (0 for a text that is no language text).
    static int TextId(QLabel* label) {
        if (!label) return 0;
        for (int id : {26,  27,  355, 358, 364, 368, 386, 387, 410, 411, 833, 834,
                       835, 836, 837, 838, 839, 840, 841, 842, 843, 847, 848}) {
            if (label->text() == Text(id)) return id;
        }
        return 0;
    }

    // The page's open pop-up menu of that name, and one of its items chosen.
    QMenu* Menu(const char* name) {
        for (QMenu* menu : page->findChildren<QMenu*>(QString::fromLatin1(name))) {
            if (menu->isVisible()) return menu;
        }
        return nullptr;
    }
    void Choose(const char* menuName, int item) {
        QMenu* menu = Menu(menuName);
        ASSERT_NE(menu, nullptr) << menuName;
        QAction* action = menu->findChild<QAction*>(ControlName(item));
        ASSERT_NE(action, nullptr) << menuName << " item " << item;
        action->trigger();
        menu->close();
        QApplication::processEvents();
    }
    // Where a row of a list is on its viewport (the list's geometry: 6 px margins and gaps, the event list's
    // 30 px header), scrolled into view first; `more` is its "more" image.
    QPoint RowPoint(RowList* list, int row, bool more) {
        const int header = qobject_cast<CRecordList*>(list) ? 30 : 0;
        list->SetCurSel(list->GetCurSel());  // no scrolling: rows used in these tests are in view
        const int top = header + 6 + row * (list->GetRowHeight() + 6) - list->verticalScrollBar()->value();
        const int y = top + list->GetRowHeight() / 2;
        return QPoint(more ? list->viewport()->width() - 6 - 8 - 12 : 80, y);
    }
    void ClickRow(RowList* list, int row, bool more = false) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, RowPoint(list, row, more));
        QApplication::processEvents();
    }

    // A key pressed and released as the window delivers it (to the focused control; the page's record
    // button here).
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = Ctl<QWidget>(kRecordButton);
        QTest::keyPress(target, key, modifiers);
        clock += 40;
        QTest::keyRelease(target, key, modifiers);
        clock += 60;
    }
    void Press(Qt::Key key) { QTest::keyPress(Ctl<QWidget>(kRecordButton), key); }
    void Release(Qt::Key key) { QTest::keyRelease(Ctl<QWidget>(kRecordButton), key); }

    // An edit's text typed over and its end (Enter).
    void Type(int id, const QString& text) {
        auto* edit = Ctl<QLineEdit>(id);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }

    MacroPage* page = nullptr;
    int64_t clock = 0;
};

inline MacroEventRecord Ev(int type, int value, int id) {
    MacroEventRecord r;
    r.type = type;
    r.value = value;
    r.desc = MacroEventText(type, value);
    r.delay_time = id;
    return r;
}

}  // namespace quorvel::test
