#include "gauge_host/core/gauge_fit.h"

#include <math.h>

#include <algorithm>

#include "gauge_host/core/compositor.h"

GaugeFit FitGauge(int gauge_width, int gauge_height, int view_width, int view_height)
{
    const double across = double(std::max(view_width, 1)) / gauge_width;
    const double down = double(std::max(view_height, 1)) / gauge_height;
    GaugeFit fit;
    fit.scale = std::min(across, down);
    // The compositor's own rounding, so the fit is the frame it draws.
    fit.width = std::max(FrameSize(gauge_width, fit.scale), 1);
    fit.height = std::max(FrameSize(gauge_height, fit.scale), 1);
    return fit;
}

bool FacePixelAt(const GaugeFit& fit, int gauge_width, int gauge_height, int x, int y, int* face_x, int* face_y)
{
    if (x < 0 || y < 0 || x >= fit.width || y >= fit.height)
        return false;
    // Rounding may leave the last view pixel's centre a hair past the face.
    *face_x = std::min(int(floor((x + 0.5) / fit.scale)), gauge_width - 1);
    *face_y = std::min(int(floor((y + 0.5) / fit.scale)), gauge_height - 1);
    return true;
}
