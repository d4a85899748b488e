#include "ui/pages/buttons/ButtonPicturePanel.h"

#include <QLabel>
#include <QPushButton>

#include "toolkit/MouseCtrl.h"
#include "toolkit/MouseKeyCtrl.h"
#include "toolkit/Theme.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiFonts.h"
#include "ui/common/UiRect.h"
#include "ui/common/UiText.h"
#include "ui/pages/buttons/ButtonPageIds.h"
#include "ui/pages/buttons/ButtonPanelCard.h"

namespace quorvel {

using namespace button_page;

namespace {

constexpr int kListWidth = 300;  // the list card, at 1x
constexpr int kGap = 16;         // between the cards

}  // namespace

ButtonPicturePanel::ButtonPicturePanel(TextRegistry& texts, QWidget* parent) : QWidget(parent) {
    listCard_ = new ButtonPanelCard(this);
    pictureCard_ = new ButtonPanelCard(this);

    title_ = new QLabel(listCard_);
    title_->setObjectName(QStringLiteral("buttonsTitle"));
    QPalette bright = title_->palette();
    bright.setColor(QPalette::WindowText, palette::kText);
    title_->setPalette(bright);
    texts.BindText(title_, txt::kButtonsTab);

    list_ = new MouseKeyCtrl(listCard_);
    list_->setObjectName(ControlName(kButtonList));
    resetAll_ = new QPushButton(listCard_);
    resetAll_->setObjectName(ControlName(kResetAll));
    resetAll_->setFocusPolicy(Qt::TabFocus);
    texts.BindText(resetAll_, txt::kResetAll);

    picture_ = new MouseCtrl(pictureCard_);
    picture_->setObjectName(ControlName(kPicture));
    for (QWidget* named : {static_cast<QWidget*>(list_), static_cast<QWidget*>(picture_)})
        texts.Bind(named, txt::kButtonsTab, [named](const QString& s) { named->setAccessibleName(s); });

    // Each control follows the other's choice; the page hears of the user's pick once, as a list index.
    connect(list_, &MouseKeyCtrl::itemClicked, this, [this](int index) {
        picture_->SetSelectItem(PictureIndexOf(list_->GetItemKeyValue(index)));
        emit buttonPicked(index);
    });
    connect(picture_, &MouseCtrl::itemClicked, this, [this](int index) {
        const int listIndex = list_->IndexOfKey(picture_->GetItemKeyValue(index));
        list_->SetSelectItem(listIndex);
        emit buttonPicked(listIndex);
    });
    connect(resetAll_, &QPushButton::clicked, this, &ButtonPicturePanel::resetAllClicked);
    Layout();
}

void ButtonPicturePanel::SetImage(const QString& name) {
    picture_->SetImage(name);
}

int ButtonPicturePanel::PictureIndexOf(int keyCode) const {
    for (int i = 0; i < picture_->GetItemCount(); ++i) {
        if (picture_->GetItemKeyValue(i) == keyCode) return i;
    }
    return -1;
}

void ButtonPicturePanel::SetButtons(const std::vector<ShownButton>& buttons) {
    list_->DeleteAllItems();
    picture_->DeleteAllItems();
    for (const ShownButton& b : buttons) {
        list_->AddItem(b.caption, b.description, b.keyCode);
        if (b.onPicture) picture_->AddItem(b.caption, b.keyCode, b.direction, b.first, b.second);
    }
    Layout();
}

void ButtonPicturePanel::Retext(const std::vector<ShownButton>& buttons) {
    for (const ShownButton& b : buttons) {
        const int index = list_->IndexOfKey(b.keyCode);
        if (index < 0) continue;
        list_->SetItemKeyName(index, b.caption);
        list_->SetItemKeyDesc(b.keyCode, b.description);
        if (const int onPicture = PictureIndexOf(b.keyCode); onPicture >= 0)
            picture_->SetItemCaption(onPicture, b.caption);
    }
}

void ButtonPicturePanel::SetDescription(int keyCode, const QString& description) {
    list_->SetItemKeyDesc(keyCode, description);
}

int ButtonPicturePanel::Count() const {
    return list_->GetItemCount();
}

void ButtonPicturePanel::Select(int index) {
    list_->SetSelectItem(index);
    picture_->SetSelectItem(PictureIndexOf(list_->GetItemKeyValue(index)));
}

int ButtonPicturePanel::Selected() const {
    return list_->GetSelectItem();
}

int ButtonPicturePanel::KeyCodeAt(int index) const {
    return list_->GetItemKeyValue(index);
}

QString ButtonPicturePanel::CaptionAt(int index) const {
    return list_->GetItemKeyName(index);
}

QString ButtonPicturePanel::DescriptionOf(int keyCode) const {
    return list_->GetItemKeyDesc(list_->IndexOfKey(keyCode));
}

void ButtonPicturePanel::SetScale(qreal scale) {
    if (scale <= 0) return;
    scale_ = scale;
    listCard_->SetScale(scale);
    pictureCard_->SetScale(scale);
    Layout();
}

QRect ButtonPicturePanel::PictureCard() const {
    // From the panel's own size: the cards are placed only when the panel's resize reaches it.
    const int left = static_cast<int>(kListWidth * scale_) + static_cast<int>(kGap * scale_);
    return QRect(left, 0, qMax(0, width() - left), height());
}

void ButtonPicturePanel::KeepFree(int bottom) {
    if (bottom == keepFree_) return;
    keepFree_ = bottom;
    Layout();
}

void ButtonPicturePanel::resizeEvent(QResizeEvent*) {
    Layout();
}

void ButtonPicturePanel::Layout() {
    auto S = [this](qreal v) { return static_cast<int>(v * scale_); };
    const int listWidth = S(kListWidth);
    listCard_->setGeometry(0, 0, listWidth, height());
    pictureCard_->setGeometry(PictureCard());

    title_->setFont(UiFont(qMax(1, S(16))));
    title_->setGeometry(S(24), S(16), listWidth - S(48), S(28));
    const int buttonHeight = S(40);
    const int listTop = S(56);
    const int listBottom = height() - S(16) - buttonHeight - S(16);
    // Rows fit the card; they never grow taller than their design height.
    const int rows = qMax(1, list_->GetItemCount());
    const int rowHeight = qBound(S(28), (listBottom - listTop) / rows - 6, S(44));
    list_->SetItemHeight(rowHeight);
    list_->setGeometry(S(16), listTop, listWidth - S(32), qMax(0, listBottom - listTop));
    resetAll_->setFont(UiFont(qMax(1, S(13))));
    resetAll_->setGeometry(S(16), height() - S(16) - buttonHeight, listWidth - S(32), buttonHeight);

    picture_->setGeometry(S(12), S(12), qMax(0, pictureCard_->width() - S(24)),
                          qMax(0, pictureCard_->height() - S(24) - keepFree_));
}

}  // namespace quorvel
