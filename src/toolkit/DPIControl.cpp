#include "toolkit/DPIControl.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpressionValidator>

#include "toolkit/Paint.h"
#include "toolkit/Theme.h"

namespace quorvel {

namespace {
constexpr int kDesignLevels = 6;  // cards keep the width six levels would have
constexpr qreal kGap = 10;
}  // namespace

DPIControl::DPIControl(QWidget* parent) : ItemPicker(Qt::Horizontal, parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

void DPIControl::ClearList() {
    CancelEdit();
    levels_.clear();
    selected_ = -1;
    ForgetHover();
    update();
}

int DPIControl::AddItem(int value, int colour) {
    levels_.push_back({value, colour});
    update();
    return GetItemCount() - 1;
}

void DPIControl::SetDPIValue(int level, int value) {
    if (level < 0 || level >= GetItemCount()) return;
    levels_[level].value = value;
    update();
}

int DPIControl::GetDPIValue(int level) const {
    return level >= 0 && level < GetItemCount() ? levels_[level].value : 0;
}

void DPIControl::SetDPIColorValue(int level, int colour) {
    if (level < 0 || level >= GetItemCount()) return;
    levels_[level].colour = colour;
    update();
}

int DPIControl::GetDPIColorValue(int level) const {
    return level >= 0 && level < GetItemCount() ? levels_[level].colour : 0;
}

void DPIControl::SetSelectItem(int level) {
    Select(level < -1 || level >= GetItemCount() ? -1 : level);
}

QSize DPIControl::sizeHint() const {
    return QSize(720, 130);
}
QSize DPIControl::minimumSizeHint() const {
    return QSize(240, 80);
}

QRectF DPIControl::CardRect(int level) const {
    const int count = GetItemCount();
    if (level < 0 || level >= count) return {};
    const int columns = qMax(count, kDesignLevels);
    const qreal w = (width() - kGap * (columns - 1)) / columns;
    const qreal used = count * w + (count - 1) * kGap;
    const qreal left = (width() - used) / 2;
    return QRectF(left + level * (w + kGap), 0, w, height()).adjusted(1, 1, -1, -1);
}

QRectF DPIControl::SwatchRect(int level) const {
    const QRectF card = CardRect(level);
    if (card.isEmpty()) return {};
    const qreal side = qBound(14.0, card.height() * 0.2, 26.0);
    return QRectF(card.right() - side - 10, card.top() + 10, side, side);
}

QRectF DPIControl::ValueRect(int level) const {
    const QRectF card = CardRect(level);
    if (card.isEmpty()) return {};
    return QRectF(card.left() + 6, card.top() + card.height() * 0.36, card.width() - 12,
                  card.height() * 0.36);
}

int DPIControl::StepTarget(int step) const {
    // The first and the last level are picked again rather than passing the key on.
    return GetItemCount() > 0 ? qBound(0, selected_ + step, GetItemCount() - 1) : -1;
}

bool DPIControl::IsEditing() const {
    return editing_ >= 0;
}

void DPIControl::EditItem(int level) {
    if (level < 0 || level >= GetItemCount()) return;
    if (IsEditing()) FinishEdit(true);
    if (!editor_) {
        editor_ = new QLineEdit(this);
        editor_->setAlignment(Qt::AlignCenter);
        editor_->setMaxLength(5);
        editor_->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), editor_));
        editor_->setFrame(false);
        editor_->installEventFilter(this);
    }
    selected_ = level;
    editing_ = level;
    editText_ = QString::number(levels_[level].value);
    editor_->setText(editText_);
    PlaceEditor();
    editor_->show();
    editor_->setFocus(Qt::OtherFocusReason);
    editor_->selectAll();
    update();
    emit editStarted(level);
}

void DPIControl::EndEdit() {
    FinishEdit(true);
}
void DPIControl::CancelEdit() {
    FinishEdit(false);
}

void DPIControl::FinishEdit(bool commit) {
    if (!IsEditing()) return;
    const int level = editing_;
    editing_ = -1;
    if (commit) editText_ = editor_->text();
    editor_->hide();
    if (editor_->hasFocus()) setFocus(Qt::OtherFocusReason);
    update();
    if (commit) emit editFinished(level, editText_);
}

void DPIControl::PlaceEditor() {
    if (!editor_ || !IsEditing()) return;
    const QRectF value = ValueRect(editing_);
    editor_->setFont(PixelFont(font(), value.height() * 0.62, QFont::Bold));
    editor_->setGeometry(value.adjusted(4, 2, -4, -2).toRect());
    QPalette pal = editor_->palette();
    pal.setColor(QPalette::Base, palette::kWindow);
    pal.setColor(QPalette::Text, palette::kText);
    pal.setColor(QPalette::Highlight, AccentColor());
    pal.setColor(QPalette::HighlightedText, palette::kWindow);
    editor_->setPalette(pal);
}

bool DPIControl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == editor_) {
        if (event->type() == QEvent::FocusOut && IsEditing()) {
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
    return QWidget::eventFilter(watched, event);
}

void DPIControl::resizeEvent(QResizeEvent*) {
    PlaceEditor();
}

void DPIControl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPointF pos = event->position();
    const int level = IndexAt(pos);
    if (level < 0) return;
    if (SwatchRect(level).adjusted(-4, -4, 4, 4).contains(pos)) {
        emit colorClicked(level);
        return;
    }
    const bool wasSelected = level == selected_;
    Pick(level);
    if (wasSelected && ValueRect(level).contains(pos)) EditItem(level);
}

void DPIControl::mouseDoubleClickEvent(QMouseEvent* event) {
    const int level = IndexAt(event->position());
    if (event->button() == Qt::LeftButton && level >= 0 && !SwatchRect(level).contains(event->position()) &&
        editing_ != level) {
        EditItem(level);
    }
}

void DPIControl::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_F2:
            EditItem(selected_);
            break;
        default:
            ItemPicker::keyPressEvent(event);
    }
}

void DPIControl::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (levels_.isEmpty()) {
        PaintCard(p, QRectF(rect()), 10, CardState::Disabled);
        p.setPen(palette::kTextDisabled);
        p.setFont(PixelFont(font(), qBound(12.0, height() * 0.16, 22.0)));
        p.drawText(rect(), Qt::AlignCenter, QStringLiteral("DPI"));
        return;
    }
    const QColor accent = AccentColor();
    for (int i = 0; i < GetItemCount(); ++i) {
        const QRectF card = CardRect(i);
        const bool selected = i == selected_;
        CardState state = selected ? CardState::Selected : (i == hover_ ? CardState::Hot : CardState::Normal);
        if (!isEnabled()) state = CardState::Disabled;
        PaintCard(p, card, 10, state);

        // Level number, top left.
        p.setFont(PixelFont(font(), qBound(10.0, card.height() * 0.11, 15.0), QFont::DemiBold));
        p.setPen(selected ? accent : palette::kTextDim);
        p.drawText(QRectF(card.left() + 12, card.top() + 8, card.width() / 2, card.height() * 0.22),
                   Qt::AlignLeft | Qt::AlignVCenter, QString::number(i + 1));

        // Indicator colour, top right: a swatch with a soft halo of its own colour.
        const QRectF swatch = SwatchRect(i);
        const QColor colour = ColorFromRef(levels_[i].colour);
        p.setPen(Qt::NoPen);
        p.setBrush(WithAlpha(colour, 60));
        p.drawEllipse(swatch.adjusted(-3, -3, 3, 3));
        p.setBrush(colour);
        p.setPen(QPen(WithAlpha(Qt::white, 90), 1));
        p.drawEllipse(swatch);

        // The value, large; the unit under it.
        if (i != editing_) {
            const QRectF value = ValueRect(i);
            p.setFont(PixelFont(font(), value.height() * 0.62, QFont::Bold));
            p.setPen(isEnabled() ? palette::kText : palette::kTextDisabled);
            p.drawText(value, Qt::AlignCenter, QString::number(levels_[i].value));
        }
        p.setFont(PixelFont(font(), qBound(9.0, card.height() * 0.09, 13.0), QFont::DemiBold));
        p.setPen(palette::kTextDim);
        const QRectF unit(card.left(), card.top() + card.height() * 0.72, card.width(), card.height() * 0.12);
        p.drawText(unit, Qt::AlignCenter, QStringLiteral("DPI"));

        // The colour again as a bar along the bottom, the way the mouse will light it.
        const qreal barW = card.width() * (selected ? 0.56 : 0.34);
        QRectF bar(card.center().x() - barW / 2, card.bottom() - 9, barW, 3.5);
        p.setPen(Qt::NoPen);
        p.setBrush(selected ? accent : WithAlpha(colour, 170));
        p.drawRoundedRect(bar, 1.75, 1.75);
    }
    if (hasFocus() && selected_ >= 0 && !IsEditing()) {
        p.setPen(QPen(WithAlpha(accent, 160), 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(CardRect(selected_).adjusted(3, 3, -3, -3), 8, 8);
    }
}

}  // namespace quorvel
