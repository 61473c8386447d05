#include "gauge_host/core/draw_primitives.h"

#include <emmintrin.h>
#include <math.h>
#include <string.h>

#include <algorithm>
#include <vector>

namespace {

// Each weight w as a register: 256 - w in the four low lanes, w in the
// four high ones, for one pixel and its neighbour.
struct WeightPairs {
    alignas(16) uint16_t lanes[256][8];
};
constexpr WeightPairs MakeWeightPairs()
{
    WeightPairs pairs{};
    for (int w = 0; w < 256; ++w)
        for (int lane = 0; lane < 4; ++lane) {
            pairs.lanes[w][lane] = uint16_t(256 - w);
            pairs.lanes[w][lane + 4] = uint16_t(w);
        }
    return pairs;
}
constexpr WeightPairs Weights = MakeWeightPairs();

// The bilinear sample's four channels in the 16-bit lanes of the low half,
// as in a WidePixel. SSE2 weighs all four channels of two neighbours at
// once: each product is at most 255 * 256, so 16-bit lanes hold it, as
// they do in a + (b - a) * w / 256 on a WidePixel.
inline __m128i BilinearLanes(const WidePixel* p, int pitch, uint32_t wx, uint32_t wy)
{
    const __m128i top = _mm_loadu_si128((const __m128i*)p), bottom = _mm_loadu_si128((const __m128i*)(p + pitch));
    const __m128i weights_x = _mm_load_si128((const __m128i*)Weights.lanes[wx]);
    const __m128i t = _mm_mullo_epi16(top, weights_x), b = _mm_mullo_epi16(bottom, weights_x);
    // Each row's two halves summed: the row's sample, top in the low half.
    const __m128i rows = _mm_srli_epi16(_mm_add_epi16(_mm_unpacklo_epi64(t, b), _mm_unpackhi_epi64(t, b)), 8);
    const __m128i w = _mm_mullo_epi16(rows, _mm_load_si128((const __m128i*)Weights.lanes[wy]));
    return _mm_srli_epi16(_mm_add_epi16(w, _mm_unpackhi_epi64(w, w)), 8);
}

constexpr int FixedShift = 16;  // picture coordinates in 16.16 fixed point
constexpr double FixedOne = 1 << FixedShift;
constexpr double Pi = 3.14159265358979323846;

// Multiples of 90 degrees turn exactly, so an upright or quarter-turned
// picture keeps its pixels unblurred.
void SinCos(double degrees, double* s, double* c)
{
    const double quarters = degrees / 90;
    if (quarters == floor(quarters)) {
        static const double sines[4] = {0, 1, 0, -1};
        const int q = int(fmod(quarters, 4) + 4) % 4;
        *s = sines[q];
        *c = sines[(q + 1) % 4];
        return;
    }
    *s = sin(degrees * Pi / 180);
    *c = cos(degrees * Pi / 180);
}

// Premultiplied source over the frame pixel.
inline void Blend(uint8_t* d, PackedPixel argb, uint32_t brightness)
{
    uint32_t r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
    if (brightness != FullBrightness) {
        r = r * brightness >> 8;
        g = g * brightness >> 8;
        b = b * brightness >> 8;
    }
    const uint32_t keep = 255 - (argb >> 24);
    if (keep) {
        r += (d[0] * keep + 127) / 255;
        g += (d[1] * keep + 127) / 255;
        b += (d[2] * keep + 127) / 255;
    }
    d[0] = uint8_t(r);
    d[1] = uint8_t(g);
    d[2] = uint8_t(b);
}

// Upright at scale 1 on whole pixels: every frame pixel is one picture
// pixel, so copy the opaque runs.
void CopyAligned(Frame* frame, const Picture& picture, int left, int top, uint32_t brightness)
{
    const int y0 = std::max(top, 0), y1 = std::min(top + picture.height, frame->height);
    for (int y = y0; y < y1; ++y) {
        const int row = y - top;
        for (size_t i = picture.row_runs[row]; i < picture.row_runs[row + 1]; ++i) {
            const int x0 = std::max(left + picture.runs[i].x, 0);
            const int x1 = std::min(left + picture.runs[i].x + picture.runs[i].length, frame->width);
            if (x0 >= x1)
                continue;
            const uint8_t* src = &picture.rgb[(size_t(row) * picture.width + (x0 - left)) * 3];
            uint8_t* d = frame->Row(y) + x0 * 3;
            const size_t bytes = size_t(x1 - x0) * 3;
            if (brightness == FullBrightness) {
                memcpy(d, src, bytes);
            } else {
                for (size_t b = 0; b < bytes; ++b)
                    d[b] = uint8_t(src[b] * brightness >> 8);
            }
        }
    }
}

constexpr int TileRows = 32, TileColumns = 32;

using RowSpan = LayerSampler::RowSpan;

// use(i, sample) for each of count bilinear samples from (u, v) on by
// (du, dv), but those that read only transparent pixels.
template <typename Use>
inline void ForEachSample(const Picture& picture, int32_t u, int32_t v, int32_t du, int32_t dv, int count, Use use)
{
    const int pitch = picture.Pitch();
    const WidePixel* samples = picture.samples.data();
    const uint8_t* clear = picture.clear.data();
    // u and v stepped together in one register: the 32-bit build has too
    // few others to keep them out of memory.
    __m128i uv = _mm_setr_epi32(u, v, 0, 0);
    const __m128i step = _mm_setr_epi32(du, dv, 0, 0);
    for (int i = 0; i < count; ++i, uv = _mm_add_epi32(uv, step)) {
        const int32_t at_u = _mm_cvtsi128_si32(uv), at_v = _mm_cvtsi128_si32(_mm_shuffle_epi32(uv, 1));
        const size_t at = size_t(at_v >> FixedShift) * pitch + (at_u >> FixedShift);
        if (clear[at])
            continue;
        const __m128i lanes =
            BilinearLanes(&samples[at], pitch, (at_u >> (FixedShift - 8)) & 0xFF, (at_v >> (FixedShift - 8)) & 0xFF);
        use(i, PackedPixel(_mm_cvtsi128_si32(_mm_packus_epi16(lanes, lanes))));
    }
}

void SampleRow(uint8_t* row, const Picture& picture, int32_t u, int32_t v, int32_t du, int32_t dv, int count,
               uint32_t brightness)
{
    ForEachSample(picture, u, v, du, dv, count, [=](int i, PackedPixel sample) {
        uint8_t* d = row + i * 3;
        if (IsOpaque(sample) && brightness == FullBrightness) {
            d[0] = uint8_t(sample >> 16);  // opaque: nothing of the frame shows
            d[1] = uint8_t(sample >> 8);
            d[2] = uint8_t(sample);
        } else if (sample) {
            Blend(d, sample, brightness);
        }
    });
}

// The samples SampleRow blends, kept: 0 where nothing is drawn.
void SampleInto(PackedPixel* out, const Picture& picture, int32_t u, int32_t v, int32_t du, int32_t dv, int count)
{
    std::fill_n(out, count, 0);
    ForEachSample(picture, u, v, du, dv, count, [=](int i, PackedPixel sample) { out[i] = sample; });
}

// The frame columns X (within 0..limit-1) where start + X * step lies in
// [0, bound): bound is in picture pixels of the ringed picture.
void ClipSpan(double start, double step, double bound, int limit, int* first, int* last)
{
    double lo = 0, hi = limit - 1;
    if (step == 0) {
        if (start < 0 || start >= bound)
            hi = -1;
    } else {
        const double a = (0 - start) / step, b = (bound - start) / step;
        lo = std::max(lo, ceil(std::min(a, b)));
        hi = std::min(hi, floor(std::max(a, b)));
    }
    if (lo > hi) {
        *first = 1;
        *last = 0;
        return;
    }
    *first = std::max(*first, int(lo));
    *last = std::min(*last, int(hi));
}

// The frame rows and columns the turned picture covers, each row's first
// sample in fixed point.
void TurnedSpans(const Picture& picture, const Placement& at, int frame_width, int frame_height,
                 std::vector<RowSpan>* spans, int32_t* du_out, int32_t* dv_out)
{
    double s, c;
    SinCos(at.degrees, &s, &c);

    // Frame rows the turned picture can reach.
    double top = 1e30, bottom = -1e30;
    for (double px : {-1.0, picture.width + 1.0})
        for (double py : {-1.0, picture.height + 1.0}) {
            const double dx = px - at.pivot_x, dy = py - at.pivot_y;
            const double fy = (at.y + dx * s + dy * c) * at.scale;
            top = std::min(top, fy);
            bottom = std::max(bottom, fy);
        }
    const int y_first = std::max(0, int(floor(top))), y_last = std::min(frame_height - 1, int(ceil(bottom)));

    // Frame pixel centre -> face point -> picture point, turned back; in
    // ringed picture pixels, where a sample at u covers u and u + 1.
    const double step_u = c / at.scale, step_v = -s / at.scale;
    const int32_t du = int32_t(lround(step_u * FixedOne)), dv = int32_t(lround(step_v * FixedOne));
    *du_out = du;
    *dv_out = dv;
    spans->clear();
    for (int y = y_first; y <= y_last; ++y) {
        const double fy = (y + 0.5) / at.scale - at.y;
        const double fx0 = 0.5 / at.scale - at.x;
        const double u0 = at.pivot_x + 0.5 + fx0 * c + fy * s;
        const double v0 = at.pivot_y + 0.5 - fx0 * s + fy * c;
        RowSpan span{y, 0, frame_width - 1, 0, 0};
        ClipSpan(u0, step_u, picture.width + 1, frame_width, &span.first, &span.last);
        ClipSpan(v0, step_v, picture.height + 1, frame_width, &span.first, &span.last);
        if (span.first > span.last)
            continue;
        span.u = int32_t(lround((u0 + span.first * step_u) * FixedOne));
        span.v = int32_t(lround((v0 + span.first * step_v) * FixedOne));
        // Rounding may carry an end sample one step outside; the span is a
        // line, so checking both ends keeps every sample inside.
        auto inside = [&](int x) {
            const int64_t ux = span.u + int64_t(x - span.first) * du, vx = span.v + int64_t(x - span.first) * dv;
            return ux >= 0 && vx >= 0 && (ux >> FixedShift) <= picture.width && (vx >> FixedShift) <= picture.height;
        };
        while (span.first <= span.last && !inside(span.last))
            --span.last;
        while (span.first <= span.last && !inside(span.first)) {
            ++span.first;
            span.u += du;
            span.v += dv;
        }
        if (span.first <= span.last)
            spans->push_back(span);
    }
}

// Tile by tile, so a turned picture's samples stay in the cache: along a
// turned row each step lands on another picture row. visit(span, first
// column, last column) is called for each span's stretch in each tile.
template <typename Visit>
void ForEachTile(const std::vector<RowSpan>& spans, int frame_width, Visit visit)
{
    for (size_t band = 0; band < spans.size(); band += TileRows) {
        const size_t band_end = std::min(spans.size(), band + TileRows);
        for (int tile = 0; tile < frame_width; tile += TileColumns) {
            for (size_t i = band; i < band_end; ++i) {
                const int first = std::max(spans[i].first, tile);
                const int last = std::min(spans[i].last, tile + TileColumns - 1);
                if (first <= last)
                    visit(i, first, last);
            }
        }
    }
}

// Upright at scale 1 on whole pixels: placed at (left, top) unfiltered.
bool Upright(const Placement& at, int* left, int* top)
{
    double s, c;
    SinCos(at.degrees, &s, &c);
    const double shift_x = at.x - at.pivot_x, shift_y = at.y - at.pivot_y;
    if (!(s == 0 && c == 1 && at.scale == 1 && shift_x == floor(shift_x) && shift_y == floor(shift_y)))
        return false;
    *left = int(shift_x);
    *top = int(shift_y);
    return true;
}

// The frame rows and columns a placed picture's samples cover. Upright on
// whole pixels: one sample a pixel, exactly the picture's own; its ring is
// transparent, and a sample there would read past the ring.
void LayerSpans(const Picture& picture, const Placement& at, int frame_width, int frame_height,
                std::vector<RowSpan>* spans, int32_t* du, int32_t* dv)
{
    int left, top;
    if (!Upright(at, &left, &top)) {
        TurnedSpans(picture, at, frame_width, frame_height, spans, du, dv);
        return;
    }
    *du = int32_t(FixedOne);
    *dv = 0;
    spans->clear();
    for (int y = std::max(top, 0); y < std::min(top + picture.height, frame_height); ++y) {
        RowSpan span{y, std::max(left, 0), std::min(left + picture.width - 1, frame_width - 1), 0, 0};
        span.u = int32_t((span.first - left + 1) * FixedOne);
        span.v = int32_t((y - top + 1) * FixedOne);
        if (span.first <= span.last)
            spans->push_back(span);
    }
}

// One row's samples as the layer's runs: transparent ones dropped, the
// rest split where opacity changes, their pixels stored from *opaque and
// *edge on in the layer's sized storage.
void StoreRuns(const PackedPixel* row, const RowSpan& span, Layer* layer, size_t* opaque, size_t* edge)
{
    const int count = span.last - span.first + 1;
    for (int x = 0; x < count;) {
        if (row[x] == 0) {
            ++x;
            continue;
        }
        const bool is_opaque = IsOpaque(row[x]);
        int end = x + 1;
        while (end < count && row[end] != 0 && IsOpaque(row[end]) == is_opaque)
            ++end;
        size_t& next = is_opaque ? *opaque : *edge;
        layer->runs.push_back({span.y, span.first + x, end - x, is_opaque, next});
        if (is_opaque) {
            uint8_t* out = &layer->rgb[next * 3];
            for (int k = x; k < end; ++k, out += 3) {
                out[0] = uint8_t(row[k] >> 16);
                out[1] = uint8_t(row[k] >> 8);
                out[2] = uint8_t(row[k]);
            }
        } else {
            std::copy(row + x, row + end, &layer->edge[next]);
        }
        next += size_t(end - x);
        x = end;
    }
}

}  // namespace

WidePixel BilinearSample(const WidePixel* p, int pitch, uint32_t wx, uint32_t wy)
{
    WidePixel out;
    _mm_storel_epi64((__m128i*)&out, BilinearLanes(p, pitch, wx, wy));
    return out;
}

RgbColour Dimmed(RgbColour colour, uint32_t brightness)
{
    return {uint8_t(colour.r * brightness >> 8), uint8_t(colour.g * brightness >> 8),
            uint8_t(colour.b * brightness >> 8)};
}

void DrawPicture(Frame* frame, const Picture& picture, const Placement& at, uint32_t brightness)
{
    if (picture.empty())
        return;  // an element without a bitmap
    int left, top;
    if (Upright(at, &left, &top)) {
        CopyAligned(frame, picture, left, top, brightness);
        return;
    }
    int32_t du, dv;
    std::vector<RowSpan> spans;
    TurnedSpans(picture, at, frame->width, frame->height, &spans, &du, &dv);
    ForEachTile(spans, frame->width, [&](size_t i, int first, int last) {
        const RowSpan& span = spans[i];
        const int skip = first - span.first;
        SampleRow(frame->Row(span.y) + first * 3, picture, span.u + skip * du, span.v + skip * dv, du, dv,
                  last - first + 1, brightness);
    });
}

void LayerSampler::Sample(const Picture& picture, const Placement& at, int frame_width, int frame_height,
                          Layer* layer)
{
    layer->runs.clear();
    layer->rgb.clear();
    layer->edge.clear();
    if (picture.empty())
        return;
    int32_t du, dv;
    LayerSpans(picture, at, frame_width, frame_height, &spans_, &du, &dv);

    // All samples first, tile by tile: every sample of every span is written.
    starts_.assign(spans_.size() + 1, 0);
    for (size_t i = 0; i < spans_.size(); ++i)
        starts_[i + 1] = starts_[i] + size_t(spans_[i].last - spans_[i].first + 1);
    samples_.resize(starts_.back());
    ForEachTile(spans_, frame_width, [&](size_t i, int first, int last) {
        const RowSpan& span = spans_[i];
        const int skip = first - span.first;
        SampleInto(&samples_[starts_[i] + skip], picture, span.u + skip * du, span.v + skip * dv, du, dv,
                   last - first + 1);
    });

    // Then the pixels, in storage of the exact size: a cached layer holds
    // no slack.
    size_t opaque = 0, edge = 0;
    for (const PackedPixel sample : samples_)
        if (sample)
            ++(IsOpaque(sample) ? opaque : edge);
    layer->rgb.resize(opaque * 3);
    layer->edge.resize(edge);
    opaque = edge = 0;
    for (size_t i = 0; i < spans_.size(); ++i)
        StoreRuns(&samples_[starts_[i]], spans_[i], layer, &opaque, &edge);
}

void DrawLayer(Frame* frame, const Layer& layer, uint32_t brightness)
{
    for (const Layer::Run& run : layer.runs) {
        if (run.y >= frame->height || run.x + run.length > frame->width)
            continue;  // made for a larger frame
        uint8_t* d = frame->Row(run.y) + run.x * 3;
        if (run.opaque) {
            const uint8_t* src = &layer.rgb[run.at * 3];
            const size_t bytes = size_t(run.length) * 3;
            if (brightness == FullBrightness) {
                memcpy(d, src, bytes);
            } else {
                for (size_t b = 0; b < bytes; ++b)
                    d[b] = uint8_t(src[b] * brightness >> 8);
            }
        } else {
            for (int k = 0; k < run.length; ++k, d += 3)
                Blend(d, layer.edge[run.at + k], brightness);
        }
    }
}

void FillBox(Frame* frame, const FrameBox& box, RgbColour colour, double opacity)
{
    const int x_first = std::max(0, int(floor(box.x0))), x_last = std::min(frame->width - 1, int(ceil(box.x1)) - 1);
    const int y_first = std::max(0, int(floor(box.y0))), y_last = std::min(frame->height - 1, int(ceil(box.y1)) - 1);
    auto overlap = [](double a0, double a1, int p) { return std::max(0.0, std::min(a1, p + 1.0) - std::max(a0, double(p))); };
    for (int y = y_first; y <= y_last; ++y) {
        const double cover_y = overlap(box.y0, box.y1, y) * opacity;
        uint8_t* d = frame->Row(y) + x_first * 3;
        for (int x = x_first; x <= x_last; ++x, d += 3) {
            // Coverage is never negative: adding a half and truncating rounds it.
            const uint32_t alpha = uint32_t(overlap(box.x0, box.x1, x) * cover_y * 255 + 0.5);
            if (!alpha)
                continue;
            Blend(d, Packed(alpha, (colour.r * alpha + 127) / 255, (colour.g * alpha + 127) / 255,
                            (colour.b * alpha + 127) / 255),
                  FullBrightness);
        }
    }
}

void StrokeBox(Frame* frame, const FrameBox& box, RgbColour colour)
{
    FillBox(frame, {box.x0, box.y0, box.x1, box.y0 + 1}, colour);
    FillBox(frame, {box.x0, box.y1 - 1, box.x1, box.y1}, colour);
    FillBox(frame, {box.x0, box.y0 + 1, box.x0 + 1, box.y1 - 1}, colour);
    FillBox(frame, {box.x1 - 1, box.y0 + 1, box.x1, box.y1 - 1}, colour);
}
