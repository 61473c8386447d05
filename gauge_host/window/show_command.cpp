#include "gauge_host/window/show_command.h"

#include <windows.h>

#include <commctrl.h>
#include <stdio.h>

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

int ShowGauge(const Options& options)
{
    // The slider and the tooltip.
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    LiveGauge gauge;
    std::string error;
    if (!gauge.Open(options.module, options.gauge, options.view, &error))
        return Refuse(error);
    EventLog log;
    if (!options.log.empty() && !log.OpenFile(options.log, &error))
        return Refuse(error);
    PreviewWindow window(&gauge, &log);
    if (!window.Create(options.size))
        return Refuse("cannot open a window (error " + std::to_string(GetLastError()) + ")");
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
    gauge.Close();
    return ExitOk;
}
