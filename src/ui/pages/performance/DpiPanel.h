#pragma once
// The DPI group of the performance page: up to six levels with their values and indicator colours, the
// active level, the slider of the active level's value, the number of levels, and the send and reset
// buttons. A click on a level makes it active; its value is typed in place or set with the slider; its
// colour comes from the colour picker.

#include "ui/pages/performance/PerformancePanel.h"

class QComboBox;
class QPushButton;

namespace quorvel {

class CImageButton;
class DPIControl;
class DPISlider;
struct PerformanceSettings;

class DpiPanel : public PerformancePanel {
    Q_OBJECT
public:
    enum Id {
        kTitle = 113,
        kHelp = 114,
        kReset = 115,
        kLevels = 116,
        kSlider = 117,
        kSend = 118,
        kCountLabel = 119,
        kCount = 120,
    };

    DpiPanel(PageHost& host, QWidget* parent);

    // The levels from the settings: count box, values and colours, the active level and the slider.
    void Load(const PerformanceSettings& settings);
    // The connected sensor's range: the slider's positions and the texts at its ends.
    void SetRange(int maxDpi, int sliderPositions, int sensorCode);
    // The mouse switched its active level (its DPI button) or its number of levels.
    void ShowActiveLevel(int level, int dpiValue, int sensorCode);
    void ShowCount(int count);
    // The device situation changed: a value being typed is dropped, the colour picker closes.
    void CloseTransient();

private:
    void LevelChosen(int level);
    void ValueTyped(int level, const QString& text);
    void ColourClicked(int level);
    void ApplyColour(int level, int colour);
    void SliderMoved(int position, bool released);
    void CountChosen(int index);
    void AskReset();
    void Rebuild(const PerformanceSettings& settings);
    void ShowSlider(int level);
    void SelectCount(int count);

    QLabel* title_;
    CImageButton* help_;
    CImageButton* reset_;
    DPIControl* levels_;
    DPISlider* slider_;
    QPushButton* send_;
    QLabel* countLabel_;
    QComboBox* count_;
    bool dragChanged_ = false;  // the slider stored a value since the drag began
};

}  // namespace quorvel
