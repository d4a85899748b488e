#include "ui/dialogs/ProfileList.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include "toolkit/Theme.h"

namespace quorvel {

namespace {

// A pencil drawn with lines: a slanted body with its tip at the lower left.
void PaintPencil(QPainter& p, const QRectF& r, const QColor& colour) {
    const qreal u = r.width() / 16.0;
    p.save();
    p.translate(r.center());
    p.rotate(-45);
    p.setPen(QPen(colour, 1.4 * u, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const QRectF body(-3.5 * u, -2 * u, 9 * u, 4 * u);
    p.drawRect(body);
    p.drawLine(QPointF(3.5 * u, -2 * u), QPointF(3.5 * u, 2 * u));
    QPolygonF tip;
    tip << QPointF(-3.5 * u, -2 * u) << QPointF(-7 * u, 0) << QPointF(-3.5 * u, 2 * u);
    p.drawPolyline(tip);
    p.restore();
}

class ProfileRowDelegate : public QStyledItemDelegate {
public:
    explicit ProfileRowDelegate(ProfileList* list) : QStyledItemDelegate(list), list_(list) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QSize(QStyledItemDelegate::sizeHint(option, index).width(), list_->RowHeight());
    }

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        p->save();
        p->setRenderHint(QPainter::Antialiasing);
        const QRectF row = QRectF(option.rect).adjusted(2, 2, -2, -2);
        const bool selected = option.state & QStyle::State_Selected;
        const bool hot = option.state & QStyle::State_MouseOver;
        if (selected || hot) {
            p->setPen(Qt::NoPen);
            p->setBrush(selected ? palette::kRaised : palette::kHover);
            p->drawRoundedRect(row, 6, 6);
        }
        const qreal h = row.height();
        if (index.data(ProfileList::kActiveRole).toBool()) {
            p->setPen(Qt::NoPen);
            p->setBrush(AccentColor());
            p->drawRoundedRect(QRectF(row.left() + 6, row.top() + h * 0.25, 3, h * 0.5), 1.5, 1.5);
        }
        const QRect pencil = ProfileList::PencilRect(option.rect);
        QRectF textRect = row.adjusted(18, 0, -(row.right() - pencil.left()) - 4, 0);
        p->setFont(option.font);
        p->setPen(selected ? palette::kText : palette::kTextDim);
        const QString name = option.fontMetrics.elidedText(
            index.data(Qt::DisplayRole).toString(), Qt::ElideRight, static_cast<int>(textRect.width()));
        const QString apps = index.data(ProfileList::kAppsRole).toString();
        if (list_->indexWidget(index)) {
            // Being renamed: the editor shows the name; the old one must not show through under it.
        } else if (apps.isEmpty()) {
            p->drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft, name);
        } else {
            // The name in the upper part, the applications it follows small under it.
            p->drawText(textRect.adjusted(0, 0, 0, -h * 0.4), Qt::AlignBottom | Qt::AlignLeft, name);
            QFont small = option.font;
            small.setPixelSize(qMax(9, option.font.pixelSize() * 3 / 4));
            p->setFont(small);
            p->setPen(palette::kTextDim);
            const QString line =
                QFontMetrics(small).elidedText(apps, Qt::ElideRight, static_cast<int>(textRect.width()));
            p->drawText(textRect.adjusted(0, h * 0.6, 0, 0), Qt::AlignTop | Qt::AlignLeft, line);
        }
        if (selected || hot) PaintPencil(*p, pencil, hot ? palette::kText : palette::kTextDim);
        p->restore();
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        // The list's base is transparent; the editor gets a solid one.
        QPalette solid = editor->palette();
        solid.setColor(QPalette::Base, palette::kRaised);
        editor->setPalette(solid);
        editor->setAutoFillBackground(true);
        return editor;
    }

    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex&) const override {
        const QRect pencil = ProfileList::PencilRect(option.rect);
        editor->setGeometry(option.rect.adjusted(12, 3, -(option.rect.right() - pencil.left()) - 2, -3));
    }

private:
    ProfileList* list_;
};

}  // namespace

ProfileList::ProfileList(QWidget* parent) : QListWidget(parent) {
    setItemDelegate(new ProfileRowDelegate(this));
    setEditTriggers(QAbstractItemView::EditKeyPressed);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setFrameShape(QFrame::NoFrame);
    setMouseTracking(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAttribute(Qt::WA_Hover);
    viewport()->setAutoFillBackground(false);
    QPalette clear = palette();
    clear.setColor(QPalette::Base, Qt::transparent);
    setPalette(clear);
}

void ProfileList::SetRowHeight(int height) {
    rowHeight_ = height;
    doItemsLayout();
}

void ProfileList::CommitEdit() {
    if (!IsEditing()) return;
    QWidget* editor = indexWidget(currentIndex());
    if (!editor) return;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

QRect ProfileList::PencilRect(const QRect& row) {
    const int side = qMin(row.height() - 8, 20);
    return QRect(row.right() - side - 8, row.center().y() - side / 2, side, side);
}

void ProfileList::mousePressEvent(QMouseEvent* event) {
    pressed_ = nullptr;
    QListWidgetItem* item = itemAt(event->position().toPoint());
    if (!item || event->button() != Qt::LeftButton) {
        QListWidget::mousePressEvent(event);
        return;
    }
    setCurrentItem(item);
    if (PencilRect(visualItemRect(item)).adjusted(-4, -4, 4, 4).contains(event->position().toPoint())) {
        editItem(item);
        return;
    }
    pressed_ = item;
}

void ProfileList::mouseReleaseEvent(QMouseEvent* event) {
    QListWidgetItem* item = itemAt(event->position().toPoint());
    QListWidgetItem* pressed = pressed_;
    pressed_ = nullptr;
    if (event->button() == Qt::LeftButton && item && item == pressed) emit entryChosen(item);
}

void ProfileList::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();  // the first click of it has already chosen
}

void ProfileList::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && state() != EditingState &&
        currentItem()) {
        emit entryChosen(currentItem());
        return;
    }
    QListWidget::keyPressEvent(event);
}

}  // namespace quorvel
