#include "ui/pages/buttons/ButtonPicturePanel.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>

#include "toolkit/MouseCtrl.h"
#include "toolkit/MouseKeyCtrl.h"
#include "toolkit/Theme.h"
#include "ui/common/DesignLayout.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiRect.h"
#include "ui/common/UiText.h"
#include "ui/pages/buttons/ButtonPageIds.h"
#include "ui/pages/buttons/ButtonPanelCard.h"

namespace quorvel {

using namespace button_page;

namespace {

// Design geometry at 1x: the list's card and the picture's card side by side, 814 x 658 together.
constexpr QSize kDesignSize(814, 658);
constexpr QRect kListCard(0, 0, 300, 658), kPictureCard(316, 0, 498, 658);
// In the list's card: the title, the list, and Reset All at the bottom.
constexpr QRect kTitleAt(24, 16, 252, 28), kListAt(16, 56, 268, 530), kResetAllAt(16, 602, 268, 40);
constexpr int kTitlePx = 16, kResetAllPx = 13;
// In the picture's card: the picture, less what is kept free under it.
constexpr QRect kPictureAt(12, 12, 474, 634);
// The list's rows fit its height, between these design heights.
constexpr int kRowLow = 28, kRowHigh = 44;

constexpr EdgeRules kFullHeight{Scaled(), Scaled(), Scaled(), Scaled(Anchor::Far)};
constexpr EdgeRules kToRightAndBottom{Scaled(), Scaled(), Scaled(Anchor::Far), Scaled(Anchor::Far)};
constexpr EdgeRules kAtBottom{Scaled(), Scaled(Anchor::Far), Scaled(Anchor::Far), Scaled(Anchor::Size)};

}  // namespace

ButtonPicturePanel::ButtonPicturePanel(TextRegistry& texts, QWidget* parent)
    : QWidget(parent), layout_(new DesignLayout(this, kDesignSize)) {
    listCard_ = new ButtonPanelCard(kListCard.size(), this);
    pictureCard_ = new ButtonPanelCard(kPictureCard.size(), this);

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

    layout_->Add(listCard_, kListCard, kFullHeight);
    layout_->Add(pictureCard_, kPictureCard, kToRightAndBottom);
    DesignLayout& list = listCard_->Design();
    list.Add(title_, kTitleAt, kToRight, kTitlePx);
    list.Add(list_, kListAt, kToRightAndBottom);
    list.Add(resetAll_, kResetAllAt, kAtBottom, kResetAllPx);
    pictureCard_->Design().Add(picture_, kPictureAt, kToRightAndBottom);
    list_->installEventFilter(this);  // its rows follow its height
    FitRows();
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
    FitRows();
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
    layout_->SetScale(scale);
    listCard_->SetScale(scale);
    pictureCard_->SetScale(scale);
    FitRows();
}

void ButtonPicturePanel::KeepFree(int bottom) {
    DesignLayout& picture = pictureCard_->Design();
    if (bottom == picture.contentsMargins().bottom()) return;
    // The picture's box ends above the panel; the picture keeps its margin to the box.
    picture.setContentsMargins(0, 0, 0, bottom);
    picture.Place();
}

bool ButtonPicturePanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::Resize) FitRows();
    return QWidget::eventFilter(watched, event);
}

void ButtonPicturePanel::FitRows() {
    // Rows fit the card; they never grow taller than their design height.
    const DesignLayout& design = listCard_->Design();
    const int rows = qMax(1, list_->GetItemCount());
    list_->SetItemHeight(qBound(design.Length(kRowLow), list_->height() / rows - 6, design.Length(kRowHigh)));
}

}  // namespace quorvel
