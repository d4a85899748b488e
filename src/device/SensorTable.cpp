#include "device/SensorTable.h"

#include <algorithm>

namespace quorvel {

SensorRange LookupSensor(int sensorCode) {
    switch (sensorCode) {
        case 4: return {8000, 100, 80};
        case 5: return {12000, 50, 184};
        case 16: return {4800, 100, 48};
        case 17: return {18000, 50, 226};
        case 18: return {4800, 100, 48};
        case 37: return {10000, 100, 60};
        case 38: return {10000, 200, 59};
        case 53: return {16000, 100, 160};
        case 149: return {26000, 50, 520};
        case 150: return {32000, 50, 526};
        default: return {26000, 50, 520};
    }
}

int ClampDpi(int sensorCode, int dpi) {
    const SensorRange range = LookupSensor(sensorCode);
    return std::clamp(dpi, range.step, range.maxDpi);
}

int DpiToRaw(int sensorCode, int dpi) {
    const int d = ClampDpi(sensorCode, dpi);
    switch (sensorCode) {
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

int RawToDpi(int sensorCode, int raw) {
    const int r = raw;
    switch (sensorCode) {
        case 4:
        case 16:
        case 18:
        case 53: return r * 100;
        case 5: return r <= 128 ? r * 50 : (r - 64) * 100;
        case 17:
            if (r < 200) return r * 50;
            if (r <= 220) return (r - 100) * 100;
            return (r - 208) * 1000;
        case 37: return r < 50 ? r * 100 : (r - 40) * 500;
        // Sensors 38 and 150 decode as the exact inverse of the codes we send, so a value written and read
        // back stays the same (5000 stays 5000 on sensor 38, 32000 on sensor 150).
        case 38: return r < 50 ? (r + 1) * 100 : (r - 40) * 500;
        case 150: return r <= 519 ? r * 50 + 50 : (r - 493) * 1000;
        default: return r * 50 + 50;
    }
}

}  // namespace quorvel
