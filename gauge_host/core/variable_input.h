// variable_input.h: how the preview window shows and changes host
// variables -- the slider and its keys for the watched variable, the
// number and value typed into the set box, and the list of the variables
// a gauge reads.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "gauge_host/core/record_walk.h"

constexpr uint32_t SliderVariable = 558;  // the variable TIY watches
constexpr int SliderPositions = 1000;     // the slider spans 0.0 to 1.0 in steps of 0.001
// Up/Down move it 0.01, a change large enough for the gauge to send its
// event on every press; Page Up/Page Down 0.1.
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

// The source variables of the gauge's elements, each once, in tree order.
std::vector<uint32_t> VariablesRead(const GaugeRecords& gauge);
