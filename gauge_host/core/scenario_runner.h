// scenario_runner.h: plays a parsed scenario on a started panel host.
//
// Usage:
//   int status = RunScenario(&host, scenario, "out/demo", stdout, stderr);
//
// Key events are printed as they happen; a failed expectation prints
// "FILE:LINE: expected ..., got ..." on err and the run goes on. At the
// end DIR/events.csv holds every key event (frame, time_s, event, value).
// Snapshot paths are taken from DIR unless absolute; the references of
// `expect snapshot` from the scenario's own folder. A snapshot that differs
// is a failed expectation, and DIR gets NAME.actual.png and NAME.diff.png.
// With options.update_snapshots each reference is written instead of
// checked; with options.animation every drawn frame also goes there.
//
// Returns the exit status: 0 when every expectation held, 1 when one
// failed, 2 when the scenario cannot run on this gauge (FILE:LINE: ...),
// such as a click or hold off its face, refused before anything runs, or a
// reference picture that is missing, unreadable or of another size.
#pragma once

#include <stdio.h>

#include <string>

#include "gauge_host/core/panel_host.h"
#include "gauge_host/core/scenario_commands.h"
#include "gauge_host/core/scenario_parser.h"

int RunScenario(PanelHost* host, const Scenario& scenario, const std::string& out_dir, FILE* out, FILE* err,
                const RunOptions& options = {});

// DIR/events.csv with the host's key events so far.
bool WriteEventsCsv(const PanelHost& host, const std::string& out_dir, std::string* error);

