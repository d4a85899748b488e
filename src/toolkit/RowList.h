#pragma once
// The scrolling list under MacroList and CRecordList: rows of one height on the skin's list background
// ("img_list_bkg.png"), an optional header row, one selected row, a "more" image ("btn_more.png") at the
// right end of each row. A click on a row selects it (itemClicked); a click on its "more" image selects it
// the same way and then reports moreClicked with the point under the pointer, for a menu.

#include <QAbstractScrollArea>

namespace quorvel {

class RowList : public QAbstractScrollArea {
    Q_OBJECT
    friend struct RowListAccess;  // the accessible rows
public:
    explicit RowList(QWidget* parent = nullptr);

    int GetCurSel() const { return current_; }
    void SetCurSel(int index);  // -1 selects nothing; the row is scrolled into view
    void SetRowHeight(int height);
    int GetRowHeight() const { return rowHeight_; }

    QSize sizeHint() const override;

signals:
    void itemClicked(int index);
    void moreClicked(int index, QPoint globalPos);

protected:
    enum class RowState { Normal, Hot, Selected };
    virtual int RowCount() const = 0;
    virtual void PaintRow(QPainter& painter, const QRectF& rect, int index, RowState state) = 0;
    // Header row above the rows (0: none) and its painting.
    virtual int HeaderHeight() const { return 0; }
    virtual void PaintHeader(QPainter& painter, const QRectF& rect) { (void)painter, (void)rect; }
    virtual void RowDoubleClicked(int index) { (void)index; }

    // For subclasses: geometry in viewport coordinates, and keeping the view in step with the rows.
    QRectF RowRect(int index) const;
    QRectF MoreRect(const QRectF& row) const;
    void RowsChanged();  // call after rows were added, removed or changed
    void PaintMore(QPainter& painter, const QRectF& row, RowState state);

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

    int current_ = -1;

private:
    int IndexAt(const QPointF& pos) const;
    void EnsureVisible(int index);

    int rowHeight_ = 40;
    int hover_ = -1;
};

}  // namespace quorvel
