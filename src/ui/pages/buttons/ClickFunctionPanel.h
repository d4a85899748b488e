#pragma once
// The click-function panel of the button page: the two parameters of the click function, the count
// (second parameter, 0-255, 102) and the interval (first parameter, 5-255 ms, 105), with OK (106) and close
// (107). A number typed out of range is put back into it when the field is left.

#include "ui/pages/buttons/ButtonPanelCard.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace quorvel {

class CImageButton;
class TextRegistry;

class ClickFunctionPanel : public ButtonPanelCard {
    Q_OBJECT
public:
    ClickFunctionPanel(TextRegistry& texts, QWidget* parent);

    // Shown with the count 1 and the interval 5.
    void Open();
    void Close();

    // The numbers in the fields, clamped to their ranges.
    int First() const;   // interval, 5-255
    int Second() const;  // count, 0-255

signals:
    void okClicked();

private:
    CImageButton* close_ = nullptr;
    QLabel* title_ = nullptr;
    QLabel* secondLabel_ = nullptr;
    QLineEdit* second_ = nullptr;
    QLabel* firstLabel_ = nullptr;
    QLineEdit* first_ = nullptr;
    QLabel* unit_ = nullptr;
    QPushButton* ok_ = nullptr;
};

// The number in a field's text clamped to [low, high]; text that is no number reads as 0.
int ClampedFieldNumber(const QString& text, int low, int high);

}  // namespace quorvel
