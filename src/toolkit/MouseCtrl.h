#pragma once
// The mouse picture of the button page with its buttons: each button is a leader line on the picture from
// the button (first point) out to its caption (second point), in the picture's own coordinates as the
// model's descriptor gives them; `direction` 0 puts the caption left of the line's end, 1 right of it. The
// picture is scaled to fit with room for the captions. A click on a caption or a button picks it
// (itemClicked with its index). Without the picture a drawn mouse stands in, so the buttons still show.

#include <QPoint>
#include <QVector>
#include <QWidget>

namespace quorvel {

class MouseCtrl : public QWidget {
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
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

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
    int IndexAt(const QPointF& pos) const;
    void Pick(int index);
    bool LeftSide(const Item& item) const;

    QString image_;
    QVector<Item> items_;
    int selected_ = -1;
    int hover_ = -1;
};

}  // namespace quorvel
