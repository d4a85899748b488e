#pragma once
// The text button of the dialogs ("img_button.png" of the skin, stretched by its edges), drawn as a
// rounded accent button when the skin lacks it. A plain QPushButton otherwise: click, keyboard, focus.

#include <QPushButton>

namespace quorvel {

class DialogButton : public QPushButton {
    Q_OBJECT
public:
    explicit DialogButton(QWidget* parent = nullptr);

    // The image name of the skin ("img_button.png").
    void SetImage(const QString& name) {
        image_ = name;
        update();
    }
    // A secondary button (Cancel) is drawn quieter than the primary one.
    void SetPrimary(bool primary) {
        primary_ = primary;
        update();
    }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString image_ = QStringLiteral("img_button.png");
    bool primary_ = true;
};

}  // namespace quorvel
