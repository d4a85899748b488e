#include "ui/pages/lighting/LightColours.h"

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include "toolkit/CColorButton.h"
#include "toolkit/MPalette.h"
#include "ui/common/PanelGeometry.h"
#include "ui/common/PanelLabel.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiRect.h"
#include "ui/common/UiText.h"

namespace quorvel {

namespace {

constexpr int kMaxChannel = 255;

int Channel(int colour, int channel) {
    return (colour >> (8 * channel)) & 0xFF;
}

}  // namespace

LightColours::LightColours(QWidget* page, TextRegistry& texts) : QObject(page) {
    slotLabel_ = NewPanelLabel(page, kSlotLabel, LabelTone::Caption);
    texts.BindText(slotLabel_, txt::kColours);
    // The slots are one choice, the presets another.
    auto* slotGroup = new QButtonGroup(this);
    auto* presetGroup = new QButtonGroup(this);
    for (int i = 0; i < kSlots; ++i) {
        auto* slot = new CColorButton(kPresetColours[i], QString(), page);
        slot->SetGroup(slotGroup);
        slot->setObjectName(ControlName(kFirstSlot + i));
        slots_[i] = slot;  // a click only selects the slot that the next colour goes to
    }

    presetLabel_ = NewPanelLabel(page, kPresetLabel, LabelTone::Caption);
    texts.BindText(presetLabel_, txt::kPresetColours);
    for (int i = 0; i < kPresets; ++i) {
        auto* preset = new CColorButton(kPresetColours[i], QString(), page);
        preset->SetGroup(presetGroup);
        preset->setObjectName(ControlName(kFirstPreset + i));
        connect(preset, &QAbstractButton::clicked, this, [this, i] { PresetClicked(i); });
        presets_[i] = preset;
    }

    paletteLabel_ = NewPanelLabel(page, kPaletteLabel, LabelTone::Caption);
    texts.BindText(paletteLabel_, txt::kCustomColour);
    palette_ = new MPalette(page);
    palette_->setObjectName(ControlName(kPalette));
    connect(palette_, &MPalette::colorChanging, this, [this](int colour) { PaletteMoved(colour, false); });
    connect(palette_, &MPalette::colorPicked, this, [this](int colour) { PaletteMoved(colour, true); });

    // The preview shows the colour applied last; a click opens the colour picker on it.
    previewButton_ = new CColorButton(page);
    previewButton_->setObjectName(ControlName(kPreview));
    previewButton_->SetColor(preview_);
    texts.BindToolTip(previewButton_, txt::kPreviewTip);
    connect(previewButton_, &QAbstractButton::clicked, this, &LightColours::previewClicked);

    const char* names[3] = {"R", "G", "B"};
    for (int c = 0; c < 3; ++c) {
        channelLabels_[c] = NewPanelLabel(page, kRedLabel + c, LabelTone::Caption);
        texts.BindText(channelLabels_[c], UiText(names[c]));
        auto* edit = new QLineEdit(QStringLiteral("255"), page);
        edit->setObjectName(ControlName(kRed + c));
        edit->setMaxLength(3);
        edit->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), edit));
        edit->setAlignment(Qt::AlignCenter);
        connect(edit, &QLineEdit::textEdited, this, [this, c] { EditChanged(c); });
        edits_[c] = edit;
    }
}

void LightColours::Declare(const PanelGeometry& panel) {
    // Swatches one every 40 design pixels; the slot row under the effect settings, the single colour in
    // the colour panel.
    constexpr int kLeft = 32, kSlotTop = 334, kTop = 440, kPitch = 40, kSwatch = 30;
    panel.Label(slotLabel_, kLeft, kSlotTop, 300, 22, 14);
    for (int i = 0; i < kSlots; ++i)
        panel.Add(slots_[i], kLeft + i * kPitch, kSlotTop + 28, kSwatch, kSwatch);

    panel.Label(presetLabel_, kLeft, kTop, 300, 22, 14);
    for (int i = 0; i < kPresets; ++i)
        panel.Add(presets_[i], kLeft + i * kPitch, kTop + 26, kSwatch, kSwatch);
    panel.Label(paletteLabel_, kLeft, kTop + 66, 300, 22, 14);
    panel.Add(palette_, kLeft, kTop + 92, 250, 108);
    panel.Add(previewButton_, kLeft + 266, kTop + 92, 64, 108);
    for (int c = 0; c < 3; ++c) {
        const int rowTop = kTop + 92 + 39 * c;
        panel.Label(channelLabels_[c], kLeft + 346, rowTop, 18, 30, 14);
        panel.Add(edits_[c], kLeft + 366, rowTop, 69, 30, 14, QFont::Normal);
    }
}

void LightColours::ShowSlots(bool shown) {
    slotLabel_->setVisible(shown);
    for (CColorButton* slot : slots_) slot->setVisible(shown);
}

void LightColours::ShowSingleColour(bool shown) {
    for (QWidget* w : std::initializer_list<QWidget*>{presetLabel_, paletteLabel_, palette_, previewButton_})
        w->setVisible(shown);
    for (CColorButton* preset : presets_) preset->setVisible(shown);
    for (int c = 0; c < 3; ++c) {
        channelLabels_[c]->setVisible(shown);
        edits_[c]->setVisible(shown);
    }
}

void LightColours::LoadSlots(const int (&colours)[kSlots]) {
    for (int i = 0; i < kSlots; ++i) slots_[i]->SetColor(colours[i]);
    slots_[0]->SetCheck(true);
}

int LightColours::CheckedSlot() const {
    for (int i = 0; i < kSlots; ++i) {
        if (slots_[i]->GetCheck()) return i + 1;
    }
    return 0;
}

void LightColours::SetSlotColour(int slot, int colour) {
    if (slot >= 1 && slot <= kSlots) slots_[slot - 1]->SetColor(colour);
}

void LightColours::ShowInEdits(int colour) {
    for (int c = 0; c < 3; ++c) edits_[c]->setText(QString::number(Channel(colour, c)));
}

void LightColours::SetPreview(int colour) {
    preview_ = colour;
    previewButton_->SetColor(colour);
}

void LightColours::PresetClicked(int index) {
    const int colour = presets_[index]->GetColor();
    ShowInEdits(colour);
    emit colourChosen(colour);
}

void LightColours::PaletteMoved(int colour, bool picked) {
    // A colour of the palette is no preset any more.
    for (CColorButton* preset : presets_) preset->SetCheck(false);
    ShowInEdits(colour);
    if (picked) emit colourChosen(colour);
}

void LightColours::EditChanged(int channel) {
    QLineEdit* edit = edits_[channel];
    const int typed = edit->text().toInt();  // empty reads 0
    const int clamped = qBound(0, typed, kMaxChannel);
    if (clamped != typed) edit->setText(QString::number(clamped));
    int colour = 0;
    for (int c = 0; c < 3; ++c) colour |= (edits_[c]->text().toInt() & 0xFF) << (8 * c);
    emit colourChosen(colour);
}

}  // namespace quorvel
