#pragma once
// The key-combination panel of the button page (container 51): a key field that captures the next key
// pressed while it has the focus (93), the four modifier toggles Ctrl, Win, Alt and Shift (94-97), OK (98)
// and close (91). The field ignores the Shift, Ctrl and Alt keys themselves (the toggles give modifiers);
// every other key, Tab, Enter and Escape included, is captured when pressed and shown by its name, and the
// modifiers held with it switch their toggles on (Ctrl+C typed is Ctrl+C).

#include <QString>

#include "ui/pages/buttons/ButtonPanelCard.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace quorvel {

class CImageButton;
class KeyCaptureFilter;
class TextRegistry;
struct CapturedKey;

class KeyCombinationPanel : public ButtonPanelCard {
    Q_OBJECT
public:
    KeyCombinationPanel(TextRegistry& texts, QWidget* parent);

    // Shown with no key captured, an empty field and every toggle off.
    void Open();
    void Close();

    // The key captured since the panel was opened or the field last took the focus: 0 and empty when none.
    int CapturedVirtualKey() const { return virtualKey_; }
    QString CapturedName() const { return name_; }
    // Modifier bits of the toggles: 0x01 Ctrl, 0x02 Shift, 0x04 Alt, 0x08 Win, or the right-hand bit
    // (0x10, 0x20, 0x40, 0x80) of a toggle that a right-hand modifier held with the key switched on.
    int ModifierBits() const;

    QLineEdit* KeyField() const { return field_; }
    KeyCaptureFilter* Capture() const { return capture_; }

signals:
    void okClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void ForgetKey();
    void Take(const CapturedKey& key);

    CImageButton* close_ = nullptr;
    QLabel* title_ = nullptr;
    QLineEdit* field_ = nullptr;
    KeyCaptureFilter* capture_ = nullptr;
    QPushButton* toggles_[4] = {};  // Ctrl, Win, Alt, Shift
    QPushButton* ok_ = nullptr;
    int virtualKey_ = 0;
    QString name_;
    int heldModifiers_ = 0;  // sided bits of the modifiers held with the key taken last
    int keyToggles_ = -1;    // the toggles a key switched on, until they are clicked; -1: none
};

}  // namespace quorvel
