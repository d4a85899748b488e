#include "toolkit/RowList.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "toolkit/Glyphs.h"
#include "toolkit/Paint.h"
#include "toolkit/Skin.h"
#include "toolkit/SkinStyle.h"
#include "toolkit/Theme.h"

namespace quorvel {

namespace {
constexpr int kPad = 6;  // inner margin of the list and gap between rows
}

RowList::RowList(QWidget* parent) : QAbstractScrollArea(parent) {
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    setFocusPolicy(Qt::StrongFocus);
    verticalScrollBar()->setSingleStep(20);
    // A thin dark bar that fits the list, whatever style the application runs.
    verticalScrollBar()->setStyleSheet(QStringLiteral(
        "QScrollBar:vertical { background: transparent; width: 10px; margin: 6px 2px 6px 0; }"
        "QScrollBar::handle:vertical { background: #3a4250; border-radius: 4px; min-height: 28px; }"
        "QScrollBar::handle:vertical:hover { background: #4d5667; }"
        "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
        "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: transparent; }"));
}

void RowList::SetCurSel(int index) {
    current_ = index >= 0 && index < RowCount() ? index : -1;
    // Before the list is shown its size is not final; showing it brings the row into view.
    if (viewport()->isVisible()) EnsureVisible(current_);
    viewport()->update();
}

void RowList::showEvent(QShowEvent* event) {
    QAbstractScrollArea::showEvent(event);
    RowsChanged();
    EnsureVisible(current_);
}

void RowList::SetRowHeight(int height) {
    rowHeight_ = qMax(16, height);
    RowsChanged();
}

QSize RowList::sizeHint() const {
    return QSize(320, 8 * (rowHeight_ + kPad));
}

void RowList::RowsChanged() {
    if (current_ >= RowCount()) current_ = -1;
    if (hover_ >= RowCount()) hover_ = -1;
    const int content = HeaderHeight() + RowCount() * (rowHeight_ + kPad) + kPad;
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setRange(0, qMax(0, content - viewport()->height()));
    viewport()->update();
}

QRectF RowList::RowRect(int index) const {
    const qreal top = HeaderHeight() + kPad + index * (rowHeight_ + kPad) - verticalScrollBar()->value();
    return QRectF(kPad, top, viewport()->width() - 2 * kPad, rowHeight_);
}

QRectF RowList::MoreRect(const QRectF& row) const {
    const qreal side = qMin(row.height() - 8, 28.0);
    return QRectF(row.right() - side - 8, row.center().y() - side / 2, side, side);
}

int RowList::IndexAt(const QPointF& pos) const {
    if (pos.y() < HeaderHeight()) return -1;
    for (int i = 0; i < RowCount(); ++i) {
        if (RowRect(i).contains(pos)) return i;
    }
    return -1;
}

void RowList::EnsureVisible(int index) {
    if (index < 0) return;
    const QRectF row = RowRect(index);
    QScrollBar* bar = verticalScrollBar();
    if (row.top() < HeaderHeight()) {
        bar->setValue(bar->value() - static_cast<int>(HeaderHeight() - row.top()) - kPad);
    } else if (row.bottom() > viewport()->height()) {
        bar->setValue(bar->value() + static_cast<int>(row.bottom() - viewport()->height()) + kPad);
    }
}

void RowList::PaintMore(QPainter& p, const QRectF& row, RowState state) {
    const QRectF more = MoreRect(row);
    const QColor ink = state == RowState::Normal ? palette::kTextDim : palette::kText;
    if (state != RowState::Normal) {
        p.setPen(Qt::NoPen);
        p.setBrush(WithAlpha(palette::kText, 18));
        p.drawRoundedRect(more, 6, 6);
    }
    if (!Skin::Instance().PaintTinted(p, more.adjusted(3, 3, -3, -3), QStringLiteral("btn_more.png"), ink)) {
        PaintGlyph(p, more.adjusted(3, 3, -3, -3), Glyph::More, ink);
    }
}

void RowList::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    p.setRenderHint(QPainter::Antialiasing);
    const QRect all = viewport()->rect();
    if (!Skin::Instance().PaintFrame(p, all, QStringLiteral("img_list_bkg.png"), QMargins(12, 12, 12, 12))) {
        PaintCard(p, QRectF(all), 10, CardState::Disabled);
    }
    for (int i = 0; i < RowCount(); ++i) {
        const QRectF row = RowRect(i);
        if (row.bottom() < HeaderHeight() || row.top() > all.height()) continue;
        const RowState state = i == current_ ? RowState::Selected
                               : i == hover_ ? RowState::Hot
                                             : RowState::Normal;
        p.save();
        p.setClipRect(QRectF(0, HeaderHeight(), all.width(), all.height() - HeaderHeight()));
        PaintRow(p, row, i, state);
        p.restore();
    }
    if (HeaderHeight() > 0) PaintHeader(p, QRectF(0, 0, all.width(), HeaderHeight()));
    if (hasFocus() && current_ >= 0) {
        p.setPen(QPen(WithAlpha(AccentColor(), 150), 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(RowRect(current_).adjusted(2, 2, -2, -2), 6, 6);
    } else if (hasFocus()) {
        PaintFocusMark(p, QRectF(viewport()->rect()), 8);
    }
}

void RowList::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPointF pos = event->position();
    const int index = IndexAt(pos);
    if (index < 0) return;
    const bool more = MoreRect(RowRect(index)).contains(pos);
    if (!more || index != current_) {
        SetCurSel(index);
        emit itemClicked(index);
    }
    if (more) emit moreClicked(index, event->globalPosition().toPoint());
}

void RowList::mouseDoubleClickEvent(QMouseEvent* event) {
    const int index = IndexAt(event->position());
    if (event->button() == Qt::LeftButton && index >= 0 &&
        !MoreRect(RowRect(index)).contains(event->position())) {
        RowDoubleClicked(index);
    }
}

void RowList::mouseMoveEvent(QMouseEvent* event) {
    const int hover = IndexAt(event->position());
    if (hover != hover_) {
        hover_ = hover;
        viewport()->setCursor(hover >= 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
        viewport()->update();
    }
}

void RowList::leaveEvent(QEvent*) {
    hover_ = -1;
    viewport()->update();
}

void RowList::keyPressEvent(QKeyEvent* event) {
    int target = -2;
    if (event->key() == Qt::Key_Down) target = qMin(RowCount() - 1, current_ + 1);
    if (event->key() == Qt::Key_Up) target = qMax(0, current_ - 1);
    if (event->key() == Qt::Key_Home) target = 0;
    if (event->key() == Qt::Key_End) target = RowCount() - 1;
    if (target == -2 || RowCount() == 0) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    if (target != current_) {
        SetCurSel(target);
        emit itemClicked(target);
    }
}

void RowList::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    RowsChanged();
}

}  // namespace quorvel
