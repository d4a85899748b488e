#include "toolkit/CRecordList.h"

#include <QPainter>

#include "toolkit/Glyphs.h"
#include "toolkit/Paint.h"
#include "toolkit/Skin.h"
#include "toolkit/Theme.h"

namespace quorvel {

namespace {
constexpr qreal kNumberColumn = 52;

Glyph GlyphOf(int type) {
    switch (type) {
        case kRecordDelay:
            return Glyph::Delay;
        case kRecordKeyDown:
        case kRecordKeyUp:
            return Glyph::Keyboard;
        case kRecordButtonDown:
        case kRecordButtonUp:
            return Glyph::Mouse;
        default:
            return Glyph::List;
    }
}
}  // namespace

CRecordList::CRecordList(QWidget* parent) : RowList(parent) {
    SetRowHeight(34);
}

int CRecordList::AddString(const QString& text, int type, int value, int id) {
    return InsertString(-1, text, type, value, id);
}

int CRecordList::InsertString(int index, const QString& text, int type, int value, int id) {
    if (index < 0 || index > GetItemCount()) index = GetItemCount();
    items_.insert(index, {text, type, value, id});
    if (current_ >= index) ++current_;
    RowsChanged();
    return index;
}

bool CRecordList::DeleteItem(int index) {
    if (index < 0 || index >= GetItemCount()) return false;
    items_.remove(index);
    if (current_ == index) {
        current_ = -1;
    } else if (current_ > index) {
        --current_;
    }
    RowsChanged();
    return true;
}

void CRecordList::DeleteAllItems() {
    items_.clear();
    current_ = -1;
    RowsChanged();
}

int CRecordList::GetEventCount() const {
    int count = 0;
    for (const RecordItem& item : items_) count += item.type != kRecordDelay ? 1 : 0;
    return count;
}

bool CRecordList::GetRecordInfo(int index, RecordItem* item) const {
    if (index < 0 || index >= GetItemCount() || !item) return false;
    *item = items_[index];
    return true;
}

bool CRecordList::SetRecordInfo(int index, const QString& text, int type, int value, int id) {
    if (index < 0 || index >= GetItemCount()) return false;
    items_[index] = {text, type, value, id};
    viewport()->update();
    return true;
}

int CRecordList::SetRecordInfoById(int id, int type, const QString& text, int value) {
    int changed = 0;
    for (RecordItem& item : items_) {
        if (item.id != id || item.type != type) continue;
        item.text = text;
        item.value = value;
        ++changed;
    }
    if (changed) viewport()->update();
    return changed;
}

int CRecordList::GetRecordTimeStamp(int index) const {
    return index >= 0 && index < GetItemCount() ? items_[index].id : 0;
}

bool CRecordList::SwapItem(int first, int second) {
    const int count = GetItemCount();
    if (first < 0 || second < 0 || first >= count || second >= count || first == second) return false;
    items_.swapItemsAt(first, second);
    if (current_ == first) {
        current_ = second;
    } else if (current_ == second) {
        current_ = first;
    }
    SetCurSel(current_);
    return true;
}

bool CRecordList::Move(int from, int to) {
    if (from < 0 || from >= GetItemCount() || from == to) return false;
    const bool followed = current_ == from;
    items_.move(from, to);
    if (followed) {
        current_ = to;
    } else if (from < current_ && current_ <= to) {
        --current_;
    } else if (to <= current_ && current_ < from) {
        ++current_;
    }
    SetCurSel(current_);
    return true;
}

bool CRecordList::MoveTop(int index) {
    return Move(index, 0);
}
bool CRecordList::MoveBottom(int index) {
    return Move(index, GetItemCount() - 1);
}

void CRecordList::SetHeaderTexts(const QStringList& texts) {
    header_ = texts;
    RowsChanged();
}

int CRecordList::HeaderHeight() const {
    return header_.isEmpty() ? 0 : 30;
}

void CRecordList::PaintHeader(QPainter& p, const QRectF& rect) {
    p.setPen(Qt::NoPen);
    p.setBrush(WithAlpha(palette::kWindow, 160));
    p.drawRect(rect.adjusted(1, 1, -1, 0));
    p.setPen(palette::kBorder);
    p.drawLine(QPointF(rect.left() + 8, rect.bottom() - 0.5), QPointF(rect.right() - 8, rect.bottom() - 0.5));
    p.setFont(PixelFont(font(), 12, QFont::DemiBold));
    p.setPen(palette::kTextDim);
    const QRectF more = MoreRect(RowRect(0));
    const QString texts[3] = {header_.value(0), header_.value(1), header_.value(2)};
    p.drawText(QRectF(rect.left() + 6, rect.top(), kNumberColumn, rect.height()), Qt::AlignCenter, texts[0]);
    p.drawText(QRectF(rect.left() + 6 + kNumberColumn + 36, rect.top(), more.left() - kNumberColumn - 60,
                      rect.height()),
               Qt::AlignLeft | Qt::AlignVCenter, texts[1]);
    p.drawText(QRectF(more.left() - 24, rect.top(), more.width() + 48, rect.height()), Qt::AlignCenter,
               texts[2]);
}

void CRecordList::PaintRow(QPainter& p, const QRectF& row, int index, RowState state) {
    const RecordItem& item = items_[index];
    const bool selected = state == RowState::Selected;
    if (state != RowState::Normal) {
        PaintCard(p, row, 7, selected ? CardState::Selected : CardState::Hot);
    } else if (index % 2 == 1) {
        p.setPen(Qt::NoPen);
        p.setBrush(WithAlpha(palette::kText, 6));
        p.drawRoundedRect(row, 7, 7);
    }
    const qreal text = qBound(11.0, row.height() * 0.38, 15.0);
    p.setFont(PixelFont(font(), text * 0.92, QFont::DemiBold));
    p.setPen(selected ? AccentColor() : palette::kTextDim);
    p.drawText(QRectF(row.left(), row.top(), kNumberColumn, row.height()), Qt::AlignCenter,
               QString::number(index + 1));

    // Type icon; presses lean on the accent, delays stay quiet.
    const QRectF icon(row.left() + kNumberColumn + 4, row.center().y() - 9, 18, 18);
    const bool press = item.type == kRecordKeyDown || item.type == kRecordButtonDown;
    const QColor ink = item.type == kRecordDelay ? palette::kTextDim : press ? AccentColor() : palette::kText;
    PaintGlyph(p, icon, GlyphOf(item.type), ink);

    const QRectF more = MoreRect(row);
    p.setFont(PixelFont(font(), text, item.type == kRecordDelay ? QFont::Normal : QFont::DemiBold));
    p.setPen(item.type == kRecordDelay ? palette::kTextDim : palette::kText);
    DrawElided(p, QRectF(icon.right() + 14, row.top(), more.left() - icon.right() - 20, row.height()),
               Qt::AlignLeft | Qt::AlignVCenter, item.text);
    PaintMore(p, row, state);
}

}  // namespace quorvel
