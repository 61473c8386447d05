// gauge-host: a substitute panel host for gauge modules. Loads a module
// with the Windows loader, then runs a scenario on one of its gauges,
// draws a snapshot, or shows it live in a window, every call into it
// through the call gate; or describes it without running any of its code.
// See HelpText for the commands.
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "gauge_host/core/area_overlay.h"
#include "gauge_host/command/command_line.h"
#include "gauge_host/core/dib_reader.h"
#include "common/file_bytes.h"
#include "gauge_host/core/gauge_description.h"
#include "gauge_host/windows/module_loader.h"
#include "gauge_host/windows/module_resources.h"
#include "gauge_host/core/output_files.h"
#include "gauge_host/core/panel_host.h"
#include "gauge_host/core/scenario_runner.h"
#include "gauge_host/window/show_command.h"
#include "gauge_host/windows/call_gate.h"

namespace {

// A module that faults while the host runs it ends the run with one line
// naming the fault and the module it happened in, instead of a crash dialog.
LONG WINAPI ReportFault(EXCEPTION_POINTERS* fault)
{
    const EXCEPTION_RECORD& record = *fault->ExceptionRecord;
    char where[MAX_PATH] = "no loaded module";
    HMODULE module;
    if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           static_cast<const char*>(record.ExceptionAddress), &module)) {
        char path[MAX_PATH];
        const DWORD length = GetModuleFileNameA(module, path, sizeof path);
        if (length > 0 && length < sizeof path) {
            const char* name = strrchr(path, '\\');
            snprintf(where, sizeof where, "%s", name ? name + 1 : path);
        }
    }
    fprintf(stderr, "gauge-host: exception 0x%08lX at 0x%08lX in %s: the run stops\n", record.ExceptionCode,
            (unsigned long)(uintptr_t)record.ExceptionAddress, where);
    fflush(stdout);
    fflush(stderr);
    ExitProcess(ExitBadInput);
}

const char* const NeverDrawn = ": the gauge's draw routine never reached the draw service";

// Placed and installed with the module's own handle, as a panel does.
bool StartHost(PanelHost* host, const LoadedModule& module, const Options& options, std::string* error)
{
    if (host->Start(module.library, error))
        return true;
    *error = options.module + ": " + *error;
    return false;
}

void PrintWarnings(const PanelHost& host)
{
    for (const std::string& warning : host.warnings())
        fprintf(stderr, "gauge-host: warning: %s\n", warning.c_str());
}

int Describe(const LoadedModule& module, const Options& options)
{
    ModuleFacts facts;
    facts.path = options.module;
    for (const GaugeRecords& gauge : module.records.gauges)
        for (const ElementRecord& element : gauge.elements) {
            const int32_t number = element.header.bitmap;
            if (number == BITMAP_NONE || facts.bitmaps.count(number))
                continue;
            std::vector<uint8_t> bytes;
            Dib dib;
            BitmapFacts& b = facts.bitmaps[number];
            if (LoadBitmapResource(module.library, number, &bytes, &b.error) &&
                ReadDib(bytes.data(), bytes.size(), &dib, &b.error))
                b = {dib.width, dib.height, dib.bits_per_pixel, dib.colours, ""};
        }
    facts.resources = ListResources(module.library);
    ReadVersionFacts(options.module.c_str(), &facts);
    DescribeModule(module.records, facts, stdout);
    if (options.areas.empty())
        return ExitOk;

    PanelHost host(module.Selected(), LoadBitmapResource, View{});
    std::string error;
    if (!host.Preview(module.library, &error))
        return Refuse(options.module + ": " + error);
    Frame frame = host.frame();
    DrawMouseAreas(&frame, module.Selected().mouse_areas, 1.0);
    if (!WriteFramePng(frame, options.areas, &error))
        return Refuse(error);
    PrintWarnings(host);
    printf("wrote %s: the mouse areas of gauge \"%s\", tinted as in the table\n", options.areas.c_str(),
           module.Selected().name.c_str());
    return ExitOk;
}

int Run(const LoadedModule& module, const Options& options, CallGate* gate)
{
    std::vector<uint8_t> text;
    if (!ReadFileBytes(options.scenario, &text))
        return Refuse(options.scenario + ": cannot read the scenario");
    Scenario scenario;
    std::string error;
    if (!ParseScenario(reinterpret_cast<const char*>(text.data()), text.size(), options.scenario, &scenario, &error)) {
        fprintf(stderr, "%s\n", error.c_str());
        return ExitBadInput;
    }
    PanelHost host(module.Selected(), LoadBitmapResource, options.view);
    gate->OnHang([&](const std::string&) {
        std::string ignored;
        WriteEventsCsv(host, options.out_dir, &ignored);
    });
    if (!StartHost(&host, module, options, &error))
        return Refuse(error);
    ScenarioAnimation animation(options.fps);
    RunOptions run;
    run.update_snapshots = options.update_snapshots;
    run.animation = options.animation.empty() ? nullptr : &animation;
    int status = RunScenario(&host, scenario, options.out_dir, stdout, stderr, run);
    host.Stop();
    PrintWarnings(host);
    if (run.animation && status != ExitBadInput) {
        if (!animation.Write(options.animation, &error))
            return Refuse(options.animation + ": " + error);
        printf("wrote %s: %d frames, %d x %d, %d a second\n", options.animation.c_str(), animation.frames(),
               animation.width(), animation.height(), options.fps);
    }
    return status;
}

int Snapshot(const LoadedModule& module, const Options& options)
{
    PanelHost host(module.Selected(), LoadBitmapResource, options.view);
    std::string error;
    if (!StartHost(&host, module, options, &error))
        return Refuse(error);
    int clicks = 0;
    for (const SnapshotStep& step : options.steps) {
        if (step.set_variable) {
            host.variables.Set(step.variable, step.value);
            continue;
        }
        if (step.x < 0 || step.y < 0 || step.x >= host.width() || step.y >= host.height())
            return Refuse("--click " + std::to_string(step.x) + " " + std::to_string(step.y) + ": off the " +
                          std::to_string(host.width()) + " x " + std::to_string(host.height()) +
                          " face, a click there would reach nothing");
        for (int i = 0; i < step.count; ++i) {
            host.Press(step.x, step.y, MouseButton::Left);
            host.Release();
        }
        clicks += step.count;
        host.RunFrame();
    }
    host.RunFrame();
    if (!host.has_frame())
        return Refuse(options.module + NeverDrawn);
    if (!WriteFramePng(host.frame(), options.png, &error))
        return Refuse(error);
    printf("wrote %s: %d x %d, %d clicks, %s\n", options.png.c_str(), host.frame().width, host.frame().height,
           clicks, options.view.light == Light::Night ? "night" : "day");
    host.Stop();
    PrintWarnings(host);
    return ExitOk;
}

}  // namespace

int main(int argc, char** argv)
{
    SetUnhandledExceptionFilter(ReportFault);
    Options options;
    std::string error;
    if (!ParseCommandLine(argc, argv, &options, &error))
        return Refuse(error);
    if (options.command == Options::Help) {
        fputs(HelpText(options.help_for).c_str(), stdout);
        return ExitOk;
    }
    CallGate gate(options.module, options.fpu_bits, options.call_timeout);
    SetModuleGate(&gate);
    // The window loads the module itself, and again whenever the file changes.
    if (options.command == Options::Show)
        return ShowGauge(options, &gate);

    const char* gauge = options.gauge.empty() ? nullptr : options.gauge.c_str();
    LoadedModule module;
    if (options.command == Options::Describe ? !ReadGaugeModule(options.module.c_str(), gauge, &module, &error)
                                             : !LoadGaugeModule(options.module.c_str(), gauge, PanelServiceTable(),
                                                                &module, &error))
        return Refuse(error);
    int status = ExitOk;
    switch (options.command) {
    case Options::Describe: status = Describe(module, options); break;
    case Options::Run: status = Run(module, options, &gate); break;
    case Options::Snapshot: status = Snapshot(module, options); break;
    case Options::Help:
    case Options::Show: break;
    }
    UnloadGaugeModule(&module);
    return status;
}
