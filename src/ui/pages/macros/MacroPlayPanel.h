#pragma once
// The recording and play-settings card of the macro page: the Record / Stop button, how a recording puts
// delays between keys (none, measured, fixed with its edit) and how the mouse plays the macro (while held,
// until pressed again, a count with its edit). A click on a choice or the end of an edit stores the
// settings of the chosen macro at once.

#include "ui/pages/macros/MacroPanel.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quorvel {

class PageHost;
struct MacroRecord;

class MacroPlayPanel : public MacroPanel {
    Q_OBJECT
public:
    MacroPlayPanel(PageHost& host, QWidget* parent);

    // Shows the macro's settings (0: none; the defaults of a new macro are shown).
    void ShowMacro(int macroId);
    // The record button shows Stop; the settings are locked while recording.
    void SetRecording(bool recording);
    // The delay mode and fixed delay a recording uses (an empty fixed-delay field reads 10).
    int DelayMode() const;
    int FixedDelay();
    QPushButton* RecordButton() const { return record_; }

signals:
    void recordClicked();
    // The play settings of the macro were changed (stored).
    void settingsEdited(int macroId);

private:
    void ShowSettings(const MacroRecord& macro);
    void DelayChosen(int mode);
    void PlayChosen(int playType);
    void FixedDelayEdited();
    void PlayCountEdited();
    void Save();

    PageHost& host_;
    int macroId_ = 0;
    int countLimit_ = 999;
    bool recording_ = false;
    QPushButton* record_ = nullptr;
    QLabel* recordingHint_ = nullptr;
    QLabel* tip_ = nullptr;
    QRadioButton* delayNone_ = nullptr;
    QRadioButton* delayMeasured_ = nullptr;
    QRadioButton* delayFixed_ = nullptr;
    QLineEdit* fixedDelay_ = nullptr;
    QRadioButton* whileHeld_ = nullptr;
    QRadioButton* untilPressed_ = nullptr;
    QRadioButton* count_ = nullptr;
    QLineEdit* playCount_ = nullptr;
};

}  // namespace quorvel
