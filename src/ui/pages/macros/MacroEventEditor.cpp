#include "ui/pages/macros/MacroEventEditor.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include "toolkit/CImageButton.h"
#include "toolkit/KeyCaptureFilter.h"
#include "ui/common/PageHost.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiRect.h"
#include "ui/common/UiText.h"
#include "ui/dialogs/CUIMessageBox.h"
#include "ui/pages/macros/MacroPageIds.h"

namespace quorvel {

using namespace macro_page;

namespace {

constexpr QRect kCard = QRect(306, 552, 540, 106);
constexpr int kDelayDigits = 5;
constexpr int kKeyNameLength = 10;

// The button box: text, and the button bits of its data (1 LB, 2 MB, 3 RB, 5 Forward, 6 Backward).
struct ButtonChoice {
    int text;
    int bits;
};
constexpr ButtonChoice kButtons[] = {{txt::kLeftClick, kMacroButtonLeft},
                                     {txt::kRightClick, kMacroButtonRight},
                                     {txt::kMiddleClick, kMacroButtonMiddle},
                                     {txt::kForwardButton, kMacroButtonForward},
                                     {txt::kBackButton, kMacroButtonBack}};

// "↓  A" -> "A".
QString NameOf(const QString& text) {
    return text.mid(1).trimmed();
}

}  // namespace

MacroEventEditor::MacroEventEditor(PageHost& host, QWidget* parent) : MacroPanel(kCard, parent), host_(host) {
    TextRegistry& texts = host_.Texts();
    hint_ = NewLabel(kEditorHint, Ltrb(326, 556, 826, 654), 14, true);
    hint_->setAlignment(Qt::AlignCenter);
    texts.BindText(hint_, txt::kEditorHint);

    kindLabel_ = NewLabel(kEditorKindLabel, Ltrb(326, 560, 496, 584), 13, true);
    texts.BindText(kindLabel_, txt::kEventType);
    kindBox_ = Place(new QComboBox(this), Ltrb(326, 588, 496, 628), 14);
    kindBox_->setObjectName(ControlName(kEditorKind));
    kindBox_->addItem(QString());
    texts.BindComposed(
        kindBox_, {txt::kMouse, txt::kKeyboard, txt::kDelay}, [this] { return Text(kindText_); },
        [this](const QString& s) { kindBox_->setItemText(0, s); });

    delayLabel_ = NewLabel(kEditorDelayLabel, Ltrb(512, 560, 700, 584), 13, true);
    texts.BindText(delayLabel_, txt::kDelay);
    keyLabel_ = NewLabel(kEditorKeyLabel, Ltrb(512, 560, 700, 584), 13, true);
    texts.BindText(keyLabel_, txt::kKeyboardKey);
    field_ = NewEdit(kEditorValue, Ltrb(512, 588, 652, 628));
    field_->setContextMenuPolicy(Qt::NoContextMenu);
    field_->installEventFilter(this);
    connect(field_, &QLineEdit::editingFinished, this, &MacroEventEditor::DelayEdited);
    delayUnit_ = NewLabel(kEditorDelayUnit, Ltrb(658, 588, 700, 628), 14, true);
    texts.BindText(delayUnit_, txt::kDelayUnit);
    // The key field captures while it has the focus; every key counts, modifiers included.
    capture_ = new KeyCaptureFilter(this);
    field_->installEventFilter(capture_);
    connect(capture_, &KeyCaptureFilter::keyCaptured, this, [this](const CapturedKey& key) {
        if (kind_ != Kind::Key || key.up) return;
        captured_ = true;
        field_->setText(QString::fromStdString(key.name).left(kKeyNameLength));
        if (!IsPlayableMacroKey(key.virtualKey)) {
            OpenMessageBox(host_.Window(), txt::kEventList, txt::kKeyNotPlayable, kBoxOk, {});
            return;
        }
        if (key.virtualKey != value_) emit valueChanged(key.virtualKey);
    });

    buttonLabel_ = NewLabel(kEditorButtonLabel, Ltrb(512, 560, 700, 584), 13, true);
    texts.BindText(buttonLabel_, txt::kMouseButton);
    buttonBox_ = Place(new QComboBox(this), Ltrb(512, 588, 700, 628), 14);
    buttonBox_->setObjectName(ControlName(kEditorButton));
    for (const ButtonChoice& b : kButtons) {
        const int index = buttonBox_->count();
        buttonBox_->addItem(QString(), b.bits);
        texts.Bind(buttonBox_, UiText(b.text),
                   [this, index](const QString& s) { buttonBox_->setItemText(index, s); });
    }
    connect(buttonBox_, &QComboBox::activated, this, [this](int index) {
        const int bits = buttonBox_->itemData(index).toInt();
        if (kind_ == Kind::Button && bits != value_) emit valueChanged(bits);
    });

    up_ = Place(new CImageButton(QStringLiteral("img_recorditem_up.png"), Glyph::Up, this),
                Ltrb(740, 590, 778, 626), 0);
    up_->setObjectName(ControlName(kEventUp));
    texts.BindToolTip(up_, txt::kMoveUp);
    connect(up_, &QAbstractButton::clicked, this, [this] { emit moveRequested(MacroMove::kUp); });
    down_ = Place(new CImageButton(QStringLiteral("img_recorditem_down.png"), Glyph::Down, this),
                  Ltrb(786, 590, 824, 626), 0);
    down_->setObjectName(ControlName(kEventDown));
    texts.BindToolTip(down_, txt::kMoveDown);
    connect(down_, &QAbstractButton::clicked, this, [this] { emit moveRequested(MacroMove::kDown); });

    SetKind(Kind::None);
}

void MacroEventEditor::SetKind(Kind kind) {
    kind_ = kind;
    showing_ = kind != Kind::None;
    hint_->setVisible(!showing_);
    for (QWidget* w : std::initializer_list<QWidget*>{kindLabel_, kindBox_, up_, down_})
        w->setVisible(showing_);
    delayLabel_->setVisible(kind == Kind::Delay);
    delayUnit_->setVisible(kind == Kind::Delay);
    keyLabel_->setVisible(kind == Kind::Key);
    field_->setVisible(kind == Kind::Delay || kind == Kind::Key);
    buttonLabel_->setVisible(kind == Kind::Button);
    buttonBox_->setVisible(kind == Kind::Button);
    if (kind != Kind::Key) capture_->SetActive(false);
}

void MacroEventEditor::ShowEvent(const RecordItem* item) {
    if (!item) {
        SetKind(Kind::None);
        return;
    }
    value_ = item->value;
    switch (item->type) {
        case kRecordDelay:
            kindText_ = txt::kDelay;
            SetKind(Kind::Delay);
            field_->setValidator(
                new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d*")), field_));
            field_->setMaxLength(kDelayDigits);
            field_->setPlaceholderText(QString());
            field_->setText(QString::number(item->value));
            break;
        case kRecordKeyDown:
        case kRecordKeyUp:
            kindText_ = txt::kKeyboard;
            SetKind(Kind::Key);
            field_->setValidator(nullptr);
            field_->setMaxLength(kKeyNameLength);
            field_->setPlaceholderText(Text(txt::kPressAKey));
            field_->setText(NameOf(item->text));
            break;
        default:
            kindText_ = txt::kMouse;
            SetKind(Kind::Button);
            buttonBox_->setCurrentIndex(qMax(0, buttonBox_->findData(item->value)));
            break;
    }
    kindBox_->setItemText(0, Text(kindText_));
}

void MacroEventEditor::DelayEdited() {
    if (kind_ != Kind::Delay) return;
    // An empty field reads 0, which the store raises to the shortest delay.
    const int typed = field_->text().toInt();
    if (typed != value_) emit valueChanged(typed);
}

bool MacroEventEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched == field_ && kind_ == Kind::Key) {
        if (event->type() == QEvent::FocusIn) {
            captured_ = false;
            field_->clear();
            capture_->SetActive(true);
        } else if (event->type() == QEvent::FocusOut) {
            EndCapture();
        }
    }
    return MacroPanel::eventFilter(watched, event);
}

void MacroEventEditor::EndCapture() {
    if (!capture_->IsActive()) return;
    capture_->SetActive(false);
    // Nothing pressed: the field names the stored key again.
    if (!captured_ && kind_ == Kind::Key) field_->setText(QString::fromStdString(CapturedKeyName(value_)));
}

}  // namespace quorvel
