#pragma once
// The function area of the button page: the chosen button's caption (70) with its reset (71), one menu
// per function family (mouse 73, multimedia 75, macro 77, shortcut 79, DPI 81, special 83) and the buttons
// that open the key-combination (85) and click-function (87) panels and set the fixed function (89). The
// row of the button's current function is marked.

#include <QString>
#include <array>
#include <vector>

#include "ui/pages/buttons/ButtonPanelCard.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace quorvel {

class CImageButton;
class TextRegistry;

// The rows in the order shown; the first six are menus.
enum class FunctionRow { Mouse, Media, Macro, Shortcut, Dpi, Special, Key, Click, Fixed };
inline constexpr int kFunctionRowCount = 9;

class FunctionMenuPanel : public ButtonPanelCard {
    Q_OBJECT
public:
    struct Item {
        int value = 0;
        QString text;
    };

    FunctionMenuPanel(TextRegistry& texts, QWidget* parent);

    void SetCaption(const QString& caption);
    QString Caption() const;

    // The items of a menu row; keeps the item shown when its value is still there.
    void SetMenu(FunctionRow row, const std::vector<Item>& items);
    // Shows the item with this value (false when the menu has none), or the item at this position.
    bool ShowValue(FunctionRow row, int value);
    void ShowIndex(FunctionRow row, int index);
    // The row of the current function; only one is marked.
    void Mark(FunctionRow row);
    FunctionRow Marked() const { return marked_; }

    QComboBox* Menu(FunctionRow row) const;
    // The function type (macro_type) of a menu row.
    static int TypeOf(FunctionRow row);
    static bool IsMenu(FunctionRow row) { return static_cast<int>(row) < 6; }

signals:
    // A menu item chosen by the user (also when it is the one already shown).
    void menuChosen(int macroType, int value);
    void keyCombinationClicked();
    void clickFunctionClicked();
    void fixedFunctionClicked();
    void resetClicked();

protected:
    void Layout() override;
    void paintEvent(QPaintEvent* event) override;

private:
    QRect RowRect(int row) const;

    QLabel* caption_ = nullptr;
    CImageButton* reset_ = nullptr;
    std::array<QLabel*, kFunctionRowCount> labels_{};
    std::array<QComboBox*, 6> menus_{};
    QPushButton* keyOpen_ = nullptr;
    QPushButton* clickOpen_ = nullptr;
    QPushButton* fixed_ = nullptr;
    FunctionRow marked_ = FunctionRow::Mouse;
};

}  // namespace quorvel
