#pragma once
// The tab strip beside the pages: one row per item with its icon and text, stacked top to bottom. The
// selected item carries the accent bar. Items are addressed by index (insertion order) and carry the
// program's item id; hidden items take no room. A user's pick is tabClicked(index); selection changes
// from code (SetCurSel) report only currentChanged.

#include <QFont>
#include <QString>
#include <QVector>

#include "toolkit/Glyphs.h"
#include "toolkit/ItemPicker.h"

class QPaintDevice;

namespace quorvel {

// How a tab's name is set in `width`: a name that fits on one line in the regular weight stays on one
// line when selected (the bold font shrinks to fit); a longer one wraps, selected or not.
struct TabText {
    QFont font;
    bool wrap = false;
};
// Measured as drawn on `device` (the strip itself), in whole pixels.
TabText FitTabText(const QFont& base, bool selected, const QString& text, qreal width,
                   QPaintDevice* device = nullptr);

class MTabCtrl : public ItemPicker {
    Q_OBJECT
public:
    explicit MTabCtrl(QWidget* parent = nullptr);

    // Appends an item; returns its index. `icon` is a skin name ("icon\tab_home.png"); `fallback` is drawn
    // when the skin lacks it.
    int InsertItem(int itemId, const QString& text, const QString& icon, Glyph fallback = Glyph::None);
    int GetItemCount() const { return static_cast<int>(items_.size()); }
    int GetItemId(int index) const;
    int IndexOfItem(int itemId) const;  // -1 when absent
    void SetItemText(int index, const QString& text);
    QString GetItemText(int index) const;
    void SetItemVisible(int index, bool visible);
    bool IsItemVisible(int index) const;

    void SetCurSel(int index);  // -1 selects nothing
    int GetCurSel() const { return current_; }

    QSize sizeHint() const override;

signals:
    void tabClicked(int index);      // the user picked an item (pointer or keys)
    void currentChanged(int index);  // the selection changed, by the user or by SetCurSel

protected:
    void paintEvent(QPaintEvent* event) override;
    int ItemCount() const override { return GetItemCount(); }
    QRectF HitRect(int index) const override { return ItemRect(index); }
    int IndexAt(const QPointF& pos) const override;
    bool CanPick(int index) const override { return IsItemVisible(index); }
    int Current() const override { return current_; }
    void Select(int index) override { SetCurSel(index); }
    void Picked(int index) override { emit tabClicked(index); }

private:
    struct Item {
        int id = 0;
        QString text;
        QString icon;
        Glyph glyph = Glyph::None;
        bool visible = true;
    };
    int RowHeight() const;
    QRect ItemRect(int index) const;  // empty for hidden items

    QVector<Item> items_;
    int current_ = -1;
};

}  // namespace quorvel
