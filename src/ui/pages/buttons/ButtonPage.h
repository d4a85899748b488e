#pragma once
// The button assignment page (tab 2, container 50): the buttons of the mouse in a list and on its picture,
// the function area with a menu per function family, and the key-combination panel (container 51) and
// click-function panel it opens. Every change goes through the button actions (src/actions), the same the
// command line uses; the host queues the key task and shows the saving indicator. The primary button keeps
// its function: choosing another one for it shows a notice; the two resets still apply to it.

#include <QString>
#include <vector>

#include "ui/common/Page.h"

namespace quorvel {

class ButtonPicturePanel;
class ClickFunctionPanel;
class DesignLayout;
class FunctionMenuPanel;
class KeyCombinationPanel;
class UiText;
struct ActionResult;
struct ShownButton;

class ButtonPage : public Page {
    Q_OBJECT
public:
    ButtonPage(PageHost& host, QWidget* parent);

    // The first button chosen, every button described from the active profile, the menus filled and the
    // chosen button's function shown (after a read-back, a reset, a profile or language change).
    void Refresh() override;
    bool RefreshesOn(unsigned pages) const override;
    // The model's picture and buttons, from its descriptor; then as Refresh.
    void ModelLoaded(const ModelState& model) override;
    void UISize(qreal scale) override;
    // The panels and any open menu close.
    void CloseTransient() override;

    // The macros changed (made, renamed, deleted, imported): the macro menu and the descriptions follow.
    // Also done each time the page is shown, so the macro page need not call it.
    void MacrosChanged();

    // The button the function area shows (key code).
    int SelectedKeyCode() const { return selectedKeyCode_; }

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<ShownButton> Buttons();
    void Rebuild();
    void Redescribe();
    void FillMenus();
    void ChooseButton(int index);
    void ShowKeyFunction();
    void ShowStoredFunction();
    void KeepRoomForPanels();

    // A change of one button's function: false (with the notice) when the chosen button is protected.
    bool MayChange();
    // Queues an accepted result's tasks and shows the new description and function; a refusal is shown
    // as the notice `refusal` (a language text) and the function area shows what the button still does.
    bool Apply(const ActionResult& result, int refusal);
    int MacroRefusal(const ActionResult& result, int macroId);
    void Notice(const UiText& message);

    void ChooseFromMenu(int macroType, int value);
    void OpenKeyCombination();
    void StoreKeyCombination();
    void OpenClickFunction();
    void StoreClickFunction();
    void StoreFixedFunction();
    void ResetChosenButton();
    void ResetAllButtons();

    QString modelImage_;
    int selectedKeyCode_ = 0;
    DesignLayout* layout_ = nullptr;
    ButtonPicturePanel* buttons_ = nullptr;
    FunctionMenuPanel* functions_ = nullptr;
    KeyCombinationPanel* keyPanel_ = nullptr;
    ClickFunctionPanel* clickPanel_ = nullptr;
};

}  // namespace quorvel
