#pragma once
// The colour controls of the lighting page: the row of seven colour slots (a mode with several colours),
// and the single-colour section with eight preset colours, the palette, the preview and the red, green and
// blue edits. They only show and report: a colour the user chose (a preset, a palette pick, an edit) comes
// out as colourChosen, and the page stores it. Colours are stored values (R + 256*G + 65536*B).

#include <QObject>
#include <array>

class QLabel;
class QLineEdit;
class QWidget;

namespace quorvel {

class PanelGeometry;
class CColorButton;
class MPalette;
class MPicture;
class TextRegistry;

class LightColours : public QObject {
    Q_OBJECT
public:
    // Control ids (objectName "id<n>"), children of the page.
    enum Id {
        kPresetLabel = 208,
        kFirstPreset = 209,  // 209-216
        kSlotLabel = 217,
        kFirstSlot = 218,  // 218-224
        kPaletteLabel = 225,
        kPalette = 226,
        kPreview = 227,
        kRedLabel = 228,
        kRed = 231,  // 231 green, 232 blue follow
    };
    static constexpr int kPresets = 8;
    static constexpr int kSlots = 7;
    static constexpr std::array<int, kPresets> kPresetColours = {0x0000FF, 0xFF00F0, 0xFF0C00, 0xFCFF00,
                                                                 0x06FF00, 0x00DEFF, 0x0048FF, 0xFFFFFF};
    static constexpr int kPreviewStart = 0xD027FB;

    LightColours(QWidget* page, TextRegistry& texts);

    // Declares the slot row and the single-colour section to the page's panel geometry (page design
    // coordinates).
    void Declare(const PanelGeometry& panel);
    void ShowSlots(bool shown);
    void ShowSingleColour(bool shown);

    // The slots take the row's seven colours and the first is checked.
    void LoadSlots(const int (&colours)[kSlots]);
    // The checked slot, 1-7; 0 when none is.
    int CheckedSlot() const;
    void SetSlotColour(int slot, int colour);

    // The edits show the colour's red, green and blue.
    void ShowInEdits(int colour);
    void SetPreview(int colour);
    int PreviewColour() const { return preview_; }

signals:
    void colourChosen(int colour);
    void previewClicked();

private:
    void PresetClicked(int index);
    void PaletteMoved(int colour, bool picked);
    void EditChanged(int channel);

    int preview_ = kPreviewStart;
    QLabel* slotLabel_ = nullptr;
    std::array<CColorButton*, kSlots> slots_{};
    QLabel* presetLabel_ = nullptr;
    std::array<CColorButton*, kPresets> presets_{};
    QLabel* paletteLabel_ = nullptr;
    MPalette* palette_ = nullptr;
    CColorButton* previewButton_ = nullptr;
    std::array<QLabel*, 3> channelLabels_{};
    std::array<QLineEdit*, 3> edits_{};
};

}  // namespace quorvel
