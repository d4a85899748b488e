#pragma once
// The mouse's own view of its sensor: the DPI range and the raw codes the DPI command carries.

namespace quorvel {

struct SimSensorRange {
    int maxDpi = 26000;
    int step = 50;
};

SimSensorRange SensorRangeOf(int sensor);
// DPI -> raw code as the mouse expects it in a DPI command.
int SensorDpiToRaw(int sensor, int dpi);
// The raw codes a DPI command may carry: those of [step, maximum DPI].
int SensorMinRaw(int sensor);
int SensorMaxRaw(int sensor);

}  // namespace quorvel
