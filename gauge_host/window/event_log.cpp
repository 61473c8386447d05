#include "gauge_host/window/event_log.h"

namespace {

// Enough for hours of events; past it the oldest lines go.
constexpr int MaxLines = 10000;

}  // namespace

const char EventLogHeading[] = "  frame    time s  event        value";

EventLog::~EventLog()
{
    if (file_)
        fclose(file_);
}

bool EventLog::OpenFile(const std::string& path, std::string* error)
{
    file_ = fopen(path.c_str(), "w");
    if (!file_) {
        *error = "--log " + path + ": cannot write it";
        return false;
    }
    fputs(EventCsvHeader, file_);
    fflush(file_);
    return true;
}

HWND EventLog::Create(HWND parent, int id, HFONT font)
{
    list_ = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "",
                            WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_NOINTEGRALHEIGHT | LBS_NOSEL, 0,
                            0, 0, 0, parent, HMENU(INT_PTR(id)), GetModuleHandleA(nullptr), nullptr);
    SendMessageA(list_, WM_SETFONT, WPARAM(font), FALSE);
    return list_;
}

void EventLog::Add(const std::vector<KeyEventRecord>& events)
{
    for (; shown_ < events.size(); ++shown_) {
        const KeyEventRecord& e = events[shown_];
        char line[96];
        snprintf(line, sizeof line, "%7lld %9.3f  0x%08X %7d", (long long)e.frame, e.time_s, unsigned(e.event),
                 int(e.value));
        AddLine(line);
        if (file_) {
            WriteEventCsvLine(file_, e);
            fflush(file_);  // read while the window runs: by a person tailing it, or by a test
        }
    }
}

void EventLog::StartOver(const std::string& note)
{
    shown_ = 0;
    AddLine("--- " + note);
}

void EventLog::AddLine(const std::string& line)
{
    if (SendMessageA(list_, LB_GETCOUNT, 0, 0) >= MaxLines)
        SendMessageA(list_, LB_DELETESTRING, 0, 0);
    const LRESULT index = SendMessageA(list_, LB_ADDSTRING, 0, LPARAM(line.c_str()));
    SendMessageA(list_, LB_SETTOPINDEX, WPARAM(index), 0);
}
