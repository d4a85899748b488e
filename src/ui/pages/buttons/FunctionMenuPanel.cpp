#include "ui/pages/buttons/FunctionMenuPanel.h"

#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "store/ButtonCodes.h"
#include "toolkit/CImageButton.h"
#include "toolkit/Paint.h"
#include "toolkit/Theme.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiRect.h"
#include "ui/common/UiText.h"
#include "ui/pages/buttons/ButtonPageIds.h"

namespace quorvel {

using namespace button_page;

namespace {

struct RowSpec {
    int labelId, controlId, textId, type;
};
constexpr RowSpec kRows[kFunctionRowCount] = {
    {kMouseLabel, kMouseMenu, txt::kMouseFunctions, kMouseFunction},
    {kMediaLabel, kMediaMenu, txt::kMultimedia, kMediaFunction},
    {kMacroLabel, kMacroMenu, txt::kMacro, kMacroFunction},
    {kShortcutLabel, kShortcutMenu, txt::kShortcuts, kShortcutFunction},
    {kDpiLabel, kDpiMenu, txt::kDpiFunctions, kDpiFunction},
    {kSpecialLabel, kSpecialMenu, txt::kSpecialFunctions, kSpecialFunction},
    {kKeyLabel, kKeyOpen, txt::kKeyCombination, kKeyboardKey},
    {kClickLabel, kClickOpen, txt::kFireKey, kClickFunction},
    {kFixedLabel, kFixedButton, txt::kDisable, kFixedFunction},
};

// Design geometry at 1x: the panel is 350 wide; the caption and its reset, then a row per function, each
// with its label and control (the marked row is drawn behind them).
constexpr QSize kDesignSize(350, 658);
constexpr QRect kCaptionAt(24, 20, 262, 32), kResetAt(294, 20, 32, 32);
constexpr int kCaptionPx = 18, kRowPx = 13;
constexpr int kMargin = 24;
constexpr int kHeaderHeight = 72;
constexpr int kRowPitch = 52;
constexpr QRect kRow(12, kHeaderHeight, 326, 46), kRowLabel(24, kHeaderHeight, 122, 46);
constexpr QRect kRowControl(146, kHeaderHeight + 5, 180, 34);

QRect InRow(QRect design, int row) {
    return design.translated(0, row * kRowPitch);
}

}  // namespace

FunctionMenuPanel::FunctionMenuPanel(TextRegistry& texts, QWidget* parent)
    : ButtonPanelCard(kDesignSize, parent) {
    caption_ = NewLabel(kCaption, true);
    reset_ = new CImageButton(QStringLiteral("btn_reset.png"), Glyph::Reset, this);
    reset_->setObjectName(ControlName(kResetButton));
    reset_->setCursor(Qt::PointingHandCursor);
    texts.BindToolTip(reset_, txt::kResetButtonTip);
    connect(reset_, &CImageButton::clicked, this, &FunctionMenuPanel::resetClicked);

    for (int i = 0; i < kFunctionRowCount; ++i) {
        labels_[i] = NewLabel(kRows[i].labelId, false);
        texts.BindText(labels_[i], kRows[i].textId);
    }
    for (int i = 0; i < 6; ++i) {
        auto* menu = new QComboBox(this);
        menu->setObjectName(ControlName(kRows[i].controlId));
        menu->setMaxVisibleItems(12);
        menus_[i] = menu;
        const int type = kRows[i].type;
        // activated: the user's choice, also of the item already shown; setting the index does not emit it.
        connect(menu, &QComboBox::activated, this,
                [this, menu, type](int index) { emit menuChosen(type, menu->itemData(index).toInt()); });
    }
    for (int i = 0; i < 6; ++i) {
        texts.BindComposed(
            menus_[i], {txt::kChoose, txt::kNoMacros}, [this, i] { return Placeholder(i); },
            [menu = menus_[i]](const QString& s) { menu->setPlaceholderText(s); });
    }

    auto newButton = [this, &texts](int id, int textId) {
        auto* button = new QPushButton(this);
        button->setObjectName(ControlName(id));
        if (textId) texts.BindText(button, textId);
        return button;
    };
    keyOpen_ = newButton(kKeyOpen, 0);
    clickOpen_ = newButton(kClickOpen, 0);
    fixed_ = newButton(kFixedButton, txt::kDisable);
    // The two panel buttons name the function the row holds, else what they do.
    texts.BindComposed(
        keyOpen_, {txt::kSet}, [this] { return KeyButtonText(); },
        [button = keyOpen_](const QString& s) { button->setText(s); });
    texts.BindComposed(
        clickOpen_, {txt::kSet, txt::kMs}, [this] { return ClickButtonText(); },
        [button = clickOpen_](const QString& s) { button->setText(s); });
    fixed_->setCheckable(true);
    connect(keyOpen_, &QPushButton::clicked, this, &FunctionMenuPanel::keyCombinationClicked);
    connect(clickOpen_, &QPushButton::clicked, this, &FunctionMenuPanel::clickFunctionClicked);
    connect(fixed_, &QPushButton::clicked, this, &FunctionMenuPanel::fixedFunctionClicked);

    DesignLayout& d = Design();
    d.Add(caption_, kCaptionAt, kToRight, kCaptionPx);
    d.Add(reset_, kResetAt, kSizedAtRight);
    QWidget* const buttons[3] = {keyOpen_, clickOpen_, fixed_};
    for (int i = 0; i < kFunctionRowCount; ++i) {
        QWidget* control = i < 6 ? static_cast<QWidget*>(menus_[i]) : buttons[i - 6];
        d.Add(labels_[i], InRow(kRowLabel, i), kScaledSizes, kRowPx, QFont::Normal);
        d.Add(control, InRow(kRowControl, i), kToRight, kRowPx, QFont::Normal);
    }
    Mark(FunctionRow::Mouse);
}

void FunctionMenuPanel::SetCaption(const QString& caption) {
    caption_->setText(caption);
}

QString FunctionMenuPanel::Caption() const {
    return caption_->text();
}

void FunctionMenuPanel::SetMenu(FunctionRow row, const std::vector<Item>& items) {
    QComboBox* menu = Menu(row);
    if (!menu) return;
    const QVariant shown = menu->currentData();
    menu->clear();
    for (const Item& item : items) menu->addItem(item.text, item.value);
    menu->setCurrentIndex(shown.isValid() ? menu->findData(shown) : -1);
    menu->setPlaceholderText(Placeholder(static_cast<int>(row)));
}

void FunctionMenuPanel::ShowNoValue() {
    for (QComboBox* menu : menus_) menu->setCurrentIndex(-1);
    keyValue_.clear();
    clickInterval_ = clickCount_ = 0;
    keyOpen_->setText(KeyButtonText());
    clickOpen_->setText(ClickButtonText());
    fixed_->setChecked(false);
}

bool FunctionMenuPanel::ShowValue(FunctionRow row, int value) {
    QComboBox* menu = Menu(row);
    const int index = menu ? menu->findData(value) : -1;
    if (index < 0) return false;
    menu->setCurrentIndex(index);
    return true;
}

void FunctionMenuPanel::ShowKeyValue(const QString& combination) {
    keyValue_ = combination;
    keyOpen_->setText(KeyButtonText());
}

void FunctionMenuPanel::ShowClickValue(int interval, int count) {
    clickInterval_ = interval;
    clickCount_ = count;
    clickOpen_->setText(ClickButtonText());
}

void FunctionMenuPanel::ShowFixedValue() {
    fixed_->setChecked(true);
}

QString FunctionMenuPanel::Placeholder(int menu) const {
    const bool noMacros = menu == static_cast<int>(FunctionRow::Macro) && menus_[menu]->count() == 0;
    return Text(noMacros ? txt::kNoMacros : txt::kChoose);
}

QString FunctionMenuPanel::KeyButtonText() const {
    return keyValue_.isEmpty() ? Text(txt::kSet) : keyValue_;
}

QString FunctionMenuPanel::ClickButtonText() const {
    if (clickInterval_ == 0) return Text(txt::kSet);
    return QStringLiteral("%1 %2 \u00d7 %3").arg(clickInterval_).arg(Text(txt::kMs)).arg(clickCount_);
}

void FunctionMenuPanel::Mark(FunctionRow row) {
    marked_ = row;
    for (int i = 0; i < kFunctionRowCount; ++i) {
        QPalette pal = labels_[i]->palette();
        pal.setColor(QPalette::WindowText, i == static_cast<int>(row) ? palette::kText : palette::kTextDim);
        labels_[i]->setPalette(pal);
    }
    update();
}

QComboBox* FunctionMenuPanel::Menu(FunctionRow row) const {
    return IsMenu(row) ? menus_[static_cast<int>(row)] : nullptr;
}

int FunctionMenuPanel::TypeOf(FunctionRow row) {
    return kRows[static_cast<int>(row)].type;
}

QRect FunctionMenuPanel::RowRect(int row) const {
    return Design().Map(InRow(kRow, row), kToRight, rect());
}

void FunctionMenuPanel::paintEvent(QPaintEvent* event) {
    ButtonPanelCard::paintEvent(event);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const auto S = [this](int design) { return Design().Length(design); };
    // A line under the caption, and the marked row on an accent backdrop with a bar at its edge.
    p.setPen(QPen(palette::kBorder, 1));
    const qreal line = S(kHeaderHeight) - S(8) + 0.5;
    p.drawLine(QPointF(S(kMargin), line), QPointF(width() - S(kMargin), line));
    const QRectF marked = RowRect(static_cast<int>(marked_));
    p.setPen(Qt::NoPen);
    p.setBrush(WithAlpha(AccentColor(), 28));
    p.drawRoundedRect(marked, S(8), S(8));
    p.setBrush(AccentColor());
    p.drawRoundedRect(QRectF(marked.left(), marked.top() + S(10), S(3), marked.height() - S(20)), 1.5, 1.5);
}

}  // namespace quorvel
