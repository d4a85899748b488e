#pragma once
// The key dialog of the macro editor's insert menu: a key field that captures whatever key is pressed or
// released there (modifiers, Tab, Enter and Escape included) and shows its name, and an OK button. OK ends
// it with 1, the close button (or a close from outside) with 2; the captured key is read afterwards.
// Opened window-modal without a nested event loop: the caller waits for finished().

#include <optional>

#include "store/KeyCapture.h"
#include "ui/common/SkinnedDialog.h"

class QLineEdit;

namespace quorvel {

class KeyCaptureFilter;

class RecordEditDlg : public SkinnedDialog {
    Q_OBJECT
public:
    // Control ids (objectName "id<n>").
    enum Id { kTitle = 31, kClose = 32, kLabel = 33, kKeyField = 34, kOk = 35 };
    static constexpr QSize kDesignSize{360, 150};

    explicit RecordEditDlg(QWidget* owner);

    // The last key captured; empty before the first.
    const std::optional<CapturedKey>& Key() const { return key_; }
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* field_ = nullptr;
    KeyCaptureFilter* capture_ = nullptr;
    std::optional<CapturedKey> key_;
};

}  // namespace quorvel
