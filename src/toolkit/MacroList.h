#pragma once
// The macro list: one row per macro with its name and its data (the macro id), and the "more" image for the
// macro menu. Rows are addressed by index. A double click or F2 renames a row in place: Enter or leaving
// the field ends it with the new text shown and reported (renamed), Escape drops it.

#include <QVector>

#include "toolkit/RowList.h"

class QLineEdit;

namespace quorvel {

class MacroList : public RowList {
    Q_OBJECT
public:
    explicit MacroList(QWidget* parent = nullptr);

    // Inserts at `index` (-1 or past the end appends); returns the row's index.
    int AddString(const QString& text, int data, int index = -1);
    void DeleteAllItems();
    bool DeleteItem(int index);
    int GetItemCount() const { return static_cast<int>(items_.size()); }
    int GetItemData(int index) const;  // 0 for no such row
    QString GetItemText(int index) const;
    bool ModifyItemString(int index, const QString& text);
    void EditItem(int index);
    bool IsEditing() const { return editing_ >= 0; }
    // Drops a rename being typed (its mouse went away): nothing is reported.
    void CancelEdit() { FinishEdit(false); }

signals:
    void renamed(int index, const QString& text);

protected:
    int RowCount() const override { return GetItemCount(); }
    void PaintRow(QPainter& painter, const QRectF& rect, int index, RowState state) override;
    void RowDoubleClicked(int index) override { EditItem(index); }
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    struct Item {
        QString text;
        int data = 0;
    };
    void FinishEdit(bool commit);
    void PlaceEditor();

    QVector<Item> items_;
    int editing_ = -1;
    QLineEdit* editor_ = nullptr;  // created on the first rename
};

}  // namespace quorvel
