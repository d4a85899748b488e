#pragma once
// The colour picker ("PaletteDlg"): modal over its owner, starting from a colour. (Filled by the performance
// page's issue; the lighting page uses it too.)

class QWidget;

namespace quorvel {

class MousePaletteDlg {
public:
    // The chosen colour (R + 256*G + 65536*B), or 0 when the picker was cancelled.
    static int Pick(QWidget* owner, int colour);
};

}  // namespace quorvel
