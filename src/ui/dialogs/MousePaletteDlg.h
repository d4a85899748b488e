#pragma once
// The colour picker ("PaletteDlg"): a colour field, a preview, red/green/blue fields and eight preset
// colours, modal over its owner and starting from a colour. Apply ends it with the colour; the close
// button, Esc or a close from outside end it without one (0). Colours are stored values
// (R + 256*G + 65536*B), so pure black cannot be chosen: 0 means "no choice".

#include <array>
#include <functional>

#include "ui/common/SkinnedDialog.h"

class QLineEdit;

namespace quorvel {

class CColorButton;
class MPalette;
class MPicture;

class MousePaletteDlg : public SkinnedDialog {
    Q_OBJECT
public:
    // Control ids (objectName "id<n>"); the presets are 40 to 47.
    enum Id {
        kTitle = 30,
        kClose = 31,
        kPalette = 32,
        kPreview = 33,
        kRedLabel = 34,
        kGreenLabel = 35,
        kBlueLabel = 36,
        kRed = 37,
        kGreen = 38,
        kBlue = 39,
        kFirstPreset = 40,
        kApply = 48,
    };
    static constexpr QSize kDesignSize{330, 320};
    static constexpr std::array<int, 8> kPresets = {0x0000FF, 0xFF0000, 0x00FF00, 0x00FFFF,
                                                    0xFF00FF, 0xFFFF00, 0xFF00FF, 0xFFFFFF};

    MousePaletteDlg(QWidget* owner, int colour);

    // The colour chosen so far; 0 once the picker was closed without a choice.
    int Colour() const { return colour_; }

    // Modal, in a nested event loop: the chosen colour, or 0 when the picker was cancelled.
    static int Pick(QWidget* owner, int colour);
    // The same without a nested loop: `done` receives the colour (or 0) once the picker has closed.
    static void Open(QWidget* owner, int colour, std::function<void(int)> done);
    // Ends every open picker without a choice (the device situation changed). Returns how many were open.
    static int CloseAll();

    // Every way out but Apply: colour 0, result 2.
    void reject() override;

private:
    // The colour becomes current: the fields, the preview and (unless it came from there) the palette.
    void Take(int colour, bool fromPalette);
    void FieldEdited(QLineEdit* field);
    void UncheckPresets();

    int colour_ = 0;
    MPalette* palette_ = nullptr;
    MPicture* preview_ = nullptr;
    std::array<QLineEdit*, 3> fields_{};
    std::array<CColorButton*, 8> presets_{};
};

}  // namespace quorvel
