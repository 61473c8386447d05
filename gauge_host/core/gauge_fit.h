// gauge_fit.h: where the preview window draws a gauge in its view, and
// which face pixel lies under a point of it.
//
// The gauge is drawn as large as the view allows with its aspect kept,
// from the view's top-left corner, so resizing never moves the face pixel
// under the gauge's corner and a click maps back by the scale alone.
#pragma once

struct GaugeFit {
    double scale = 1;  // view pixels per face pixel, as the compositor takes it
    int width = 0, height = 0;  // the drawn gauge, in view pixels
};

// gauge: the face's size in face pixels; view: the area to fill. A view too
// small for a pixel still draws one.
GaugeFit FitGauge(int gauge_width, int gauge_height, int view_width, int view_height);

// The face pixel whose area holds the centre of view pixel (x, y); false
// when the view pixel lies outside the drawn gauge.
bool FacePixelAt(const GaugeFit& fit, int gauge_width, int gauge_height, int x, int y, int* face_x, int* face_y);
