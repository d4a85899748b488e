#pragma once
// The buttons of the mouse on the button page: the list of buttons with what each does (control 68) beside
// the picture of the mouse with its buttons (108), kept on the same choice, and "Reset All" (67) under the
// list. A button picked in either is reported once, with its index.

#include <QPoint>
#include <QString>
#include <QWidget>
#include <vector>

class QLabel;
class QPushButton;

namespace quorvel {

class ButtonPanelCard;
class DesignLayout;
class MouseCtrl;
class MouseKeyCtrl;
class TextRegistry;

// One button as the panel shows it.
struct ShownButton {
    int keyCode = 0;
    QString caption;
    QString description;
    // Leader line on the picture; a button without one (the placeholders before a model is known) is only
    // listed.
    bool onPicture = false;
    int direction = 0;
    QPoint first, second;
};

class ButtonPicturePanel : public QWidget {
    Q_OBJECT
public:
    ButtonPicturePanel(TextRegistry& texts, QWidget* parent);

    // A skin name ("device\QuorvelR2_mouse.png"); empty: the drawn mouse.
    void SetImage(const QString& name);
    // Replaces the buttons; nothing is chosen afterwards.
    void SetButtons(const std::vector<ShownButton>& buttons);
    // Captions and descriptions again (a language change, a stored assignment), in the same order.
    void Retext(const std::vector<ShownButton>& buttons);
    void SetDescription(int keyCode, const QString& description);

    int Count() const;
    void Select(int index);  // in both; -1 chooses nothing
    int Selected() const;
    int KeyCodeAt(int index) const;  // -1 for no such button
    QString CaptionAt(int index) const;
    QString DescriptionOf(int keyCode) const;

    void SetScale(qreal scale);
    // `bottom` pixels of the picture's card are kept free for a panel laid over it (the picture moves up
    // and shrinks to fit above).
    void KeepFree(int bottom);

signals:
    // The user picked a button in the list or on the picture.
    void buttonPicked(int index);
    void resetAllClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FitRows();
    int PictureIndexOf(int keyCode) const;  // -1 when the button is not on the picture

    DesignLayout* layout_;
    ButtonPanelCard* listCard_ = nullptr;
    ButtonPanelCard* pictureCard_ = nullptr;
    QLabel* title_ = nullptr;
    MouseKeyCtrl* list_ = nullptr;
    MouseCtrl* picture_ = nullptr;
    QPushButton* resetAll_ = nullptr;
};

}  // namespace quorvel
