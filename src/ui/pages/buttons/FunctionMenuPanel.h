#pragma once
// The function area of the button page: the chosen button's caption (70) with its reset (71), one menu
// per function family (mouse 73, multimedia 75, macro 77, shortcut 79, DPI 81, special 83) and the buttons
// that open the key-combination (85) and click-function (87) panels and set the fixed function (89). Only
// the row of the button's current function is marked and shows a value; the others show their placeholder,
// so no row seems to say what the button does when it does something else.

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
    // Every row back to its placeholder: no menu item chosen, the buttons named by what they do.
    void ShowNoValue();
    // The value of the row holding the function: a menu's item (false when the menu has none), the key
    // combination's text, the click function's interval (ms) and count, the fixed function set.
    bool ShowValue(FunctionRow row, int value);
    void ShowKeyValue(const QString& combination);
    void ShowClickValue(int interval, int count);
    void ShowFixedValue();
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
    void paintEvent(QPaintEvent* event) override;

private:
    QRect RowRect(int row) const;
    QString Placeholder(int menu) const;
    QString KeyButtonText() const;
    QString ClickButtonText() const;

    QLabel* caption_ = nullptr;
    CImageButton* reset_ = nullptr;
    std::array<QLabel*, kFunctionRowCount> labels_{};
    std::array<QComboBox*, 6> menus_{};
    QPushButton* keyOpen_ = nullptr;
    QPushButton* clickOpen_ = nullptr;
    QPushButton* fixed_ = nullptr;
    FunctionRow marked_ = FunctionRow::Mouse;
    QString keyValue_;
    int clickInterval_ = 0;  // 0: the row holds no click function
    int clickCount_ = 0;
};

}  // namespace quorvel
