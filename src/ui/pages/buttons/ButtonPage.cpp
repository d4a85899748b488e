#include "ui/pages/buttons/ButtonPage.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPointer>

#include "actions/ButtonActions.h"
#include "device/DeviceView.h"
#include "device/PageState.h"
#include "store/ButtonCodes.h"
#include "ui/common/DesignLayout.h"
#include "ui/common/PageHost.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiRect.h"
#include "ui/common/UiText.h"
#include "ui/dialogs/CUIMessageBox.h"
#include "ui/pages/buttons/ButtonPageIds.h"
#include "ui/pages/buttons/ButtonPicturePanel.h"
#include "ui/pages/buttons/ClickFunctionPanel.h"
#include "ui/pages/buttons/FunctionMenuPanel.h"
#include "ui/pages/buttons/KeyCombinationPanel.h"

namespace quorvel {

namespace {

// Design geometry of the page (1180 x 658 at 1x): the buttons on the left, the function area at the right
// edge, an open panel centred in the picture's card (which ends where the function area's gap starts)
// above its bottom margin.
constexpr QSize kDesignSize(1180, 658);
constexpr QRect kButtonsAt(0, 0, 814, 658), kFunctionsAt(830, 0, 350, 658), kPanelAt(334, 412, 460, 230);
constexpr int kPanelMargin = 16;

constexpr EdgeRules kButtonsRules{Scaled(), Scaled(), Scaled(Anchor::Far), Scaled(Anchor::Far)};
constexpr EdgeRules kFunctionsRules{Scaled(Anchor::Far), Scaled(), Scaled(Anchor::Far), Scaled(Anchor::Far)};
constexpr EdgeRules kPanelRules{Scaled(Anchor::Centre), Scaled(Anchor::Far), Scaled(Anchor::Size),
                                Scaled(Anchor::Size)};

FunctionRow RowOfType(int macroType) {
    switch (macroType) {
        case kMouseFunction:
            return FunctionRow::Mouse;
        case kMediaFunction:
            return FunctionRow::Media;
        case kMacroFunction:
            return FunctionRow::Macro;
        case kShortcutFunction:
            return FunctionRow::Shortcut;
        case kDpiFunction:
            return FunctionRow::Dpi;
        case kSpecialFunction:
            return FunctionRow::Special;
        case kKeyboardKey:
            return FunctionRow::Key;
        case kClickFunction:
            return FunctionRow::Click;
        case kFixedFunction:
            return FunctionRow::Fixed;
        default:
            return FunctionRow::Mouse;
    }
}

}  // namespace

bool ButtonPage::RefreshesOn(unsigned pages) const {
    return pages & kPageButtons;
}

ButtonPage::ButtonPage(PageHost& host, QWidget* parent) : Page(host, parent) {
    setObjectName(QStringLiteral("ButtonPage"));
    TextRegistry& texts = host.Texts();
    buttons_ = new ButtonPicturePanel(texts, this);
    functions_ = new FunctionMenuPanel(texts, this);
    keyPanel_ = new KeyCombinationPanel(texts, this);
    clickPanel_ = new ClickFunctionPanel(texts, this);
    // The caption of the chosen button is a button's language text (text 103 for the placeholders).
    texts.BindComposed(
        functions_->findChild<QWidget*>(ControlName(button_page::kCaption)), {txt::kButtonWord},
        [this] { return buttons_->CaptionAt(buttons_->Selected()); },
        [this](const QString& s) { functions_->SetCaption(s); });

    connect(buttons_, &ButtonPicturePanel::buttonPicked, this, &ButtonPage::ChooseButton);
    connect(buttons_, &ButtonPicturePanel::resetAllClicked, this, &ButtonPage::ResetAllButtons);
    connect(functions_, &FunctionMenuPanel::menuChosen, this, &ButtonPage::ChooseFromMenu);
    connect(functions_, &FunctionMenuPanel::keyCombinationClicked, this, &ButtonPage::OpenKeyCombination);
    connect(functions_, &FunctionMenuPanel::clickFunctionClicked, this, &ButtonPage::OpenClickFunction);
    connect(functions_, &FunctionMenuPanel::fixedFunctionClicked, this, &ButtonPage::StoreFixedFunction);
    connect(functions_, &FunctionMenuPanel::resetClicked, this, &ButtonPage::ResetChosenButton);
    keyPanel_->installEventFilter(this);
    clickPanel_->installEventFilter(this);
    connect(keyPanel_, &KeyCombinationPanel::okClicked, this, &ButtonPage::StoreKeyCombination);
    connect(clickPanel_, &ClickFunctionPanel::okClicked, this, &ButtonPage::StoreClickFunction);
    // Captions, descriptions and menu items are language texts too.
    connect(&LanguageNotifier::Instance(), &LanguageNotifier::LanguageChanged, this, [this] {
        Redescribe();
        FillMenus();
        ShowStoredFunction();
    });

    layout_ = new DesignLayout(this, kDesignSize);
    layout_->Add(buttons_, kButtonsAt, kButtonsRules);
    layout_->Add(functions_, kFunctionsAt, kFunctionsRules);
    layout_->Add(keyPanel_, kPanelAt, kPanelRules);
    layout_->Add(clickPanel_, kPanelAt, kPanelRules);

    modelImage_ = QString::fromStdString(host.Actions().core.Snapshot().model.mouse_img);
    UISize(host.LayoutScale());
    Rebuild();
    Refresh();
}

void ButtonPage::Refresh() {
    FillMenus();
    Redescribe();
    buttons_->Select(0);
    ChooseButton(buttons_->Selected());
}

void ButtonPage::ModelLoaded(const ModelState& model) {
    modelImage_ = QString::fromStdString(model.mouse_img);
    Rebuild();
    Refresh();
}

void ButtonPage::UISize(qreal scale) {
    if (scale <= 0) return;
    layout_->SetScale(scale);
    buttons_->SetScale(scale);
    functions_->SetScale(scale);
    keyPanel_->SetScale(scale);
    clickPanel_->SetScale(scale);
    KeepRoomForPanels();
}

void ButtonPage::CloseTransient() {
    keyPanel_->Close();
    clickPanel_->Close();
    for (int i = 0; i < 6; ++i) {
        if (QComboBox* menu = functions_->Menu(static_cast<FunctionRow>(i))) menu->hidePopup();
    }
}

void ButtonPage::MacrosChanged() {
    FillMenus();
    Redescribe();
    ShowStoredFunction();
}

void ButtonPage::showEvent(QShowEvent* event) {
    Page::showEvent(event);
    MacrosChanged();
}

void ButtonPage::resizeEvent(QResizeEvent*) {
    KeepRoomForPanels();
}

void ButtonPage::KeepRoomForPanels() {
    const bool open = keyPanel_->isVisibleTo(this) || clickPanel_->isVisibleTo(this);
    buttons_->KeepFree(open ? keyPanel_->height() + layout_->Length(kPanelMargin) : 0);
}

bool ButtonPage::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == keyPanel_ || watched == clickPanel_) &&
        (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent))
        KeepRoomForPanels();
    return Page::eventFilter(watched, event);
}

std::vector<ShownButton> ButtonPage::Buttons() {
    ActionContext& ctx = Host().Actions();
    const ModelState model = ctx.core.Snapshot().model;
    std::vector<ShownButton> shown;
    for (const ButtonInfo& info : ListButtons(ctx)) {
        ShownButton b;
        b.keyCode = info.keyCode;
        b.caption = QString::fromStdString(info.caption);
        b.description = QString::fromStdString(info.description);
        for (const DescriptorKey& key : model.keys) {
            if (key.key_value != info.keyCode) continue;
            b.onPicture = true;
            b.direction = key.direction;
            b.first = QPoint(key.x1, key.y);
            b.second = QPoint(key.x2, key.y);
            break;
        }
        shown.push_back(std::move(b));
    }
    return shown;
}

void ButtonPage::Rebuild() {
    buttons_->SetImage(modelImage_.isEmpty() ? QString() : QStringLiteral("device\\") + modelImage_);
    buttons_->SetButtons(Buttons());
}

void ButtonPage::Redescribe() {
    buttons_->Retext(Buttons());
    functions_->SetCaption(buttons_->CaptionAt(buttons_->Selected()));
}

void ButtonPage::FillMenus() {
    ActionContext& ctx = Host().Actions();
    for (int i = 0; i < 6; ++i) {
        const auto row = static_cast<FunctionRow>(i);
        std::vector<FunctionMenuPanel::Item> items;
        for (const MenuItem& m : FunctionMenu(ctx, FunctionMenuPanel::TypeOf(row)))
            items.push_back({m.value, QString::fromStdString(m.text)});
        functions_->SetMenu(row, items);
    }
}

void ButtonPage::ChooseButton(int index) {
    functions_->setVisible(index >= 0);
    if (index < 0) return;
    selectedKeyCode_ = buttons_->KeyCodeAt(index);
    Host().Actions().core.SetCurrentKeySlot(selectedKeyCode_);
    functions_->SetCaption(buttons_->CaptionAt(index));
    ShowKeyFunction();
}

void ButtonPage::ShowKeyFunction() {
    keyPanel_->Close();
    clickPanel_->Close();
    ShowStoredFunction();
}

void ButtonPage::ShowStoredFunction() {
    functions_->ShowNoValue();
    // A button without a stored function shows its factory function.
    for (const ButtonInfo& info : ListButtons(Host().Actions())) {
        if (info.keyCode != selectedKeyCode_) continue;
        const FunctionRow row = RowOfType(info.macroType);
        if (FunctionMenuPanel::IsMenu(row))
            functions_->ShowValue(row, info.macroValue);
        else if (row == FunctionRow::Key)
            functions_->ShowKeyValue(QString::fromStdString(info.description));
        else if (row == FunctionRow::Click)
            functions_->ShowClickValue(info.macroValue, info.macroValue2);
        else if (row == FunctionRow::Fixed)
            functions_->ShowFixedValue();
        functions_->Mark(row);
        return;
    }
    functions_->Mark(FunctionRow::Mouse);
}

bool ButtonPage::MayChange() {
    if (!IsProtectedButton(selectedKeyCode_)) return true;
    Notice(txt::kLeftButtonProtected);
    return false;
}

bool ButtonPage::Apply(const ActionResult& result, int refusal) {
    if (!result.ok) {
        // The action's own message is for the command line; the page says it in the user's language.
        Notice(refusal);
        ShowStoredFunction();  // the area goes back to what the button does
        return false;
    }
    Host().Queue(result);
    Redescribe();
    ShowStoredFunction();
    return true;
}

int ButtonPage::MacroRefusal(const ActionResult& result, int macroId) {
    ActionContext& ctx = Host().Actions();
    if (result.message == ctx.Text(txt::kMacroTooLong)) return txt::kMacroTooLong;
    for (const MenuItem& m : FunctionMenu(ctx, kMacroFunction)) {
        if (m.value == macroId) return txt::kNotSaved;
    }
    return txt::kMacroGone;
}

void ButtonPage::Notice(const UiText& message) {
    OpenMessageBox(Host().Window(), txt::kButtonNotice, message, kBoxOk, nullptr);
}

void ButtonPage::ChooseFromMenu(int macroType, int value) {
    if (!MayChange()) {
        ShowStoredFunction();
        return;
    }
    keyPanel_->Close();
    clickPanel_->Close();
    const ActionResult result = AssignMenuFunction(Host().Actions(), selectedKeyCode_, macroType, value);
    Apply(result, macroType == kMacroFunction ? MacroRefusal(result, value) : txt::kNotSaved);
}

void ButtonPage::OpenKeyCombination() {
    if (!MayChange()) return;
    clickPanel_->Close();
    keyPanel_->Open();
}

void ButtonPage::StoreKeyCombination() {
    if (!MayChange()) return;
    const int virtualKey = keyPanel_->CapturedVirtualKey();
    const int modifiers = keyPanel_->ModifierBits();
    if (virtualKey == 0 && modifiers == 0) {
        keyPanel_->KeyField()->setFocus(Qt::OtherFocusReason);  // nothing to store: ready for a key
        return;
    }
    const std::optional<std::string> name =
        virtualKey != 0 ? std::optional<std::string>(keyPanel_->CapturedName().toStdString()) : std::nullopt;
    const bool unsendable = virtualKey != 0 && VirtualKeyToUsage(virtualKey) == 0;
    Apply(AssignKeyCombination(Host().Actions(), selectedKeyCode_, modifiers, virtualKey, name),
          unsendable ? txt::kNoKeyboardCode : txt::kNotSaved);
}

void ButtonPage::OpenClickFunction() {
    if (!MayChange()) return;
    keyPanel_->Close();
    clickPanel_->Open();
}

void ButtonPage::StoreClickFunction() {
    if (!MayChange()) return;
    Apply(
        AssignClickFunction(Host().Actions(), selectedKeyCode_, clickPanel_->First(), clickPanel_->Second()),
        txt::kNotSaved);
}

void ButtonPage::StoreFixedFunction() {
    if (!MayChange()) {
        ShowStoredFunction();  // the click checked the button
        return;
    }
    keyPanel_->Close();
    clickPanel_->Close();
    Apply(AssignFixedFunction(Host().Actions(), selectedKeyCode_), txt::kNotSaved);
}

void ButtonPage::ResetChosenButton() {
    const int keyCode = selectedKeyCode_;  // the button the question was asked for
    const QString question = Text(txt::kResetButtonQuestion)
                                 .replace(QStringLiteral("%s"), buttons_->CaptionAt(buttons_->Selected()));
    QPointer<ButtonPage> self(this);
    OpenMessageBox(
        Host().Window(), txt::kResetButtonTitle, question, kBoxOkCancel, [this, self, keyCode](int answer) {
            if (!self || !IsConsent(answer)) return;
            if (Apply(ResetButton(Host().Actions(), keyCode), txt::kNotSaved) && keyCode == selectedKeyCode_)
                ShowKeyFunction();
        });
}

void ButtonPage::ResetAllButtons() {
    QPointer<ButtonPage> self(this);
    OpenMessageBox(Host().Window(), txt::kResetButtonsTitle, txt::kResetAllQuestion, kBoxOkCancel,
                   [this, self](int answer) {
                       if (!self || !IsConsent(answer)) return;
                       buttons_->Select(0);
                       ChooseButton(buttons_->Selected());
                       Apply(quorvel::ResetAllButtons(Host().Actions()), txt::kNotSaved);
                       ShowKeyFunction();
                   });
}

}  // namespace quorvel
