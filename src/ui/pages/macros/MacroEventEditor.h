#pragma once
// The event editor card of the macro page, under the event list: the kind of the chosen event and its
// value (a delay in ms, a key captured in the key field, or a mouse button), and the up and down buttons.
// Hidden behind a hint until an event is chosen. It only reports what the user set; the event list card
// stores it and shows the event again.

#include "actions/MacroEventActions.h"
#include "toolkit/CRecordList.h"
#include "ui/common/TextIds.h"
#include "ui/pages/macros/MacroPanel.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace quorvel {

class CImageButton;
class KeyCaptureFilter;
class PageHost;

class MacroEventEditor : public MacroPanel {
    Q_OBJECT
public:
    MacroEventEditor(PageHost& host, QWidget* parent);

    // The chosen event (nullptr: none; the hint shows).
    void ShowEvent(const RecordItem* item);
    bool Showing() const { return showing_; }
    // Ends a key capture of the key field (the device situation changed).
    void EndCapture();

signals:
    // A new value for the chosen event: delay in ms, virtual key, or button bits.
    void valueChanged(int value);
    void moveRequested(MacroMove move);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Kind { None, Delay, Key, Button };
    void SetKind(Kind kind);
    void DelayEdited();

    PageHost& host_;
    Kind kind_ = Kind::None;
    int value_ = 0;  // the chosen event's value as stored
    bool showing_ = false;
    int kindText_ = txt::kDelay;
    QLabel* hint_ = nullptr;
    QLabel* kindLabel_ = nullptr;
    QComboBox* kindBox_ = nullptr;
    QLabel* delayLabel_ = nullptr;
    QLabel* delayUnit_ = nullptr;
    QLabel* keyLabel_ = nullptr;
    QLineEdit* field_ = nullptr;
    QLabel* buttonLabel_ = nullptr;
    QComboBox* buttonBox_ = nullptr;
    CImageButton* up_ = nullptr;
    CImageButton* down_ = nullptr;
    KeyCaptureFilter* capture_ = nullptr;
    bool captured_ = false;
};

}  // namespace quorvel
