#pragma once
// The button list of the button page: one row per button with its caption and the description of its
// current function, in the order of the model's descriptor. Rows are addressed by index; a description
// is set by key code. A click or an arrow key picks a row (itemClicked with its index).

#include <QVector>

#include "toolkit/ItemPicker.h"

namespace quorvel {

class MouseKeyCtrl : public ItemPicker {
    Q_OBJECT
public:
    explicit MouseKeyCtrl(QWidget* parent = nullptr);

    void DeleteAllItems();
    int AddItem(const QString& caption, const QString& description, int keyCode);
    int GetItemCount() const { return static_cast<int>(items_.size()); }
    int GetItemKeyValue(int index) const;  // -1 for no such row
    QString GetItemKeyName(int index) const;
    void SetItemKeyName(int index, const QString& caption);
    QString GetItemKeyDesc(int index) const;
    // Sets the description of every row with the key code; false when no row has it.
    bool SetItemKeyDesc(int keyCode, const QString& description);
    int IndexOfKey(int keyCode) const;  // -1 when absent
    void SetSelectItem(int index);      // -1 selects nothing
    int GetSelectItem() const { return selected_; }
    // Height of one row; the page sets it from its layout scale.
    void SetItemHeight(int height);
    int GetItemHeight() const { return rowHeight_; }

    QSize sizeHint() const override;

signals:
    void itemClicked(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    int ItemCount() const override { return GetItemCount(); }
    QRectF HitRect(int index) const override { return RowRect(index); }
    void Picked(int index) override { emit itemClicked(index); }
    // Up and Down stop at the ends, where they pick the end row again.
    int StepTarget(int step) const override;

private:
    struct Item {
        QString caption;
        QString description;
        int keyCode = 0;
    };
    QRectF RowRect(int index) const;

    QVector<Item> items_;
    int rowHeight_ = 44;
};

}  // namespace quorvel
