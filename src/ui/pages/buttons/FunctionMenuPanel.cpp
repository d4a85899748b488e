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
#include "ui/common/UiFonts.h"
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

// Design geometry at 1x.
constexpr int kMargin = 24;
constexpr int kHeaderHeight = 72;
constexpr int kRowHeight = 52;
constexpr int kLabelWidth = 122;
constexpr int kControlHeight = 34;

}  // namespace

FunctionMenuPanel::FunctionMenuPanel(TextRegistry& texts, QWidget* parent) : ButtonPanelCard(parent) {
    caption_ = NewLabel(kCaption, 18, true);
    reset_ = new CImageButton(QStringLiteral("btn_reset.png"), Glyph::Reset, this);
    reset_->setObjectName(ControlName(kResetButton));
    reset_->setCursor(Qt::PointingHandCursor);
    texts.BindToolTip(reset_, txt::kResetButtonTip);
    connect(reset_, &CImageButton::clicked, this, &FunctionMenuPanel::resetClicked);

    for (int i = 0; i < kFunctionRowCount; ++i) {
        labels_[i] = NewLabel(kRows[i].labelId, 13, false);
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
    return QRect(S(12), S(kHeaderHeight) + row * S(kRowHeight), width() - S(24), S(kRowHeight) - S(6));
}

void FunctionMenuPanel::Layout() {
    const int right = width() - S(kMargin);
    RefontLabel(caption_, 18, true);
    caption_->setGeometry(S(kMargin), S(20), right - S(kMargin) - S(40), S(32));
    reset_->setGeometry(right - S(32), S(20), S(32), S(32));
    const QFont controlFont = UiFont(qMax(1, S(13)), QFont::Normal);
    for (int i = 0; i < kFunctionRowCount; ++i) {
        const QRect row = RowRect(i);
        const int top = row.center().y() - S(kControlHeight) / 2;
        labels_[i]->setFont(controlFont);
        labels_[i]->setGeometry(S(kMargin), row.top(), S(kLabelWidth), row.height());
        QWidget* control =
            i < 6 ? static_cast<QWidget*>(menus_[i]) : (i == 6 ? keyOpen_ : (i == 7 ? clickOpen_ : fixed_));
        control->setFont(controlFont);
        control->setGeometry(S(kMargin + kLabelWidth), top, right - S(kMargin + kLabelWidth),
                             S(kControlHeight));
    }
    update();
}

void FunctionMenuPanel::paintEvent(QPaintEvent* event) {
    ButtonPanelCard::paintEvent(event);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
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
