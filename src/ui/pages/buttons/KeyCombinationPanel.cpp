#include "ui/pages/buttons/KeyCombinationPanel.h"

#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

#include "store/ButtonCodes.h"
#include "store/KeyCapture.h"
#include "toolkit/CImageButton.h"
#include "toolkit/KeyCaptureFilter.h"
#include "toolkit/Paint.h"
#include "toolkit/Theme.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiRect.h"
#include "ui/common/UiText.h"
#include "ui/pages/buttons/ButtonPageIds.h"

namespace quorvel {

using namespace button_page;

namespace {

struct Toggle {
    int id, textId, bit;
};
constexpr Toggle kToggles[4] = {
    {kCtrlToggle, txt::kCtrl, kModCtrl},
    {kWinToggle, txt::kWin, kModWin},
    {kAltToggle, txt::kAlt, kModAlt},
    {kShiftToggle, txt::kShift, kModShift},
};

// Design geometry at 1x: the key field, and the toggles in a row under it.
constexpr QRect kFieldAt(24, 60, 412, 44);
constexpr int kFieldPx = 14;
constexpr int kToggleLeft = 24, kToggleTop = 120, kToggleWidth = 95, kToggleHeight = 36, kToggleGap = 10;

// A modifier toggle: a card that carries the accent while it is on, as the chosen button in the list does.
class ModifierToggle : public QPushButton {
public:
    explicit ModifierToggle(QWidget* parent) : QPushButton(parent) {
        setCheckable(true);
        setAttribute(Qt::WA_Hover);
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const CardState state =
            isChecked() ? CardState::Selected : (underMouse() ? CardState::Hot : CardState::Normal);
        PaintCard(p, rect(), 8, state);
        p.setPen(isChecked() ? AccentColor() : palette::kText);
        p.setFont(font());
        p.drawText(rect(), Qt::AlignCenter, text());
        if (hasFocus()) {
            p.setPen(QPen(WithAlpha(AccentColor(), 120), 1, Qt::DotLine));
            p.drawRoundedRect(QRectF(rect()).adjusted(3.5, 3.5, -3.5, -3.5), 6, 6);
        }
    }
};

// The sided Shift, Ctrl and Alt keys: the toggles stand for them.
bool IsSidedModifier(int virtualKey) {
    return virtualKey >= 0xA0 && virtualKey <= 0xA5;
}

// A toggle's left-hand bit with its right-hand one.
int BothSides(int leftBit) {
    return leftBit | leftBit << 4;
}

// The held bit of a Windows key taken as the key itself: it is the key, not a modifier of it.
int OwnBit(int virtualKey) {
    if (virtualKey == 0x5B) return kModWin;
    if (virtualKey == 0x5C) return kModRightWin;
    return 0;
}

}  // namespace

KeyCombinationPanel::KeyCombinationPanel(TextRegistry& texts, QWidget* parent)
    : ButtonPanelCard(kPanelDesign, parent) {
    setObjectName(ControlName(kKeyPanel));
    close_ = new CImageButton(QString(), Glyph::Close, this);
    close_->setObjectName(ControlName(kKeyClose));
    close_->setCursor(Qt::PointingHandCursor);
    texts.BindToolTip(close_, txt::kPanelCloseTip);
    connect(close_, &CImageButton::clicked, this, &KeyCombinationPanel::Close);

    title_ = NewLabel(kKeyTitle, true);
    texts.BindText(title_, txt::kKeyCombination);

    field_ = new QLineEdit(this);
    field_->setObjectName(ControlName(kKeyField));
    field_->setReadOnly(true);  // it shows the key's name; nothing is typed into it
    field_->setAlignment(Qt::AlignCenter);
    field_->setContextMenuPolicy(Qt::NoContextMenu);
    texts.Bind(field_, txt::kKeyFieldHint, [this](const QString& s) { field_->setPlaceholderText(s); });
    capture_ = new KeyCaptureFilter(this);
    field_->installEventFilter(capture_);
    field_->installEventFilter(this);  // focus in and out switch the capture
    connect(capture_, &KeyCaptureFilter::keyCaptured, this, &KeyCombinationPanel::Take);

    for (int i = 0; i < 4; ++i) {
        auto* toggle = new ModifierToggle(this);
        toggle->setObjectName(ControlName(kToggles[i].id));
        texts.BindText(toggle, kToggles[i].textId);
        toggles_[i] = toggle;
    }
    ok_ = new QPushButton(this);
    ok_->setObjectName(ControlName(kKeyOk));
    texts.BindText(ok_, txt::kPanelOk);
    connect(ok_, &QPushButton::clicked, this, &KeyCombinationPanel::okClicked);

    DesignLayout& d = Design();
    d.Add(close_, kPanelClose, kSizedAtRight);
    d.Add(title_, kPanelTitle, kToRight, kPanelTitlePx);
    d.Add(field_, kFieldAt, kToRight, kFieldPx);
    for (int i = 0; i < 4; ++i) {
        const QRect at(kToggleLeft + i * (kToggleWidth + kToggleGap), kToggleTop, kToggleWidth,
                       kToggleHeight);
        d.Add(toggles_[i], at, kScaledSizes, kPanelTextPx);
    }
    d.Add(ok_, kPanelOk, kSizedAtCorner, kPanelTextPx);
    hide();
}

void KeyCombinationPanel::Open() {
    // A key captured before the panel was closed is not offered again, neither stored nor shown.
    ForgetKey();
    for (QPushButton* toggle : toggles_) toggle->setChecked(false);
    heldModifiers_ = 0;
    keyToggles_ = -1;
    show();
    raise();
}

void KeyCombinationPanel::Close() {
    hide();
}

int KeyCombinationPanel::ModifierBits() const {
    int bits = 0;
    for (int i = 0; i < 4; ++i) {
        if (!toggles_[i]->isChecked()) continue;
        const int sides = heldModifiers_ & BothSides(kToggles[i].bit);
        bits |= sides != 0 ? sides : kToggles[i].bit;
    }
    return bits;
}

void KeyCombinationPanel::ForgetKey() {
    virtualKey_ = 0;
    name_.clear();
    field_->clear();
}

void KeyCombinationPanel::Take(const CapturedKey& key) {
    // The press decides: letting go of Win after Win+E must leave E, not Win.
    if (key.kind != kCaptureKeyboard || key.up != 0 || IsSidedModifier(key.virtualKey)) return;
    virtualKey_ = key.virtualKey;
    name_ = QString::fromStdString(key.name);
    field_->setText(name_);

    // The toggles follow the modifiers held with the key, so Ctrl+C reads as typed. A key typed alone
    // clears what an earlier key switched on, but never what the user clicked.
    const int held = key.modifiers & ~OwnBit(key.virtualKey);
    int clicked = 0;
    for (int i = 0; i < 4; ++i) {
        if (toggles_[i]->isChecked()) clicked |= kToggles[i].bit;
    }
    if (held == 0 && keyToggles_ != clicked) {
        heldModifiers_ = 0;
        keyToggles_ = -1;
        return;
    }
    int shown = 0;
    for (int i = 0; i < 4; ++i) {
        const bool on = (held & BothSides(kToggles[i].bit)) != 0;
        toggles_[i]->setChecked(on);
        if (on) shown |= kToggles[i].bit;
    }
    heldModifiers_ = held;
    keyToggles_ = held != 0 ? shown : -1;
}

bool KeyCombinationPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == field_) {
        if (event->type() == QEvent::FocusIn) {
            // Clicking into the field starts a new capture; the window coming back to the front (after a
            // message box, another program) keeps what was captured.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) ForgetKey();
            capture_->SetActive(true);
        } else if (event->type() == QEvent::FocusOut) {
            capture_->SetActive(false);
        }
    }
    return ButtonPanelCard::eventFilter(watched, event);
}

void KeyCombinationPanel::hideEvent(QHideEvent* event) {
    // A hidden field keeps no capture, whatever happened to its focus.
    capture_->SetActive(false);
    ButtonPanelCard::hideEvent(event);
}

}  // namespace quorvel
