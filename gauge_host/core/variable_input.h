// variable_input.h: how the preview window changes host variables -- the
// grid of its sliders and the steps of their keys, and the number and value
// typed into the set box.
#pragma once

#include <stdint.h>

#include <string>

// More would push the window past a screen's height; the rest are set
// through the set box.
constexpr size_t MaxSliders = 12;
constexpr int SliderPositions = 1000;  // a slider spans 0.0 to 1.0 in steps of 0.001
// Up/Down move one 0.01, a change a gauge watching for changes over 0.005
// sees on every press; Page Up/Page Down 0.1.
constexpr int KeyStepPositions = 10;
constexpr int PageStepPositions = 100;

// The nearest slider position, held to the slider's ends.
int SliderPosition(double value);
double SliderValue(int position);
// value moved by that many slider positions, on the slider's grid.
double SteppedValue(double value, int positions);

// A variable number: decimal or 0x hex, 0 to 0xFFFFFFFF, spaces around allowed.
bool ParseVariableNumber(const std::string& text, uint32_t* number);
// A finite decimal value, spaces around allowed.
bool ParseVariableValue(const std::string& text, double* value);
