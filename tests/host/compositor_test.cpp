// The compositor on small made-up elements, where each pixel's expected
// colour can be worked out: transparency, needle turns, scale, night
// lighting, string texts and the seven-segment glyphs.
#include <gtest/gtest.h>

#include <deque>
#include <stdio.h>
#include <string.h>

#include "gauge_host/core/compositor.h"
#include "gauge_host/core/seven_segment.h"

namespace {

constexpr RgbColour Red = {255, 0, 0}, Green = {0, 255, 0}, White = {255, 255, 255}, Black = {0, 0, 0};
constexpr RgbColour Grey = {200, 200, 200};

struct Pixels {
    int width, height;
    std::vector<uint8_t> rgb;

    Pixels(int w, int h, RgbColour fill = Black) : width(w), height(h), rgb(size_t(w) * h * 3)
    {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                Set(x, y, fill);
    }
    void Set(int x, int y, RgbColour c)
    {
        uint8_t* p = &rgb[(size_t(y) * width + x) * 3];
        p[0] = c.r, p[1] = c.g, p[2] = c.b;
    }
};

// Elements in tree order; each state points at its record.
class Scene {
public:
    ElementState& Image(uint32_t kind, int x, int y, uint32_t flags, const Pixels& pixels)
    {
        ElementState& state = Add(kind, x, y, flags);
        state.picture = std::make_shared<Picture>(
            MakePicture(pixels.width, pixels.height, pixels.rgb.data(), (flags & IMAGE_USE_TRANSPARENCY) != 0));
        return state;
    }
    ElementState& Text(int x, int y, int width, int height, const char* text, uint32_t colour, uint32_t background,
                       uint32_t image_flags, uint32_t format_flags)
    {
        ElementState& state = Add(ELEMENT_TYPE_STRING, x, y, image_flags);
        ElementRecord& r = records_.back();
        r.string.header = r.header;
        r.string.box_width = width;
        r.string.box_height = height;
        r.string.max_chars = uint32_t(strlen(text));
        r.string.text_colour = colour;
        r.string.background_colour = background;
        r.string.format_flags = format_flags;
        strcpy(state.text.data(), text);
        return state;
    }
    Frame Draw(int width, int height, View view = {}) const
    {
        const std::vector<ElementState> states(states_.begin(), states_.end());
        Frame frame;
        DrawGauge(states, width, height, view, &frame);
        return frame;
    }

private:
    ElementState& Add(uint32_t kind, int x, int y, uint32_t flags)
    {
        ElementRecord& r = records_.emplace_back();
        r.header.kind = kind;
        r.header.bitmap = BITMAP_NONE;
        r.header.position = {x, y};
        r.header.image_flags = flags;
        ElementState& state = states_.emplace_back();
        state.record = &r;
        return state;
    }
    std::deque<ElementRecord> records_;  // a deque keeps the states' pointers valid
    std::deque<ElementState> states_;
};

std::string Show(RgbColour c)
{
    char text[32];
    snprintf(text, sizeof text, "(%d, %d, %d)", c.r, c.g, c.b);
    return text;
}

TEST(Compositor, PureBlackIsNotDrawnUnderTheTransparencyFlag)
{
    Pixels strip(3, 1);
    strip.Set(0, 0, Red);
    strip.Set(2, 0, Green);
    for (bool transparent : {true, false}) {
        Scene scene;
        scene.Image(ELEMENT_TYPE_STATIC_IMAGE, 2, 2, transparent ? uint32_t(IMAGE_USE_TRANSPARENCY) : 0u, strip);
        const Frame frame = scene.Draw(8, 8);
        EXPECT_EQ(frame.At(2, 2), Red) << Show(frame.At(2, 2));
        EXPECT_EQ(frame.At(4, 2), Green);
        EXPECT_EQ(frame.At(3, 2), transparent ? PanelColour : Black) << "transparent " << transparent;
        EXPECT_EQ(frame.At(1, 2), PanelColour) << "outside the picture";
    }
}

// An image or needle without a bitmap has nothing to draw, upright or
// turned, at any scale.
TEST(Compositor, ElementsWithoutABitmapDrawNothing)
{
    for (uint32_t kind : {uint32_t(ELEMENT_TYPE_STATIC_IMAGE), uint32_t(ELEMENT_TYPE_NEEDLE)})
        for (double degrees : {0.0, 30.0})
            for (double scale : {1.0, 2.0}) {
                Scene scene;
                ElementState& element = scene.Image(kind, 2, 2, IMAGE_USE_TRANSPARENCY, Pixels(1, 1));
                element.picture = {};  // as after an install that found no bitmap to load
                element.degrees = degrees;
                const Frame frame = scene.Draw(8, 8, View{scale, Light::Day});
                for (int y = 0; y < frame.height; ++y)
                    for (int x = 0; x < frame.width; ++x)
                        ASSERT_EQ(frame.At(x, y), PanelColour)
                            << "kind " << kind << ", " << degrees << " degrees, scale " << scale << ", at " << x
                            << ", " << y;
            }
}

// A 9 x 9 needle, transparent but for its pivot (4, 4) in white and a red
// tip 4 pixels right of it; placed with the pivot on face pixel (10, 10).
TEST(Compositor, NeedleTurnsClockwiseAboutItsOffset)
{
    Pixels needle(9, 9);
    needle.Set(4, 4, White);
    needle.Set(8, 4, Red);
    const struct {
        double degrees;
        int tip_x, tip_y;
    } cases[] = {{0, 14, 10}, {90, 10, 14}, {-90, 10, 6}, {180, 6, 10}, {450, 10, 14}, {-270, 10, 14}};
    for (const auto& c : cases) {
        Scene scene;
        ElementState& state = scene.Image(ELEMENT_TYPE_NEEDLE, 10, 10, IMAGE_USE_TRANSPARENCY, needle);
        const_cast<ElementRecord*>(state.record)->header.offset = {4, 4};
        state.degrees = c.degrees;
        const Frame frame = scene.Draw(21, 21);
        EXPECT_EQ(frame.At(c.tip_x, c.tip_y), Red) << "degrees " << c.degrees << ": tip "
                                                    << Show(frame.At(c.tip_x, c.tip_y));
        EXPECT_EQ(frame.At(10, 10), White) << "degrees " << c.degrees << ": pivot";
        int drawn = 0;
        for (int y = 0; y < 21; ++y)
            for (int x = 0; x < 21; ++x)
                drawn += !(frame.At(x, y) == PanelColour);
        EXPECT_EQ(drawn, 2) << "degrees " << c.degrees << ": only the two pixels";
    }
}

// Between quarter turns the tip lands where the rotation puts it, blurred
// over its neighbours but brightest there.
TEST(Compositor, NeedleAtThirtyDegrees)
{
    Pixels needle(21, 21);
    needle.Set(20, 10, Red);
    Scene scene;
    ElementState& state = scene.Image(ELEMENT_TYPE_NEEDLE, 20, 20, IMAGE_USE_TRANSPARENCY, needle);
    const_cast<ElementRecord*>(state.record)->header.offset = {10, 10};
    state.degrees = 30;
    const Frame frame = scene.Draw(41, 41);
    // The tip's centre: (20.5, 20.5) + 10 * (cos 30, sin 30) = (29.16, 25.5).
    int best_x = -1, best_y = -1, best = -1;
    for (int y = 0; y < 41; ++y)
        for (int x = 0; x < 41; ++x)
            if (frame.At(x, y).r > best) {
                best = frame.At(x, y).r;
                best_x = x;
                best_y = y;
            }
    EXPECT_EQ(best_x, 29);
    EXPECT_EQ(best_y, 25);
}

TEST(Compositor, ScaleMultipliesTheFrame)
{
    Pixels halves(10, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x)
            halves.Set(x, y, x < 5 ? Red : Green);
    Scene scene;
    scene.Image(ELEMENT_TYPE_STATIC_IMAGE, 0, 0, 0, halves);
    const Frame twice = scene.Draw(10, 6, {2, Light::Day});
    EXPECT_EQ(twice.width, 20);
    EXPECT_EQ(twice.height, 12);
    EXPECT_EQ(twice.At(4, 6), Red) << "face pixel 2 is frame pixels 4 and 5";
    EXPECT_EQ(twice.At(15, 6), Green) << "face pixel 7 is frame pixels 14 and 15";
    const Frame half = scene.Draw(10, 6, {0.5, Light::Day});
    EXPECT_EQ(half.width, 5);
    EXPECT_EQ(half.height, 3);
    EXPECT_EQ(FrameSize(600, 2), 1200);
    EXPECT_EQ(FrameSize(600, 0.1), 60);
}

// At night everything but the bright elements is drawn at 90/256.
TEST(Compositor, NightDimsAllButBrightElements)
{
    const Pixels grey(2, 2, Grey);
    Scene scene;
    scene.Image(ELEMENT_TYPE_STATIC_IMAGE, 0, 0, IMAGE_USE_BRIGHT, grey);
    scene.Image(ELEMENT_TYPE_STATIC_IMAGE, 4, 0, 0, grey);
    for (double scale : {1.0, 2.0}) {
        const Frame day = scene.Draw(8, 2, {scale, Light::Day});
        const Frame night = scene.Draw(8, 2, {scale, Light::Night});
        const int k = int(scale);
        EXPECT_EQ(day.At(1 * k, 1 * k), Grey) << "scale " << scale;
        EXPECT_EQ(day.At(5 * k, 1 * k), Grey) << "scale " << scale;
        EXPECT_EQ(day.At(3 * k, 1 * k), PanelColour) << "scale " << scale;
        EXPECT_EQ(night.At(1 * k, 1 * k), Grey) << "scale " << scale << ": bright stays at full brightness";
        EXPECT_EQ(night.At(5 * k, 1 * k), (RgbColour{70, 70, 70})) << "scale " << scale << ": "
                                                                   << Show(night.At(5 * k, 1 * k));
        EXPECT_EQ(night.At(3 * k, 1 * k), (RgbColour{13, 14, 16})) << "scale " << scale << ": the panel dims too";
    }
}

struct Bounds {
    int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;  // inclusive
    bool empty() const { return x1 < 0; }
};

Bounds BoundsOf(const Frame& frame, RgbColour colour)
{
    Bounds b;
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x)
            if (frame.At(x, y) == colour) {
                b.x0 = std::min(b.x0, x), b.y0 = std::min(b.y0, y);
                b.x1 = std::max(b.x1, x), b.y1 = std::max(b.y1, y);
            }
    return b;
}

TEST(Compositor, StringTextInItsColourPlacedByTheFormatFlags)
{
    constexpr uint32_t Colour = 0x00FF8000;  // 0x00BBGGRR
    constexpr RgbColour Drawn = {0x00, 0x80, 0xFF};
    const uint32_t centred = TEXT_CENTRE | TEXT_VERTICAL_CENTRE;
    // The box: x 10..70, y 10..40.
    for (uint32_t flags : {centred, 0u}) {
        Scene scene;
        scene.Text(10, 10, 60, 30, "8", Colour, 0, IMAGE_USE_TRANSPARENCY, flags);
        const Frame frame = scene.Draw(80, 50);
        const Bounds b = BoundsOf(frame, Drawn);
        ASSERT_FALSE(b.empty()) << "flags " << flags << ": no pixel in the text's colour";
        EXPECT_EQ(frame.At(11, 11), flags ? PanelColour : Drawn) << "flags " << flags;
        if (flags) {
            EXPECT_NEAR((b.x0 + b.x1 + 1) / 2.0, 40, 1) << "centred across";
            EXPECT_NEAR((b.y0 + b.y1 + 1) / 2.0, 25, 1) << "centred down";
        } else {
            EXPECT_NEAR(b.x0, 10, 1) << "at the box's left edge";
            EXPECT_NEAR(b.y0, 10, 1) << "at the box's top edge";
        }
    }

    // A background that is not black is drawn over the box; black under
    // the transparency flag is no background.
    Scene filled;
    filled.Text(10, 10, 60, 30, "1", Colour, 0x00000080, 0, centred);
    EXPECT_EQ(filled.Draw(80, 50).At(11, 11), (RgbColour{0x80, 0, 0}));
    Scene black;
    black.Text(10, 10, 60, 30, "1", Colour, 0, 0, centred);
    EXPECT_EQ(black.Draw(80, 50).At(11, 11), Black) << "black without the transparency flag is drawn";

    // At night a bright string keeps its colour, another dims.
    for (bool bright : {true, false}) {
        Scene night;
        night.Text(10, 10, 60, 30, "8", Colour, 0, IMAGE_USE_TRANSPARENCY | (bright ? uint32_t(IMAGE_USE_BRIGHT) : 0u), centred);
        const Frame frame = night.Draw(80, 50, {1, Light::Night});
        EXPECT_EQ(BoundsOf(frame, Drawn).empty(), !bright) << "bright " << bright;
        EXPECT_EQ(BoundsOf(frame, Dimmed(Drawn, NightBrightness)).empty(), bright) << "bright " << bright;
    }
}

// Segments a..g: a top, b upper right, c lower right, d bottom, e lower
// left, f upper left, g middle.
enum : int { A = 1, B = 2, C = 4, D = 8, E = 16, F = 32, G = 64 };
constexpr int Digits[10] = {A | B | C | D | E | F, B | C,         A | B | G | E | D, A | B | G | C | D,
                            F | G | B | C,         A | F | G | C | D, A | F | G | E | D | C, A | B | C,
                            A | B | C | D | E | F | G, A | B | C | D | F | G};

// Whether any pixel at least half lit lies on the line between two points
// of the cell (fractions of its width and height).
bool LineLit(const Frame& frame, const Bounds& cell, double fx0, double fy0, double fx1, double fy1)
{
    const double w = cell.x1 + 1 - cell.x0, h = cell.y1 + 1 - cell.y0;
    for (int i = 0; i <= 100; ++i) {
        const double t = i / 100.0;
        const int x = cell.x0 + int((fx0 + (fx1 - fx0) * t) * w), y = cell.y0 + int((fy0 + (fy1 - fy0) * t) * h);
        if (frame.At(x, y).r >= 128)
            return true;
    }
    return false;
}

// Each segment read by a line across its middle: the horizontal bars by a
// line down the cell's centre column, the uprights by one along a row.
int LitSegments(const Frame& frame, const Bounds& cell)
{
    int lit = 0;
    lit |= LineLit(frame, cell, 0.5, 0.0, 0.5, 0.25) ? A : 0;
    lit |= LineLit(frame, cell, 0.6, 0.25, 1.0, 0.25) ? B : 0;
    lit |= LineLit(frame, cell, 0.6, 0.75, 1.0, 0.75) ? C : 0;
    lit |= LineLit(frame, cell, 0.5, 0.75, 0.5, 0.999) ? D : 0;
    lit |= LineLit(frame, cell, 0.0, 0.75, 0.4, 0.75) ? E : 0;
    lit |= LineLit(frame, cell, 0.0, 0.25, 0.4, 0.25) ? F : 0;
    lit |= LineLit(frame, cell, 0.5, 0.35, 0.5, 0.65) ? G : 0;
    return lit;
}

std::string SegmentNames(int segments)
{
    std::string names;
    for (int i = 0; i < 7; ++i)
        if (segments & (1 << i))
            names += char('a' + i);
    return names;
}

TEST(SevenSegment, EachDigitLightsItsSegments)
{
    const struct {
        const char* name;
        double width, height;
        const char* pattern;  // D stands for the digit
        uint32_t flags;
    } layouts[] = {
        {"the readout's box, three cells", 85, 36, "  D", TEXT_CENTRE | TEXT_VERTICAL_CENTRE},
        {"the readout's box at scale 2", 170, 72, "  D", TEXT_CENTRE | TEXT_VERTICAL_CENTRE},
        {"a tall box, one cell", 120, 200, "D", 0},
    };
    for (const auto& layout : layouts) {
        Frame frame;
        frame.Resize(int(layout.width) + 10, int(layout.height) + 10);
        const FrameBox box = {5, 5, 5 + layout.width, 5 + layout.height};
        const int cells = int(strlen(layout.pattern));
        auto draw = [&](char digit) {
            std::string text = layout.pattern;
            text[text.find('D')] = digit;
            frame.Fill(Black);
            DrawSevenSegmentText(&frame, box, text.c_str(), cells, White, layout.flags);
        };
        // An 8 lights every segment, so it marks out the digit's cell.
        draw('8');
        Bounds cell;
        for (int y = 0; y < frame.height; ++y)
            for (int x = 0; x < frame.width; ++x)
                if (frame.At(x, y).r > 0) {
                    cell.x0 = std::min(cell.x0, x), cell.y0 = std::min(cell.y0, y);
                    cell.x1 = std::max(cell.x1, x), cell.y1 = std::max(cell.y1, y);
                }
        ASSERT_FALSE(cell.empty()) << layout.name << ": an 8 draws nothing";
        for (int digit = 0; digit <= 9; ++digit) {
            draw(char('0' + digit));
            EXPECT_EQ(SegmentNames(LitSegments(frame, cell)), SegmentNames(Digits[digit]))
                << layout.name << ", digit " << digit;
        }
    }
}

TEST(SevenSegment, SpacesAndOtherCharactersLeaveTheirCellsEmpty)
{
    Frame frame;
    frame.Resize(100, 50);
    frame.Fill(Black);
    DrawSevenSegmentText(&frame, {0, 0, 100, 50}, " -x", 3, White, TEXT_CENTRE | TEXT_VERTICAL_CENTRE);
    EXPECT_TRUE(BoundsOf(frame, White).empty());
    DrawSevenSegmentText(&frame, {0, 0, 100, 50}, "", 3, White, 0);
    EXPECT_TRUE(BoundsOf(frame, White).empty());
}

}  // namespace

namespace {

// The bilinear sample worked out channel by channel: across each row, then
// down, each step rounding down, as the filter has always done.
WidePixel ExpectedSample(const WidePixel quad[4], uint32_t wx, uint32_t wy)
{
    auto lerp = [](uint32_t a, uint32_t b, uint32_t w) { return (a * (256 - w) + b * w) >> 8; };
    uint32_t lanes[4];
    for (int lane = 0; lane < 4; ++lane) {
        auto channel = [&](WidePixel p) { return uint32_t(p >> (16 * lane)) & 0xFF; };
        lanes[lane] = lerp(lerp(channel(quad[0]), channel(quad[1]), wx), lerp(channel(quad[2]), channel(quad[3]), wx), wy);
    }
    return Widen(lanes[3], lanes[2], lanes[1], lanes[0]);
}

TEST(BilinearSample, MatchesTheChannelByChannelFilter)
{
    const WidePixel white = Widen(255, 255, 255, 255), clear = 0, half_red = Widen(128, 128, 0, 0);
    struct Case {
        WidePixel quad[4];
        uint32_t wx, wy;
    } cases[] = {
        {{clear, clear, clear, clear}, 128, 128},      {{white, clear, clear, clear}, 0, 0},
        {{white, clear, clear, clear}, 255, 255},      {{clear, white, white, white}, 1, 1},
        {{white, white, white, white}, 37, 201},       {{half_red, white, clear, half_red}, 128, 64},
        {{Widen(255, 1, 2, 3), Widen(255, 254, 253, 252), Widen(0, 0, 0, 0), Widen(9, 8, 7, 6)}, 200, 17},
    };
    for (const Case& c : cases) {
        // Laid out as the picture holds them: two pixels a row, pitch 2.
        const WidePixel quad[4] = {c.quad[0], c.quad[1], c.quad[2], c.quad[3]};
        EXPECT_EQ(BilinearSample(quad, 2, c.wx, c.wy), ExpectedSample(c.quad, c.wx, c.wy))
            << std::hex << c.quad[0] << " " << c.quad[1] << " " << c.quad[2] << " " << c.quad[3] << std::dec
            << " weighed " << c.wx << ", " << c.wy;
    }
    // And a spread of premultiplied pixels, as a picture's edge has them.
    uint32_t seed = 12345;
    auto next = [&] { return (seed = seed * 1103515245 + 12345) >> 16; };
    for (int i = 0; i < 5000; ++i) {
        WidePixel quad[4];
        for (WidePixel& p : quad) {
            const uint32_t alpha = next() % 256;
            p = Widen(alpha, next() % (alpha + 1), next() % (alpha + 1), next() % (alpha + 1));
        }
        const uint32_t wx = next() % 256, wy = next() % 256;
        ASSERT_EQ(BilinearSample(quad, 2, wx, wy), ExpectedSample(quad, wx, wy)) << "case " << i;
    }
}

}  // namespace
