// panel_metrics.h: measures of the preview window's side panel, in client
// pixels, shared by the window and the controls it lays out.
#pragma once

constexpr int PanelLineHeight = 18;  // a line of text
