#include "ui/pages/buttons/ClickFunctionPanel.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <algorithm>

#include "toolkit/CImageButton.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiFonts.h"
#include "ui/common/UiRect.h"
#include "ui/common/UiText.h"
#include "ui/pages/buttons/ButtonPageIds.h"

namespace quorvel {

using namespace button_page;

namespace {

constexpr int kFirstLow = 5, kFirstHigh = 255, kSecondLow = 0, kSecondHigh = 255;

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

ClickFunctionPanel::ClickFunctionPanel(TextRegistry& texts, QWidget* parent) : ButtonPanelCard(parent) {
    setObjectName(QStringLiteral("ClickFunctionPanel"));
    close_ = new CImageButton(QString(), Glyph::Close, this);
    close_->setObjectName(ControlName(kClickClose));
    close_->setCursor(Qt::PointingHandCursor);
    texts.BindToolTip(close_, txt::kPanelCloseTip);
    connect(close_, &CImageButton::clicked, this, &ClickFunctionPanel::Close);

    title_ = NewLabel(kClickTitle, 16, true);
    texts.BindText(title_, txt::kFireKey);
    secondLabel_ = NewLabel(kSecondLabel, 13, false);
    texts.BindText(secondLabel_, txt::kClickCount);
    firstLabel_ = NewLabel(kFirstLabel, 13, false);
    texts.BindText(firstLabel_, txt::kClickInterval);
    unit_ = NewLabel(kUnitLabel, 13, false);
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

void ClickFunctionPanel::Layout() {
    const int w = width(), m = S(24);
    close_->setGeometry(w - S(16) - S(28), S(14), S(28), S(28));
    RefontLabel(title_, 16, true);
    title_->setGeometry(m, S(14), w - 2 * m - S(28), S(28));
    const QFont font = UiFont(qMax(1, S(13)), QFont::Normal);
    const int labelWidth = S(120), editWidth = S(110), rowHeight = S(36);
    for (QLabel* label : {secondLabel_, firstLabel_, unit_}) label->setFont(font);
    for (QLineEdit* edit : {second_, first_}) edit->setFont(font);
    secondLabel_->setGeometry(m, S(64), labelWidth, rowHeight);
    second_->setGeometry(m + labelWidth, S(64), editWidth, rowHeight);
    firstLabel_->setGeometry(m, S(112), labelWidth, rowHeight);
    first_->setGeometry(m + labelWidth, S(112), editWidth, rowHeight);
    unit_->setGeometry(m + labelWidth + editWidth + S(10), S(112), S(80), rowHeight);
    ok_->setFont(UiFont(qMax(1, S(13))));
    ok_->setGeometry(w - m - S(120), height() - S(20) - S(36), S(120), S(36));
}

}  // namespace quorvel
