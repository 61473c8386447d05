// A million frames of random host values and clicks through the records:
// the setting stays in range, events go out exactly when the rule says, and
// the module never writes its own records.
#include "tests/gauge/gauge_fixture.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace {

// The records with the host's working fields cleared, for comparison.
struct RecordImage {
    ELEMENT_STATIC_IMAGE face;
    ELEMENT_STRING right, left;
    ELEMENT_NEEDLE knob;
    MOUSERECT areas[6];
    GAUGEHDR header;
    GAUGESLINKAGE linkage;

    static RecordImage Take()
    {
        RecordImage image;
        memset(&image, 0, sizeof image);  // padding compares equal too
        memcpy(&image.face, &FaceBackground, sizeof FaceBackground);
        memcpy(&image.right, &RightReadout, sizeof RightReadout);
        memcpy(&image.left, &LeftReadout, sizeof LeftReadout);
        memcpy(&image.knob, &YawKnob, sizeof YawKnob);
        memcpy(image.areas, GaugeMouseAreas, sizeof image.areas);
        memcpy(&image.header, &GaugeHeader, sizeof GaugeHeader);
        memcpy(&image.linkage, &Linkage, sizeof Linkage);
        for (ELEMENT_STRING* readout : {&image.right, &image.left}) {
            memset(readout->source_values, 0, sizeof readout->source_values);
            readout->text = nullptr;
        }
        memset(&image.knob.source_value, 0, sizeof image.knob.source_value);
        return image;
    }
    bool operator==(const RecordImage& other) const { return memcmp(this, &other, sizeof *this) == 0; }
};

double RandomReading(std::mt19937_64& random, double last)
{
    const double specials[] = {
        std::numeric_limits<double>::quiet_NaN(), INFINITY, -INFINITY, 1e308, -1e308,
        std::numeric_limits<double>::denorm_min(), -0.0, 0.005, -0.005,
    };
    switch (random() % 8) {
    case 0: return specials[random() % std::size(specials)];
    case 1: return last;                                                          // no change
    case 2: return last + std::uniform_real_distribution<double>(-0.005, 0.005)(random);  // near the threshold
    case 3: return std::uniform_real_distribution<double>(-1e6, 1e6)(random);
    default: return std::uniform_real_distribution<double>(-1.0, 1.0)(random);
    }
}

}  // namespace

using Soak = GaugeTest;

TEST_F(Soak, MillionFrames)
{
    constexpr int Frames = 1000000;
    std::mt19937_64 random(20261210);
    const RecordImage before = RecordImage::Take();
    double reference = 0.0;  // the last real reading
    int32_t amount = 0;
    long events = 0, clicks = 0, nans = 0;

    for (int frame = 0; frame < Frames; ++frame) {
        for (unsigned click = random() % 4; click > 0; --click, ++clicks) {
            PIXPOINT point{int32_t(random() % 600), int32_t(random() % 600)};
            bool left_half = point.x < 300;
            const MOUSERECT& area = GaugeMouseAreas[left_half ? 2 : 3];
            area.action.function(&point, MOUSE_LEFT_SINGLE);
            amount = left_half ? std::max(amount - Step, -Limit) : std::min(amount + Step, Limit);
        }
        double reading = RandomReading(random, reference);
        SentEvents.clear();
        Update(reading);
        KnobValueCallback(&YawKnob);

        std::vector<KeyEvent> expected;
        if (std::isnan(reading)) {
            ++nans;
        } else {
            if (reference + Threshold < reading)
                expected.push_back({YawEvent, -amount});
            else if (reading < reference - Threshold)
                expected.push_back({YawEvent, amount});
            reference = reading;
        }
        events += long(SentEvents.size());
        ASSERT_EQ(YawAmount, amount) << "frame " << frame;
        ASSERT_EQ(YawAmount % Step, 0) << "frame " << frame;
        ASSERT_LE(std::abs(YawAmount), Limit) << "frame " << frame;
        ASSERT_EQ(SentEvents, expected) << "frame " << frame << ", reading " << reading;
        ASSERT_TRUE(std::isnan(reading) || LastMonitoredValue == reading) << "frame " << frame;
        ASSERT_TRUE(RecordImage::Take() == before) << "records changed in frame " << frame;
    }
    printf("soak: %d frames, %ld clicks, %ld events, %ld NaN readings skipped\n", Frames, clicks,
           events, nans);
}
