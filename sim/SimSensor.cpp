#include "sim/SimSensor.h"

namespace quorvel {

SimSensorRange SensorRangeOf(int sensor) {
    switch (sensor) {
    case 4: return {8000, 100};
    case 5: return {12000, 50};
    case 16:
    case 18: return {4800, 100};
    case 17: return {18000, 50};
    case 37: return {10000, 100};
    case 38: return {10000, 200};
    case 53: return {16000, 100};
    case 150: return {32000, 50};
    default: return {26000, 50};
    }
}

int SensorDpiToRaw(int sensor, int d) {
    switch (sensor) {
    case 4:
    case 16:
    case 18:
    case 53: return d / 100;
    case 5: return d <= 6400 ? d / 50 : (d - 6400) / 100 + 128;
    case 17:
        if (d <= 10000) return d / 50;
        if (d < 13000) return (d - 10000) / 100 + 200;
        return (d - 13000) / 1000 + 221;
    case 37: return d <= 5000 ? d / 100 : (d - 5000) / 500 + 50;
    case 38: return d <= 5000 ? d / 100 - 1 : (d - 5000) / 500 + 50;
    case 150: return d <= 26000 ? d / 50 - 1 : (d - 26000) / 1000 + 519;
    default: return d / 50 - 1;
    }
}

int SensorMinRaw(int sensor) { return SensorDpiToRaw(sensor, SensorRangeOf(sensor).step); }
int SensorMaxRaw(int sensor) { return SensorDpiToRaw(sensor, SensorRangeOf(sensor).maxDpi); }

}  // namespace quorvel
