#pragma once
// The event list card of the macro page: the chosen macro's events, Insert (with its menu and the key
// dialog), Delete, Clear All, and the event menu of each row (move to the top, up, down, to the bottom).
// Every change goes through the macro event actions and the list is shown again from what was stored, so
// the list always shows exactly the stored events.

#include <QPointer>
#include <vector>

#include "actions/MacroEventActions.h"
#include "ui/pages/macros/MacroPanel.h"

class QLabel;
class QMenu;
class QPushButton;

namespace quorvel {

class CRecordList;
class PageHost;
class RecordEditDlg;

class MacroEventPanel : public MacroPanel {
    Q_OBJECT
public:
    MacroEventPanel(PageHost& host, QWidget* parent);

    // Shows the stored events of the macro (0: none) with row `select` chosen (-1: none).
    void ShowEvents(int macroId, int select = -1);
    // A recording in progress: the rows of `list` beyond those shown are appended, the last one in view.
    void AppendRecorded(const std::vector<MacroEventRecord>& list);
    int Macro() const { return macroId_; }
    CRecordList* List() const { return list_; }

    // The event editor's changes to the chosen event.
    void ChangeChosen(int value);
    void MoveChosen(MacroMove move);

    void CloseTransient();

signals:
    // A row was clicked (the editor opens on it).
    void eventClicked(int index);
    // The rows were shown again (the editor follows the chosen row).
    void eventsShown();
    // The user changed the events of the macro (stored).
    void eventsEdited(int macroId);

private:
    void OpenInsertMenu();
    void InsertItems(std::vector<MacroEventRecord> items, int position);
    void InsertKey(int position);
    void DeleteChosen();
    void ClearAll();
    // A refused or failed edit: the user is told why, the list shows what is stored.
    void Failed(int title);

    PageHost& host_;
    int macroId_ = 0;
    CRecordList* list_ = nullptr;
    QPushButton* insert_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* clear_ = nullptr;
    QLabel* emptyHint_ = nullptr;
    QPointer<QMenu> menu_;
    QPointer<RecordEditDlg> keyDialog_;
};

}  // namespace quorvel
