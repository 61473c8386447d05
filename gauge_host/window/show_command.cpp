#include "gauge_host/window/show_command.h"

#include <windows.h>

#include <commctrl.h>
#include <stdio.h>

#include "gauge_host/core/output_files.h"
#include "gauge_host/core/session_recorder.h"
#include "gauge_host/window/event_log.h"
#include "gauge_host/window/live_gauge.h"
#include "gauge_host/window/preview_window.h"
#include "gauge_host/command/command_line.h"
#include "gauge_host/core/scenario_runner.h"

namespace {

HWND ShownWindow = nullptr;

// Ctrl+C in the console closes the window as its close box does, so the
// gauge is killed and the module freed, its copy deleted, not left behind.
BOOL WINAPI CloseOnBreak(DWORD signal)
{
    if (signal != CTRL_C_EVENT && signal != CTRL_BREAK_EVENT)
        return FALSE;
    PostMessageA(ShownWindow, WM_CLOSE, 0, 0);
    return TRUE;
}

}  // namespace

int ShowGauge(const Options& options, CallGate* gate)
{
    // The slider and the tooltip.
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    gate->AbandonOnHang();  // the window stays, and says which call hung
    LiveGauge gauge(gate);
    std::string error;
    if (!gauge.Open(options.module, options.gauge, options.view, &error))
        return Refuse(error);
    EventLog log;
    if (!options.log.empty() && !log.OpenFile(options.log, &error))
        return Refuse(error);
    SessionRecorder recorder;
    PreviewWindow window(&gauge, &log, options.record.empty() ? nullptr : &recorder);
    if (!window.Create(options.size))
        return Refuse("cannot open a window (error " + std::to_string(GetLastError()) + ")");
    // Opened before the session, so a file that cannot be written is said
    // now, not once the session is lost.
    FILE* record = nullptr;
    if (!options.record.empty() && (!MakeFolderOf(options.record, &error) ||
                                    !(record = fopen(options.record.c_str(), "wb"))))
        return Refuse(error.empty() ? "cannot write " + options.record : error);
    ShownWindow = window.hwnd();
    SetConsoleCtrlHandler(CloseOnBreak, TRUE);
    printf("gauge-host: showing gauge \"%s\" of %s; it reloads when the file changes; close the window to quit\n",
           gauge.gauge().name.c_str(), options.module.c_str());
    fflush(stdout);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        if (!window.HandleMessage(&message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    int status = ExitOk;
    if (record) {
        const std::string text = recorder.Finish(
            gauge.host(), "# A session in gauge-host show: gauge \"" + gauge.gauge().name + "\" of " + options.module +
                              ".\n# Replay it with: gauge-host run MODULE " + options.record + "\n\n");
        const bool written = fwrite(text.data(), 1, text.size(), record) == text.size();
        if (fclose(record) == 0 && written)
            printf("gauge-host: recorded the session in %s\n", options.record.c_str());
        else
            status = Refuse("cannot write " + options.record);
    }
    gauge.Close();
    return gauge.stalled() ? ExitBadInput : status;
}
