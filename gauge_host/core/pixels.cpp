#include "gauge_host/core/pixels.h"

#include <string.h>

void Frame::Resize(int w, int h)
{
    width = w;
    height = h;
    rgb.resize(size_t(w) * h * 3);
}

void Frame::Fill(RgbColour colour)
{
    if (rgb.empty())
        return;
    uint8_t* first = Row(0);
    for (int x = 0; x < width; ++x) {
        first[x * 3] = colour.r;
        first[x * 3 + 1] = colour.g;
        first[x * 3 + 2] = colour.b;
    }
    for (int y = 1; y < height; ++y)
        memcpy(Row(y), first, size_t(Stride()));
}

Picture MakePicture(int width, int height, const uint8_t* rgb, bool black_is_transparent)
{
    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.samples.assign(size_t(width + 2) * (height + 2), 0);
    picture.rgb.assign(rgb, rgb + size_t(width) * height * 3);
    picture.row_runs.push_back(0);
    for (int y = 0; y < height; ++y) {
        int run_start = -1;
        for (int x = 0; x <= width; ++x) {
            const uint8_t* p = rgb + (size_t(y) * width + x) * 3;
            const bool opaque = x < width && !(black_is_transparent && p[0] == 0 && p[1] == 0 && p[2] == 0);
            if (opaque) {
                picture.samples[size_t(y + 1) * picture.Pitch() + x + 1] = Widen(255, p[0], p[1], p[2]);
                if (run_start < 0)
                    run_start = x;
            } else if (run_start >= 0) {
                picture.runs.push_back({run_start, x - run_start});
                run_start = -1;
            }
        }
        picture.row_runs.push_back(picture.runs.size());
    }
    const int pitch = picture.Pitch();
    picture.clear.assign(picture.samples.size(), 1);
    for (int y = 0; y <= height; ++y)
        for (int x = 0; x <= width; ++x) {
            const size_t at = size_t(y) * pitch + x;
            const WidePixel* p = &picture.samples[at];
            picture.clear[at] = (p[0] | p[1] | p[pitch] | p[pitch + 1]) == 0;
        }
    return picture;
}
