#include "ui/pages/buttons/ClickFunctionPanel.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <algorithm>

#include "toolkit/CImageButton.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiRect.h"
#include "ui/common/UiText.h"
#include "ui/pages/buttons/ButtonPageIds.h"

namespace quorvel {

using namespace button_page;

namespace {

constexpr int kFirstLow = 5, kFirstHigh = 255, kSecondLow = 0, kSecondHigh = 255;

// Design geometry at 1x: the two rows, label, field and unit.
constexpr QRect kSecondLabelAt(24, 64, 120, 36), kSecondAt(144, 64, 110, 36);
constexpr QRect kFirstLabelAt(24, 112, 120, 36), kFirstAt(144, 112, 110, 36), kUnitAt(264, 112, 80, 36);

// Puts the clamped number back into the field when it differs from what was typed.
void ClampOnLeave(QLineEdit* edit, int low, int high) {
    QObject::connect(edit, &QLineEdit::editingFinished, edit, [edit, low, high] {
        const QString clamped = QString::number(ClampedFieldNumber(edit->text(), low, high));
        if (clamped != edit->text()) edit->setText(clamped);
    });
}

}  // namespace

int ClampedFieldNumber(const QString& text, int low, int high) {
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok);
    return static_cast<int>(std::clamp<qlonglong>(ok ? value : 0, low, high));
}

ClickFunctionPanel::ClickFunctionPanel(TextRegistry& texts, QWidget* parent)
    : ButtonPanelCard(kPanelDesign, parent) {
    setObjectName(QStringLiteral("ClickFunctionPanel"));
    close_ = new CImageButton(QString(), Glyph::Close, this);
    close_->setObjectName(ControlName(kClickClose));
    close_->setCursor(Qt::PointingHandCursor);
    texts.BindToolTip(close_, txt::kPanelCloseTip);
    connect(close_, &CImageButton::clicked, this, &ClickFunctionPanel::Close);

    title_ = NewLabel(kClickTitle, true);
    texts.BindText(title_, txt::kFireKey);
    secondLabel_ = NewLabel(kSecondLabel, false);
    texts.BindText(secondLabel_, txt::kClickCount);
    firstLabel_ = NewLabel(kFirstLabel, false);
    texts.BindText(firstLabel_, txt::kClickInterval);
    unit_ = NewLabel(kUnitLabel, false);
    texts.BindText(unit_, txt::kMs);

    // Digits (and a sign, so "-1" can be typed and put right); the range is applied on leaving.
    auto* digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?\\d{0,6}")), this);
    second_ = new QLineEdit(this);
    second_->setObjectName(ControlName(kSecondEdit));
    second_->setValidator(digits);
    first_ = new QLineEdit(this);
    first_->setObjectName(ControlName(kFirstEdit));
    first_->setValidator(digits);
    ClampOnLeave(second_, kSecondLow, kSecondHigh);
    ClampOnLeave(first_, kFirstLow, kFirstHigh);

    ok_ = new QPushButton(this);
    ok_->setObjectName(ControlName(kClickOk));
    texts.BindText(ok_, txt::kPanelOk);
    connect(ok_, &QPushButton::clicked, this, &ClickFunctionPanel::okClicked);

    DesignLayout& d = Design();
    d.Add(close_, kPanelClose, kSizedAtRight);
    d.Add(title_, kPanelTitle, kToRight, kPanelTitlePx);
    d.Add(secondLabel_, kSecondLabelAt, kScaledSizes, kPanelTextPx, QFont::Normal);
    d.Add(second_, kSecondAt, kScaledSizes, kPanelTextPx, QFont::Normal);
    d.Add(firstLabel_, kFirstLabelAt, kScaledSizes, kPanelTextPx, QFont::Normal);
    d.Add(first_, kFirstAt, kScaledSizes, kPanelTextPx, QFont::Normal);
    d.Add(unit_, kUnitAt, kScaledSizes, kPanelTextPx, QFont::Normal);
    d.Add(ok_, kPanelOk, kSizedAtCorner, kPanelTextPx);
    hide();
}

void ClickFunctionPanel::Open() {
    second_->setText(QStringLiteral("1"));
    first_->setText(QStringLiteral("5"));
    show();
    raise();
}

void ClickFunctionPanel::Close() {
    hide();
}

int ClickFunctionPanel::First() const {
    return ClampedFieldNumber(first_->text(), kFirstLow, kFirstHigh);
}

int ClickFunctionPanel::Second() const {
    return ClampedFieldNumber(second_->text(), kSecondLow, kSecondHigh);
}

}  // namespace quorvel
