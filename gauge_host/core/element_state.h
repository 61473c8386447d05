// element_state.h: what the host keeps for each element between frames,
// and how the frame is to be viewed. Filled by the panel host's services,
// read by the compositor.
#pragma once

#include <array>
#include <memory>

#include "gauge_host/core/pixels.h"
#include "gauge_host/core/record_walk.h"

enum class Light { Day, Night };

struct View {
    double scale = 1;  // frame pixels per face pixel
    Light light = Light::Day;
    bool operator==(const View&) const = default;
};

struct ElementState {
    const ElementRecord* record = nullptr;
    // The element's bitmap, once installed; shared, so the state can be kept
    // as it was drawn without copying pixels.
    std::shared_ptr<const Picture> picture;
    std::array<char, MaxStringChars + 1> text{};  // the buffer a string element writes into
    double value = 0;    // a needle's last callback value
    double degrees = 0;  // and the angle it gives
};
