#pragma once
// A colour swatch button (presets, colour slots). Buttons of one exclusive QButtonGroup are one choice: a
// click checks the clicked one and unchecks the others, and a checked one stays checked when clicked
// again. Without a group a click only reports (clicked). Colours are stored values.

#include <QAbstractButton>

class QButtonGroup;

namespace quorvel {

class CColorButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit CColorButton(QWidget* parent = nullptr);
    CColorButton(int colour, const QString& group, QWidget* parent = nullptr);

    void SetColor(int colour);
    int GetColor() const { return colour_; }
    // Joins an exclusive button group (the caller's; null leaves it): the button becomes checkable.
    void SetGroup(QButtonGroup* group);
    // Joins the group of that name under the parent, made on first use; empty: no group.
    void SetGroup(const QString& name);
    bool GetCheck() const { return isChecked(); }
    // Checking unchecks the others of the group; unchecking leaves the group without a choice.
    void SetCheck(bool checked);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int colour_ = 0;
};

}  // namespace quorvel
