#pragma once
// How the performance page turns a typed DPI value into one the sensor can take, and converts between
// DPI values and slider positions. All by the sensor code the mouse reported.

namespace quorvel {

struct DpiEntryLimits {
    int minimum;
    int maximum;
};

// The smallest and largest value a typed entry becomes on this sensor.
DpiEntryLimits DpiEntryRange(int sensorCode);

// A typed value rounded down to the sensor's step (above a threshold, to the threshold plus a multiple of
// the larger step) and then clamped to the sensor's range.
int RoundDpiEntry(int sensorCode, int value);

// Slider position of a DPI value, and the DPI value of a slider position (capped at the sensor's maximum).
// Positions run from 1 to the sensor's slider positions (SensorRange); every value the slider gives is
// shown at the position that gives it.
int DpiToSliderPosition(int sensorCode, int dpi);
int SliderPositionToDpi(int sensorCode, int position);

}  // namespace quorvel
