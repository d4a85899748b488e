#include "toolkit/MacroList.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>

#include "toolkit/Glyphs.h"
#include "toolkit/Paint.h"
#include "toolkit/Theme.h"

namespace quorvel {

MacroList::MacroList(QWidget* parent) : RowList(parent) {
    SetRowHeight(40);
}

int MacroList::AddString(const QString& text, int data, int index) {
    if (index < 0 || index > GetItemCount()) index = GetItemCount();
    FinishEdit(true);
    items_.insert(index, {text, data});
    if (current_ >= index) ++current_;
    RowsChanged();
    return index;
}

void MacroList::DeleteAllItems() {
    FinishEdit(false);
    items_.clear();
    current_ = -1;
    RowsChanged();
}

bool MacroList::DeleteItem(int index) {
    if (index < 0 || index >= GetItemCount()) return false;
    FinishEdit(false);
    items_.remove(index);
    if (current_ == index) {
        current_ = -1;
    } else if (current_ > index) {
        --current_;
    }
    RowsChanged();
    return true;
}

int MacroList::GetItemData(int index) const {
    return index >= 0 && index < GetItemCount() ? items_[index].data : 0;
}

QString MacroList::GetItemText(int index) const {
    return index >= 0 && index < GetItemCount() ? items_[index].text : QString();
}

bool MacroList::ModifyItemString(int index, const QString& text) {
    if (index < 0 || index >= GetItemCount()) return false;
    items_[index].text = text;
    viewport()->update();
    return true;
}

void MacroList::EditItem(int index) {
    if (index < 0 || index >= GetItemCount()) return;
    FinishEdit(true);
    if (!editor_) {
        editor_ = new QLineEdit(viewport());
        editor_->setMaxLength(64);
        editor_->installEventFilter(this);
    }
    editing_ = index;
    SetCurSel(index);
    editor_->setText(items_[index].text);
    PlaceEditor();
    editor_->show();
    editor_->setFocus(Qt::OtherFocusReason);
    editor_->selectAll();
}

void MacroList::PlaceEditor() {
    if (!editor_ || editing_ < 0) return;
    const QRectF row = RowRect(editing_);
    const QRectF more = MoreRect(row);
    editor_->setGeometry(
        QRectF(row.left() + 38, row.top() + 5, more.left() - row.left() - 44, row.height() - 10).toRect());
}

void MacroList::scrollContentsBy(int dx, int dy) {
    RowList::scrollContentsBy(dx, dy);
    PlaceEditor();
}

void MacroList::FinishEdit(bool commit) {
    if (editing_ < 0) return;
    const int index = editing_;
    editing_ = -1;
    const QString text = editor_->text();
    editor_->hide();
    if (editor_->hasFocus()) setFocus(Qt::OtherFocusReason);
    if (!commit) return;
    ModifyItemString(index, text);
    emit renamed(index, text);
}

bool MacroList::eventFilter(QObject* watched, QEvent* event) {
    if (watched == editor_) {
        if (event->type() == QEvent::FocusOut && editing_ >= 0) {
            FinishEdit(true);
        } else if (event->type() == QEvent::KeyPress) {
            // The field would pass Enter on to this control (to start another edit) and Escape to the dialog.
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter) {
                FinishEdit(key != Qt::Key_Escape);
                return true;
            }
        }
    }
    return RowList::eventFilter(watched, event);
}

void MacroList::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F2) {
        EditItem(current_);
        return;
    }
    RowList::keyPressEvent(event);
}

void MacroList::PaintRow(QPainter& p, const QRectF& row, int index, RowState state) {
    const bool selected = state == RowState::Selected;
    if (state != RowState::Normal) {
        PaintCard(p, row, 8, selected ? CardState::Selected : CardState::Hot);
    }
    const QRectF icon(row.left() + 10, row.center().y() - 9, 18, 18);
    PaintGlyph(p, icon, Glyph::Macro, selected ? AccentColor() : palette::kTextDim);
    if (index != editing_) {
        p.setFont(PixelFont(font(), qBound(11.0, row.height() * 0.36, 16.0),
                            selected ? QFont::DemiBold : QFont::Normal));
        p.setPen(isEnabled() ? palette::kText : palette::kTextDisabled);
        const QRectF more = MoreRect(row);
        DrawElided(p, QRectF(icon.right() + 10, row.top(), more.left() - icon.right() - 16, row.height()),
                   Qt::AlignLeft | Qt::AlignVCenter, items_[index].text);
    }
    PaintMore(p, row, state);
}

}  // namespace quorvel
