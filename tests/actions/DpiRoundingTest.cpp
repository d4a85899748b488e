// Typed DPI values and slider positions by sensor.

#include <gtest/gtest.h>

#include "actions/DpiRounding.h"
#include "device/SensorTable.h"

namespace quorvel {
namespace {

struct EntryCase {
    int sensor;
    int typed;
    int expected;
};

TEST(DpiRounding, TypedValuesRoundDownThenClamp) {
    const EntryCase cases[] = {
        {4, 30, 100},       {4, 30000, 8000},   {4, 1250, 1200},   {4, -5, 100},
        {5, 12345, 12000},  {5, 49, 50},        {5, 175, 150},     {16, 4850, 4800},
        {18, 99, 100},      {17, 11050, 11000}, {17, 17999, 17000}, {17, 19000, 18000},
        {17, 10025, 10000}, {17, 12345, 12000}, {17, 10075, 10000}, {17, 9975, 9950},
        {37, 5999, 5000},   {37, 4999, 4900},   {37, 10001, 10000}, {38, 150, 200},
        {38, 9999, 9900},   {53, 16050, 16000}, {53, 150, 100},    {150, 27500, 27000},
        {150, 26049, 26000}, {150, 40000, 32000}, {149, 26049, 26000}, {0, 75, 50},
        {0, 26001, 26000},  {99, 30, 50},
    };
    for (const EntryCase& c : cases)
        EXPECT_EQ(RoundDpiEntry(c.sensor, c.typed), c.expected) << "sensor " << c.sensor << " typed " << c.typed;
}

struct SliderCase {
    int sensor;
    int dpi;
    int position;
};

TEST(DpiRounding, DpiToSliderPosition) {
    const SliderCase cases[] = {
        {4, 800, 8},      {5, 6400, 128},    {5, 6500, 129},    {17, 10000, 200},
        {17, 12000, 220}, {17, 12500, 221},  {17, 13000, 221},  {17, 18000, 226},
        {37, 5000, 50},   {37, 6000, 52},    {38, 200, 1},      {38, 5500, 50},
        {149, 800, 16},   {150, 26000, 520}, {150, 32000, 526}, {0, 800, 16},
    };
    for (const SliderCase& c : cases)
        EXPECT_EQ(DpiToSliderPosition(c.sensor, c.dpi), c.position) << "sensor " << c.sensor << " dpi " << c.dpi;
}

TEST(DpiRounding, SliderPositionToDpiIsCappedAtTheSensorMaximum) {
    const SliderCase cases[] = {
        {4, 800, 8},      {4, 8000, 95},    {5, 6400, 128},   {5, 6500, 129},   {5, 12000, 200},
        {17, 10000, 200}, {17, 12000, 220}, {17, 13000, 221}, {17, 18000, 240}, {37, 5000, 50},
        {37, 5500, 51},   {38, 5000, 49},   {38, 5500, 50},   {16, 4800, 60},   {53, 16000, 170},
        {150, 26000, 520}, {150, 27000, 521}, {150, 32000, 600}, {0, 26000, 999},
    };
    for (const SliderCase& c : cases)
        EXPECT_EQ(SliderPositionToDpi(c.sensor, c.position), c.dpi) << "sensor " << c.sensor << " position "
                                                                    << c.position;
}

// The slider shows a value at the position that gives it back, from position 1 (the sensor's smallest
// value) to the sensor's last position (its largest): a thumb released where it stands changes nothing.
TEST(DpiRounding, EverySliderPositionShowsTheValueItGives) {
    for (const int sensor : {4, 5, 16, 17, 18, 37, 38, 53, 149, 150, 0}) {
        const SensorRange range = LookupSensor(sensor);
        EXPECT_EQ(SliderPositionToDpi(sensor, 1), DpiEntryRange(sensor).minimum) << "sensor " << sensor;
        EXPECT_EQ(SliderPositionToDpi(sensor, range.sliderPositions), range.maxDpi) << "sensor " << sensor;
        for (int p = 1; p <= range.sliderPositions; ++p) {
            const int dpi = SliderPositionToDpi(sensor, p);
            ASSERT_EQ(DpiToSliderPosition(sensor, dpi), p)
                << "sensor " << sensor << " position " << p << " dpi " << dpi;
        }
    }
}

}  // namespace
}  // namespace quorvel
