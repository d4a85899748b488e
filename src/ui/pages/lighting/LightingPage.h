#pragma once
// The lighting page (tab 5, container 54): the lighting modes of the current profile, and for the mode
// shown its brightness, speed and colours. Which of these a mode offers is its row's config_func; on a
// feature-family mouse no colour section is shown. Every change is stored through the lighting actions and
// sent with the lighting task (8); changes made while that task still waits for the same mode are sent by
// one more task once it ends, not by one task per keystroke.

#include <QPointer>
#include <cstdint>
#include <functional>

#include "actions/LightingActions.h"
#include "ui/common/Page.h"

class QComboBox;
class QLabel;

namespace quorvel {

class CImageButton;
class DesignLayout;
class LightColours;
class LightSlider;
class MPicture;

class LightingPage : public Page {
    Q_OBJECT
public:
    // Control ids (objectName "id<n>"); the colour controls are LightColours'.
    enum Id {
        kBackground = 192,
        kTitle = 194,
        kModeArea = 195,
        kModeLabel = 196,
        kModeList = 197,
        kSettingsPanel = 198,
        kColourPanel = 199,
        kSettingsCaption = 200,
        kReset = 201,
        kBrightnessValue = 203,
        kBrightness = 204,
        kSpeedValue = 206,
        kSpeed = 207,
    };
    // Page background heights (design pixels) by what the mode shows.
    static constexpr int kWidth = 500;
    static constexpr int kHeightColour = 658;
    static constexpr int kHeightSettings = 430;
    static constexpr int kHeightModesOnly = 170;

    LightingPage(PageHost& host, QWidget* parent);

    void Refresh() override;
    void ModelLoaded(const ModelState& model) override;
    void UISize(qreal scale) override;
    bool RefreshesOn(unsigned pages) const override;
    // A lighting task ended (the page queued it or not).
    void TaskFinished(uint64_t id, const DeviceTaskRequest& request, const TaskResult& result);

    // The mode shown (the current lighting mode), and the config_func bits the page shows for it (after the
    // feature family's colour sections are taken away).
    int CurrentMode() const { return mode_; }
    int ShownSections() const { return sections_; }

    // The colour picker the preview opens (MousePaletteDlg::Pick unless a test sets another); it returns
    // the chosen colour, or 0 when cancelled.
    using ColourPicker = std::function<int(QWidget* owner, int colour)>;
    void SetColourPicker(ColourPicker picker) { picker_ = std::move(picker); }

    // "Brightness: 50%" for brightness 2 (4 and anything else outside 0-3: 100%); "Speed: 3".
    static QString BrightnessText(int brightness);
    static QString SpeedText(int speed);

private:
    void Build();
    void DeclareGeometry();
    void FitBackground();
    // Shows the mode's row: sliders, colour slots, the sections its bits name.
    void ShowMode(const LightModeRecord& row);
    void ShowSections(int sections);
    void ClearModes();
    void RetextModes();

    void ChooseMode(int index);
    void BrightnessReleased(int position);
    void SpeedReleased(int position);
    void ApplyColour(int colour);
    void PickColour();
    void AskReset();
    // Queues the lighting task of an accepted change, or marks it for one more run when the same request is
    // still waiting.
    void QueueLighting(const ActionResult& result);
    // The row of the mode shown, when the profile has one.
    bool CurrentRow(LightModeRecord* row);
    bool FeatureFamily();

    qreal scale_ = 1.0;
    DesignLayout* layout_ = nullptr;
    int mode_ = -1;
    int rowSections_ = 0;  // config_func of the row shown
    int sections_ = 0;     // what the page shows of it
    int brightness_ = 4;
    int speed_ = 2;
    std::vector<int> modeTexts_;  // the language text of each list entry
    ColourPicker picker_;

    bool light_ = false;      // the model has lighting
    uint64_t pendingId_ = 0;  // the lighting task queued last, until it ends
    DeviceTaskRequest pendingRequest_;
    bool followUp_ = false;  // changed again while it waited

    MPicture* background_ = nullptr;
    QLabel* title_ = nullptr;
    CImageButton* reset_ = nullptr;
    MPicture* modeArea_ = nullptr;
    QLabel* modeLabel_ = nullptr;
    QComboBox* modes_ = nullptr;
    MPicture* settingsPanel_ = nullptr;
    QLabel* settingsCaption_ = nullptr;
    QLabel* brightnessValue_ = nullptr;
    LightSlider* brightnessSlider_ = nullptr;
    QLabel* speedValue_ = nullptr;
    LightSlider* speedSlider_ = nullptr;
    MPicture* colourPanel_ = nullptr;
    LightColours* colours_ = nullptr;
};

}  // namespace quorvel
