#pragma once
// The DPI range of each sensor the mice carry and the conversion between DPI and the sensor's raw code.

#include <cstdint>

namespace quorvel {

struct SensorRange {
    int maxDpi = 26000;
    int step = 50;
    int sliderPositions = 520;
};

// Range for a sensor code; unknown codes get the widest common range.
SensorRange LookupSensor(int sensorCode);

// Clamps a DPI value to [step, maximum] of the sensor.
int ClampDpi(int sensorCode, int dpi);

// DPI -> raw code sent to the mouse (the value is clamped first).
int DpiToRaw(int sensorCode, int dpi);
// Raw code read back from the mouse -> DPI.
int RawToDpi(int sensorCode, int raw);

}  // namespace quorvel
