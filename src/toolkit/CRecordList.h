#pragma once
// The event list of the macro editor: one row per event (a delay, a key or a mouse button going down or
// up) with its text, type, value and pairing id (a press and the release inserted with it share one id).
// Rows show their number, an icon by type, the text and the "more" image for the event menu. The header
// row shows the column captions when they are set.

#include <QStringList>
#include <QVector>

#include "toolkit/RowList.h"

namespace quorvel {

// Event types as stored.
enum RecordType : int {
    kRecordDelay = 1,
    kRecordKeyDown = 2,
    kRecordKeyUp = 3,
    kRecordButtonDown = 4,
    kRecordButtonUp = 5,
};

struct RecordItem {
    QString text;
    int type = 0;
    int value = 0;
    int id = 0;  // pairing id
    friend bool operator==(const RecordItem&, const RecordItem&) = default;
};

class CRecordList : public RowList {
    Q_OBJECT
public:
    explicit CRecordList(QWidget* parent = nullptr);

    int AddString(const QString& text, int type, int value, int id);
    // Inserts before `index`; -1 or past the end appends. Returns the new row's index.
    int InsertString(int index, const QString& text, int type, int value, int id);
    bool DeleteItem(int index);
    void DeleteAllItems();
    int GetItemCount() const { return static_cast<int>(items_.size()); }
    // Events that reach the mouse as events: key and button presses and releases. Delays travel folded into
    // the event before them, so they do not count.
    int GetEventCount() const;
    int GetSelectEvent() const { return GetCurSel(); }
    QVector<RecordItem> GetRecordItems() const { return items_; }
    bool GetRecordInfo(int index, RecordItem* item) const;
    bool SetRecordInfo(int index, const QString& text, int type, int value, int id);
    // Changes text and value of every row with this pairing id and type; returns how many changed.
    int SetRecordInfoById(int id, int type, const QString& text, int value);
    int GetRecordTimeStamp(int index) const;  // the pairing id; 0 for no such row
    // Moves keep the selection on the row that moved.
    bool SwapItem(int first, int second);
    bool MoveTop(int index);
    bool MoveBottom(int index);

    // Captions of the columns (number, event, options); empty: no header row.
    void SetHeaderTexts(const QStringList& texts);

protected:
    int RowCount() const override { return GetItemCount(); }
    void PaintRow(QPainter& painter, const QRectF& rect, int index, RowState state) override;
    int HeaderHeight() const override;
    void PaintHeader(QPainter& painter, const QRectF& rect) override;

private:
    bool Move(int from, int to);

    QVector<RecordItem> items_;
    QStringList header_;
};

}  // namespace quorvel
