#include <gtest/gtest.h>

#include "device/SensorTable.h"

namespace quorvel {
namespace {

TEST(SensorTable, RangesAndFallback) {
    struct Case {
        int sensor, maxDpi, step, positions;
    };
    for (const Case c : {Case{4, 8000, 100, 80}, Case{5, 12000, 50, 184}, Case{17, 18000, 50, 226},
                         Case{38, 10000, 200, 59}, Case{150, 32000, 50, 526}, Case{0, 26000, 50, 520},
                         Case{77, 26000, 50, 520}}) {
        const SensorRange r = LookupSensor(c.sensor);
        EXPECT_EQ(r.maxDpi, c.maxDpi) << c.sensor;
        EXPECT_EQ(r.step, c.step) << c.sensor;
        EXPECT_EQ(r.sliderPositions, c.positions) << c.sensor;
    }
}

// Each value is written as `raw` and a read-back of `raw` gives the same DPI again.
TEST(SensorTable, ConversionsRoundTrip) {
    struct Case {
        int sensor, dpi, raw;
    };
    const Case cases[] = {
        {4, 100, 1},       {4, 8000, 80},      {5, 6400, 128},     {5, 6500, 129},     {5, 12000, 184},
        {17, 50, 1},       {17, 10000, 200},   {17, 10100, 201},   {17, 12000, 220},   {17, 13000, 221},
        {17, 18000, 226},  {37, 5000, 50},     {37, 5500, 51},     {37, 10000, 60},    {53, 16000, 160},
        {149, 50, 0},      {149, 26000, 519},  {0, 1600, 31},
        // Sensors 38 and 150 send these codes; reading them back must give the value written.
        {38, 200, 1},      {38, 5000, 49},     {38, 5500, 51},     {38, 10000, 60},
        {150, 26000, 519}, {150, 27000, 520},  {150, 32000, 525},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DpiToRaw(c.sensor, c.dpi), c.raw) << c.sensor << " " << c.dpi;
        EXPECT_EQ(RawToDpi(c.sensor, c.raw), c.dpi) << c.sensor << " " << c.raw;
    }
}

TEST(SensorTable, ValuesAreClampedBeforeConversion) {
    EXPECT_EQ(DpiToRaw(4, 30), 1);       // 30 -> 100
    EXPECT_EQ(DpiToRaw(4, 30000), 80);   // 30000 -> 8000
    EXPECT_EQ(DpiToRaw(149, 0), 0);      // 0 -> 50
    EXPECT_EQ(DpiToRaw(38, 50), 1);      // 50 -> 200
    EXPECT_EQ(DpiToRaw(150, 40000), 525);
}

}  // namespace
}  // namespace quorvel
