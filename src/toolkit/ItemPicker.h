#pragma once
// The base of the controls that show a set of items and let the user pick one (ReporteCtrl, MouseKeyCtrl,
// MouseCtrl, MTabCtrl, CDeviceList, DPIControl): hit-testing, the hover item and the hand cursor over an
// item, a left click that picks, and the arrow keys of the control's direction that step through the items.
// What a pick reports is the control's own signal (Picked).

#include <QWidget>

namespace quorvel {

class ItemPicker : public QWidget {
    Q_OBJECT
    friend struct PickerAccess;  // the accessible items
protected:
    // `keys`: Left/Right step through the items (Horizontal) or Up/Down (Vertical).
    ItemPicker(Qt::Orientation keys, QWidget* parent);

    virtual int ItemCount() const = 0;
    // Where an item answers the pointer; the default IndexAt takes the first item whose area holds it.
    virtual QRectF HitRect(int index) const = 0;
    virtual int IndexAt(const QPointF& pos) const;
    // Whether the item can be picked (it exists and shows).
    virtual bool CanPick(int index) const { return index >= 0 && index < ItemCount(); }
    // The selected item and how it changes (no signal); by default selected_ with a repaint.
    virtual int Current() const { return selected_; }
    virtual void Select(int index);
    // What a pick reports.
    virtual void Picked(int index) = 0;
    // Where an arrow key goes from the selection (step -1 or 1): by default the next item that can be
    // picked, the first from no selection; -1 at the end (the key is passed on).
    virtual int StepTarget(int step) const;
    // An arrow key went to `index`: by default picked as a click is.
    virtual void Stepped(int index) { Pick(index); }

    // A user's pick: selected, then reported. Nothing for an item that cannot be picked.
    void Pick(int index);
    // The items changed: no item is under the pointer any more.
    void ForgetHover() { hover_ = -1; }

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    int selected_ = -1;
    int hover_ = -1;

private:
    Qt::Orientation keys_;
};

}  // namespace quorvel
