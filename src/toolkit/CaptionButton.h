#pragma once
// The window's caption buttons: close, minimise, maximise/restore and settings, each an image of the skin
// ("sysbtn_close.png", ...) with a drawn fallback. Close turns red under the pointer, as desktops do.

#include "toolkit/CImageButton.h"

namespace quorvel {

enum class CaptionKind { Close, Minimise, Maximise, Restore, Settings };

class CaptionButton : public CImageButton {
    Q_OBJECT
public:
    explicit CaptionButton(CaptionKind kind, QWidget* parent = nullptr);

    // The maximise button shows "restore" while the window is maximised.
    void SetKind(CaptionKind kind);
    CaptionKind Kind() const { return kind_; }

    static QString ImageName(CaptionKind kind);

private:
    CaptionKind kind_;
};

}  // namespace quorvel
