#pragma once
// A colour swatch button (presets, colour slots). Buttons that share a group name under the same parent
// behave as one choice: a click checks the clicked one and unchecks the others, and a checked one stays
// checked when clicked again. Without a group a click only reports (clicked). Colours are stored values.

#include <QAbstractButton>

namespace quorvel {

class CColorButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit CColorButton(QWidget* parent = nullptr);
    CColorButton(int colour, const QString& group, QWidget* parent = nullptr);

    void SetColor(int colour);
    int GetColor() const { return colour_; }
    void SetGroup(const QString& group);
    QString Group() const { return group_; }
    bool GetCheck() const { return isChecked(); }
    // Unchecks the others of the group when checking.
    void SetCheck(bool checked);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void nextCheckState() override;

private:
    void UncheckSiblings();

    int colour_ = 0;
    QString group_;
};

}  // namespace quorvel
