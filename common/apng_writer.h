// apng_writer.h: writes an animated PNG (APNG) of 8-bit RGB frames of one
// size, each compressed (png_writer's rows) as it is added, so only the compressed
// frames and the last picture are held. After the first, a frame holds
// only the box of pixels that changed, drawn over the one before: a gauge
// changes little from frame to frame.
//
// Usage:
//   ApngWriter apng(width, height, 18);      // delays in 1/18 s
//   apng.AddFrame(rgb, width * 3, 3);        // shown for 3/18 s
//   ...
//   if (!apng.Write("demo.png", &error)) ...
//
// The first frame is also the still image, so a viewer without APNG shows
// it. The animation loops forever. A frame's delay is at most MaxApngDelay
// units; a longer one is given as several frames of the same pixels. A
// frame that cannot be compressed makes Write fail with the reason.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

constexpr int MaxApngDelay = 65535;

class ApngWriter {
public:
    ApngWriter(int width, int height, int delay_denominator);

    void AddFrame(const uint8_t* rgb, int stride, int64_t delay);
    int frames() const { return int(frames_.size()); }

    std::vector<uint8_t> Encode() const;
    bool Write(const std::string& path, std::string* error) const;

private:
    struct CompressedFrame {
        int x, y, width, height;
        std::vector<uint8_t> stream;
        int delay;
    };
    int width_, height_, delay_denominator_;
    std::vector<CompressedFrame> frames_;
    std::vector<uint8_t> last_;  // the picture so far, width_ * 3 bytes a row
    std::string error_;  // the first frame that could not be compressed
};
