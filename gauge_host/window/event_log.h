// event_log.h: the preview window's live list of the key events a gauge
// sends -- frame, time, event, value -- and, when asked, the same events
// appended to a CSV file as they come, in the columns of run's events.csv.
//
// Usage:
//   EventLog log;
//   if (!log.OpenFile("events.csv", &error)) ...
//   log.Create(parent, id, font);
//   log.Add(host.key_events());  // every frame: shows the ones not yet shown
//   log.StartOver("reloaded");   // a new host, whose frames count from 0
#pragma once

#include <windows.h>

#include <stdio.h>

#include <string>
#include <vector>

#include "gauge_host/core/panel_host.h"

// The list's column heads, aligned with its lines.
extern const char EventLogHeading[];

class EventLog {
public:
    EventLog() = default;
    ~EventLog();
    EventLog(const EventLog&) = delete;
    EventLog& operator=(const EventLog&) = delete;

    bool OpenFile(const std::string& path, std::string* error);
    HWND Create(HWND parent, int id, HFONT font);
    void Add(const std::vector<KeyEventRecord>& events);
    // A line across the list; the file, plain CSV, gets none.
    void StartOver(const std::string& note);

private:
    void AddLine(const std::string& line);

    HWND list_ = nullptr;
    FILE* file_ = nullptr;
    size_t shown_ = 0;  // events of the current host already listed
};
