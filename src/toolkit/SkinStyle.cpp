#include "toolkit/SkinStyle.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleFactory>
#include <QStyleOption>

#include "toolkit/Accessible.h"
#include "toolkit/Glyphs.h"
#include "toolkit/Paint.h"
#include "toolkit/Skin.h"
#include "toolkit/Theme.h"

namespace quorvel {

namespace {

const QMargins kButtonSlice(10, 10, 10, 10);
const QMargins kEditSlice(8, 8, 8, 8);
const QMargins kComboSlice(10, 10, 34, 10);  // the right slice holds the arrow

bool On(const QStyleOption* option, QStyle::StateFlag flag) {
    return option->state & flag;
}

// A hover or press tint over a skin frame.
void Tint(QPainter* p, const QRect& rect, const QStyleOption* option, qreal radius) {
    QColor tint;
    if (!On(option, QStyle::State_Enabled)) {
        tint = WithAlpha(palette::kWindow, 110);
    } else if (On(option, QStyle::State_Sunken) || On(option, QStyle::State_On)) {
        tint = WithAlpha(Qt::black, 70);
    } else if (On(option, QStyle::State_MouseOver)) {
        tint = WithAlpha(Qt::white, 16);
    }
    if (!tint.isValid()) return;
    p->save();
    p->setRenderHint(QPainter::Antialiasing);
    p->setPen(Qt::NoPen);
    p->setBrush(tint);
    p->drawRoundedRect(QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    p->restore();
}

void FocusRing(QPainter* p, const QRect& rect, qreal radius) {
    p->save();
    p->setRenderHint(QPainter::Antialiasing);
    p->setPen(QPen(AccentColor(), 1.4));
    p->setBrush(Qt::NoBrush);
    p->drawRoundedRect(QRectF(rect).adjusted(0.7, 0.7, -0.7, -0.7), radius, radius);
    p->restore();
}

// Where Qt's buttons show their focus: the whole button, or the mark and label of a check or radio button
// (Qt's own focus rectangle there is the label only, which an empty label makes invisible).
QRect FocusRect(const QStyleOption* option, const QWidget* widget) {
    if (qobject_cast<const QPushButton*>(widget)) return widget->rect().adjusted(2, 2, -2, -2);
    if (qobject_cast<const QCheckBox*>(widget) || qobject_cast<const QRadioButton*>(widget))
        return widget->rect();
    return option->rect.adjusted(-1, -1, 1, 1);
}

// Only focus that came from the keyboard shows: a click leaves no ring behind.
bool KeyboardFocus(const QStyleOption* option) {
    return On(option, QStyle::State_HasFocus) && On(option, QStyle::State_KeyboardFocusChange) &&
           On(option, QStyle::State_Enabled);
}

void DrawnMark(QPainter* p, const QRect& rect, bool radio, bool on, bool enabled) {
    p->save();
    p->setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect).adjusted(1, 1, -1, -1);
    const QColor accent = enabled ? AccentColor() : palette::kTextDisabled;
    p->setPen(QPen(on ? accent : palette::kTextDim.darker(130), 1.4));
    p->setBrush(on && !radio ? accent : QColor(0x0F, 0x12, 0x17));
    if (radio) {
        p->drawEllipse(r);
        if (on) {
            p->setPen(Qt::NoPen);
            p->setBrush(accent);
            p->drawEllipse(r.center(), r.width() * 0.24, r.height() * 0.24);
        }
    } else {
        p->drawRoundedRect(r, r.width() * 0.25, r.width() * 0.25);
        if (on) PaintGlyph(*p, r, Glyph::Check, palette::kWindow);
    }
    p->restore();
}

}  // namespace

void PaintFocusMark(QPainter& painter, const QRectF& rect, qreal radius) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(AccentColor(), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(rect.adjusted(1, 1, -1, -1), radius, radius);
    painter.restore();
}

SkinStyle::SkinStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {
    // The application takes the skin once, at start: the custom controls' accessibility comes with it.
    InstallAccessibleControls();
}

QPalette SkinStyle::standardPalette() const {
    QPalette p;
    p.setColor(QPalette::Window, palette::kWindow);
    p.setColor(QPalette::WindowText, palette::kText);
    p.setColor(QPalette::Base, QColor(0x0F, 0x12, 0x17));
    p.setColor(QPalette::AlternateBase, palette::kSurface);
    p.setColor(QPalette::Text, palette::kText);
    p.setColor(QPalette::PlaceholderText, palette::kTextDim);
    p.setColor(QPalette::Button, palette::kRaised);
    p.setColor(QPalette::ButtonText, palette::kText);
    p.setColor(QPalette::BrightText, Qt::white);
    p.setColor(QPalette::Light, palette::kHover);
    p.setColor(QPalette::Midlight, palette::kBorder);
    p.setColor(QPalette::Mid, palette::kBorder);
    p.setColor(QPalette::Dark, palette::kWindow);
    p.setColor(QPalette::Shadow, Qt::black);
    p.setColor(QPalette::Highlight, AccentColor());
    p.setColor(QPalette::HighlightedText, palette::kWindow);
    p.setColor(QPalette::Link, AccentColor());
    p.setColor(QPalette::LinkVisited, AccentColor().darker(120));
    p.setColor(QPalette::ToolTipBase, palette::kRaised);
    p.setColor(QPalette::ToolTipText, palette::kText);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        p.setColor(QPalette::Disabled, role, palette::kTextDisabled);
    }
    p.setColor(QPalette::Disabled, QPalette::Highlight, palette::kBorder);
    return p;
}

void SkinStyle::polish(QPalette& palette) {
    palette = standardPalette();
}

void SkinStyle::polish(QWidget* widget) {
    QProxyStyle::polish(widget);
    // Hover tints need hover events.
    if (qobject_cast<QAbstractButton*>(widget) || qobject_cast<QComboBox*>(widget)) {
        widget->setAttribute(Qt::WA_Hover);
    }
    if (qobject_cast<QAbstractButton*>(widget) || qobject_cast<QComboBox*>(widget)) widget->installEventFilter(this);
}

void SkinStyle::unpolish(QWidget* widget) {
    widget->removeEventFilter(this);
    QProxyStyle::unpolish(widget);
}

bool SkinStyle::eventFilter(QObject* watched, QEvent* event) {
    // A click ends the keyboard's turn: the focus ring goes until Tab is used again.
    if (event->type() == QEvent::MouseButtonPress) static_cast<QWidget*>(watched)->window()->setAttribute(Qt::WA_KeyboardFocusChange, false);
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        auto* button = qobject_cast<QAbstractButton*>(watched);
        const bool enter = (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
                           (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        // Check and radio buttons keep Space alone, as everywhere else.
        if (enter && button && button->isEnabled() && !qobject_cast<QCheckBox*>(button) &&
            !qobject_cast<QRadioButton*>(button) && !qobject_cast<QDialog*>(button->window())) {
            button->click();
            return true;
        }
    }
    return QProxyStyle::eventFilter(watched, event);
}

int SkinStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
    switch (metric) {
        case PM_IndicatorWidth:
        case PM_IndicatorHeight:
        case PM_ExclusiveIndicatorWidth:
        case PM_ExclusiveIndicatorHeight:
            return 18;
        case PM_CheckBoxLabelSpacing:
        case PM_RadioButtonLabelSpacing:
            return 8;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

void SkinStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                              const QWidget* widget) const {
    Skin& skin = Skin::Instance();
    const bool enabled = On(option, State_Enabled);
    switch (element) {
        case PE_IndicatorCheckBox:
        case PE_IndicatorRadioButton: {
            const bool radio = element == PE_IndicatorRadioButton;
            const bool on = On(option, State_On);
            const QString name =
                QStringLiteral("img_%1_%2.png").arg(radio ? "radio" : "check", on ? "on" : "off");
            painter->save();
            if (!enabled) painter->setOpacity(0.45);
            if (!skin.PaintFit(*painter, option->rect, name))
                DrawnMark(painter, option->rect, radio, on, enabled);
            painter->restore();
            if (On(option, State_MouseOver) && enabled && !on) {
                painter->save();
                painter->setRenderHint(QPainter::Antialiasing);
                painter->setPen(QPen(WithAlpha(AccentColor(), 170), 1.2));
                painter->setBrush(Qt::NoBrush);
                const QRectF r = QRectF(option->rect).adjusted(1, 1, -1, -1);
                if (radio) {
                    painter->drawEllipse(r);
                } else {
                    painter->drawRoundedRect(r, 4.5, 4.5);
                }
                painter->restore();
            }
            return;
        }
        case PE_PanelButtonCommand: {
            const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
            const bool primary = button && (button->features & QStyleOptionButton::DefaultButton);
            if (!skin.PaintFrame(*painter, option->rect, QStringLiteral("img_button.png"), kButtonSlice)) {
                PaintCard(*painter, option->rect, 8, enabled ? CardState::Normal : CardState::Disabled);
            }
            if (primary && enabled) {
                // The default button carries the accent, so the safe answer is never the loud one by chance.
                painter->save();
                painter->setRenderHint(QPainter::Antialiasing);
                painter->setPen(QPen(AccentColor(), 1.2));
                painter->setBrush(WithAlpha(AccentColor(), 40));
                painter->drawRoundedRect(QRectF(option->rect).adjusted(0.6, 0.6, -0.6, -0.6), 8, 8);
                painter->restore();
            }
            Tint(painter, option->rect, option, 8);
            return;
        }
        case PE_FrameLineEdit:
            return;  // the panel draws the frame
        case PE_PanelLineEdit: {
            if (widget && qobject_cast<const QComboBox*>(widget->parentWidget()))
                return;  // inside a combo box
            const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
            if (frame && frame->lineWidth <= 0) {
                painter->fillRect(option->rect, option->palette.base());
                return;
            }
            if (!skin.PaintFrame(*painter, option->rect, QStringLiteral("img_edit.png"), kEditSlice)) {
                PaintCard(*painter, option->rect, 7, CardState::Disabled);
            }
            if (On(option, State_HasFocus) && enabled) FocusRing(painter, option->rect, 7);
            if (!enabled) Tint(painter, option->rect, option, 7);
            return;
        }
        case PE_FrameFocusRect:
            // Buttons get their ring with the whole control (drawControl); others (item views) here.
            if (KeyboardFocus(option) && !qobject_cast<const QAbstractButton*>(widget))
                PaintFocusMark(*painter, FocusRect(option, widget), 6);
            return;
        default:
            QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
}

void SkinStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                            const QWidget* widget) const {
    switch (element) {
        case CE_ProgressBarGroove: {
            painter->save();
            painter->setRenderHint(QPainter::Antialiasing);
            painter->setPen(Qt::NoPen);
            painter->setBrush(QColor(0x07, 0x09, 0x0D));
            const qreal r = qMin(option->rect.height(), option->rect.width()) / 2.0;
            painter->drawRoundedRect(QRectF(option->rect), r, r);
            painter->restore();
            return;
        }
        case CE_ProgressBarContents: {
            const auto* bar = qstyleoption_cast<const QStyleOptionProgressBar*>(option);
            if (!bar) break;
            const qint64 span = qint64(bar->maximum) - bar->minimum;
            if (span <= 0) break;  // busy bars: Fusion's animation
            const qreal ratio = qBound(0.0, (qint64(bar->progress) - bar->minimum) / qreal(span), 1.0);
            const QRectF full = QRectF(option->rect).adjusted(1, 1, -1, -1);
            const QRectF done(full.left(), full.top(), full.width() * ratio, full.height());
            if (done.width() <= 0) return;
            painter->save();
            painter->setRenderHint(QPainter::Antialiasing);
            QLinearGradient fill(full.topLeft(), full.topRight());
            fill.setColorAt(0, AccentColor().darker(140));
            fill.setColorAt(1, AccentColor());
            painter->setPen(Qt::NoPen);
            painter->setBrush(fill);
            const qreal r = full.height() / 2;
            painter->drawRoundedRect(done, r, r);
            painter->restore();
            return;
        }
        case CE_PushButton:
        case CE_CheckBox:
        case CE_RadioButton:
            QProxyStyle::drawControl(element, option, painter, widget);
            if (KeyboardFocus(option)) PaintFocusMark(*painter, FocusRect(option, widget), 6);
            return;
        default:
            break;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void SkinStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                   QPainter* painter, const QWidget* widget) const {
    if (control == CC_ComboBox) {
        const auto* combo = qstyleoption_cast<const QStyleOptionComboBox*>(option);
        if (combo && !combo->editable &&
            Skin::Instance().PaintFrame(*painter, option->rect, QStringLiteral("img_combobox.png"),
                                        kComboSlice)) {
            Tint(painter, option->rect, option, 7);
            if (On(option, State_HasFocus) && On(option, State_Enabled)) FocusRing(painter, option->rect, 7);
            return;  // the label is drawn by CE_ComboBoxLabel
        }
    }
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    if (control == CC_ComboBox && KeyboardFocus(option)) PaintFocusMark(*painter, option->rect, 7);
}

}  // namespace quorvel
