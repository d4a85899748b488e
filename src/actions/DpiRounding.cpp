#include "actions/DpiRounding.h"

#include <algorithm>

namespace quorvel {

namespace {

// Entry rounding of a sensor: below `threshold` values step by `step`; from there up to `threshold2` by
// `step2`, and above `threshold2` by `step3` (thresholds of 0 mean a single step).
struct EntryRule {
    int minimum;
    int maximum;
    int step;
    int threshold = 0;
    int step2 = 0;
    int threshold2 = 0;
    int step3 = 0;
};

EntryRule RuleOf(int sensorCode) {
    switch (sensorCode) {
        case 4: return {100, 8000, 100};
        case 5: return {50, 12000, 50};
        case 16:
        case 18: return {100, 4800, 100};
        case 17: return {50, 18000, 50, 10000, 100, 12000, 1000};
        case 37: return {100, 10000, 100, 5000, 1000};
        case 38: return {200, 10000, 100};
        case 53: return {100, 16000, 100};
        case 150: return {50, 32000, 50, 26000, 1000};
        default: return {50, 26000, 50};
    }
}

int RoundDown(int value, int base, int step) {
    return base + (value - base) / step * step;
}

}  // namespace

DpiEntryLimits DpiEntryRange(int sensorCode) {
    const EntryRule rule = RuleOf(sensorCode);
    return {rule.minimum, rule.maximum};
}

int RoundDpiEntry(int sensorCode, int value) {
    const EntryRule rule = RuleOf(sensorCode);
    if (value < rule.minimum) return rule.minimum;
    // Values past the maximum only need the clamp; rounding them first could not go below it.
    if (value > rule.maximum) return rule.maximum;
    int rounded;
    if (rule.threshold2 != 0 && value > rule.threshold2) {
        rounded = RoundDown(value, rule.threshold2, rule.step3);
    } else if (rule.threshold != 0 && value > rule.threshold) {
        rounded = RoundDown(value, rule.threshold, rule.step2);
    } else {
        rounded = value / rule.step * rule.step;
    }
    return std::clamp(rounded, rule.minimum, rule.maximum);
}

int DpiToSliderPosition(int sensorCode, int d) {
    switch (sensorCode) {
        case 4:
        case 16:
        case 18:
        case 53: return d / 100;
        case 5: return d <= 6400 ? d / 50 : (d - 6400) / 100 + 128;
        case 17:
            if (d <= 10000) return d / 50;
            if (d <= 12000) return (d - 10000) / 100 + 200;
            return (d - 13000) / 1000 + 221;
        case 37: return d <= 5000 ? d / 100 : (d - 5000) / 500 + 50;
        // Each position is the inverse of SliderPositionToDpi, so a value shown on the slider is the value
        // its position gives back: a thumb pressed and released in place changes nothing. (For sensors 38,
        // 149 and 150 these are not the raw codes of the sensor, which sit one step lower.)
        case 38: return d <= 5000 ? d / 100 - 1 : (d - 5000) / 500 + 49;
        case 150: return d <= 26000 ? d / 50 : (d - 26000) / 1000 + 520;
        default: return d / 50;
    }
}

int SliderPositionToDpi(int sensorCode, int p) {
    int dpi;
    int cap;
    switch (sensorCode) {
        case 4: dpi = 100 * p, cap = 8000; break;
        case 5: dpi = p <= 128 ? 50 * p : 100 * p - 6400, cap = 12000; break;
        case 16:
        case 18: dpi = 100 * p, cap = 4800; break;
        case 17:
            dpi = p <= 200 ? 50 * p : (p <= 220 ? 100 * p - 10000 : 1000 * p - 208000);
            cap = 18000;
            break;
        case 37: dpi = 100 * p <= 5000 ? 100 * p : 500 * p - 20000, cap = 10000; break;
        case 38: dpi = 100 * p < 5000 ? 100 * p + 100 : 500 * p - 19500, cap = 10000; break;
        case 53: dpi = 100 * p, cap = 16000; break;
        case 149: dpi = 50 * p, cap = 26000; break;
        case 150: dpi = p <= 520 ? 50 * p : 1000 * p - 494000, cap = 32000; break;
        default: dpi = 50 * p, cap = 26000; break;
    }
    return std::min(dpi, cap);
}

}  // namespace quorvel
