#pragma once
// The mouse picture of the button page with its buttons: each button is a leader line on the picture from
// the button (first point) out to its caption (second point), in the picture's own coordinates as the
// model's descriptor gives them; `direction` 0 puts the caption left of the line's end, 1 right of it. The
// picture is scaled to fit with room for the captions. A click on a caption or a button picks it
// (itemClicked with its index). Without the picture a drawn mouse stands in, so the buttons still show.

#include <QPoint>
#include <QVector>

#include "toolkit/ItemPicker.h"

namespace quorvel {

class MouseCtrl : public ItemPicker {
    Q_OBJECT
public:
    explicit MouseCtrl(QWidget* parent = nullptr);

    // A skin name ("device\QuorvelR2_mouse.png").
    void SetImage(const QString& name);
    QString Image() const { return image_; }
    // The picture's own size; the drawn stand-in's when the skin lacks it.
    QSize ImageSize() const;

    void DeleteAllItems();
    int AddItem(const QString& caption, int keyCode, int direction, QPoint first, QPoint second);
    int GetItemCount() const { return static_cast<int>(items_.size()); }
    int GetItemKeyValue(int index) const;  // -1 for no such item
    QString GetItemCaption(int index) const;
    void SetItemCaption(int index, const QString& caption);
    void SetSelectItem(int index);  // -1 selects nothing
    int GetSelectItem() const { return selected_; }

    QSize sizeHint() const override;

signals:
    void itemClicked(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    int ItemCount() const override { return GetItemCount(); }
    // A caption or the button's spot on the picture; the last item drawn (on top) first.
    QRectF HitRect(int index) const override;
    int IndexAt(const QPointF& pos) const override;
    void Picked(int index) override { emit itemClicked(index); }
    // Up and Down go round the buttons.
    int StepTarget(int step) const override;

private:
    struct Item {
        QString caption;
        int keyCode = 0;
        int direction = 0;
        QPoint first;
        QPoint second;
    };
    struct Layout {
        qreal scale = 1;
        QPointF origin;  // where the picture's (0, 0) lands
        QPointF Map(const QPoint& p) const { return origin + QPointF(p) * scale; }
    };
    Layout ComputeLayout() const;
    QRectF CaptionRect(const Layout& layout, int index) const;
    bool LeftSide(const Item& item) const;

    QString image_;
    QVector<Item> items_;
};

}  // namespace quorvel
