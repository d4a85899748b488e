#pragma once
// The report-rate choice: a row of segments ("125Hz" ... "8000Hz"), each with its code; the selected one
// is filled. A click or an arrow key picks a segment (itemClicked with its index).

#include <QVector>

#include "toolkit/ItemPicker.h"

namespace quorvel {

class ReporteCtrl : public ItemPicker {
    Q_OBJECT
public:
    explicit ReporteCtrl(QWidget* parent = nullptr);

    void DeleteAllItems();
    // `colour` (stored value) fills the segment when selected; 0 uses the accent.
    int AddItem(const QString& text, int code, int colour = 0);
    int GetItemCount() const { return static_cast<int>(items_.size()); }
    QString GetItemText(int index) const;
    void SetItemText(int index, const QString& text);
    int GetItemKeyValue(int index) const;  // the code; -1 for no such item
    // Selects the first item with the code; nothing is selected when none has it.
    void SetSelectItemValue(int code);
    void SetSelectItem(int index);
    int GetSelectItem() const { return selected_; }

    QSize sizeHint() const override;

signals:
    void itemClicked(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    int ItemCount() const override { return GetItemCount(); }
    QRectF HitRect(int index) const override { return ItemRect(index); }
    void Picked(int index) override { emit itemClicked(index); }

private:
    struct Item {
        QString text;
        int code = 0;
        int colour = 0;
    };
    QRectF ItemRect(int index) const;

    QVector<Item> items_;
};

}  // namespace quorvel
