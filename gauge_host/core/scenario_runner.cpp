// Plays the rows of scenario_commands.h one after another on the host.
#include "gauge_host/core/scenario_runner.h"

#include "gauge_host/core/output_files.h"
#include "gauge_host/core/scenario_commands.h"

namespace {

// A click or hold off the face reaches no mouse area: it would do nothing,
// and the expectations after it would hold for the wrong reason.
bool PointsOnFace(const PanelHost& host, const Scenario& scenario, FILE* err)
{
    for (const ScenarioCommand& c : scenario.commands) {
        if (!TypeOf(c).presses_at || (c.x >= 0 && c.y >= 0 && c.x < host.width() && c.y < host.height()))
            continue;
        fprintf(err, "%s:%d: point (%d, %d) is off the %d x %d face: a %s there would reach nothing\n",
                scenario.file.c_str(), c.line, c.x, c.y, host.width(), host.height(), TypeOf(c).name);
        return false;
    }
    return true;
}

}  // namespace

void ScenarioPlayer::RunFrame()
{
    host.RunFrame();
    if (options.animation && host.has_frame())
        options.animation->AddFrame(host.frame());
}

void ScenarioPlayer::Fail(const ScenarioCommand& c, const std::string& message)
{
    ++expectations;
    ++failures;
    fprintf(err_, "%s:%d: %s\n", scenario_.file.c_str(), c.line, message.c_str());
}

void ScenarioPlayer::Check(const ScenarioCommand& c, bool held, const std::string& expected, const std::string& got)
{
    ++expectations;
    if (held)
        return;
    ++failures;
    fprintf(err_, "%s:%d: expected %s, got %s\n", scenario_.file.c_str(), c.line, expected.c_str(), got.c_str());
}

bool ScenarioPlayer::Refuse(const ScenarioCommand& c, const std::string& message)
{
    fprintf(err_, "%s:%d: %s\n", scenario_.file.c_str(), c.line, message.c_str());
    return false;
}

void ScenarioPlayer::PrintNewEvents()
{
    for (; printed_ < host.key_events().size(); ++printed_) {
        const KeyEventRecord& e = host.key_events()[printed_];
        fprintf(out, "frame %5lld  %8.3f s  event 0x%08X %d\n", (long long)e.frame, e.time_s, unsigned(e.event),
                int(e.value));
    }
}

int RunScenario(PanelHost* host, const Scenario& scenario, const std::string& out_dir, FILE* out, FILE* err,
                const RunOptions& options)
{
    if (!PointsOnFace(*host, scenario, err))
        return ExitBadInput;
    ScenarioPlayer player(host, scenario, out_dir, out, err, options);
    bool runnable = true;
    for (const ScenarioCommand& c : scenario.commands) {
        runnable = TypeOf(c).run(player, c);
        player.PrintNewEvents();
        if (!runnable)
            break;
    }
    std::string error;
    if (!WriteEventsCsv(*host, out_dir, &error)) {
        fprintf(err, "%s: %s\n", scenario.file.c_str(), error.c_str());
        return ExitBadInput;
    }
    fprintf(out, "%s: %d of %d expectations held; %lld frames, %d key events, %d snapshots; events in %s\n",
            scenario.file.c_str(), player.expectations - player.failures, player.expectations,
            (long long)host->frames(), int(host->key_events().size()), player.snapshots,
            PathIn(out_dir, "events.csv").c_str());
    if (options.update_snapshots)
        fprintf(out, "%s: %d references written\n", scenario.file.c_str(), player.references_written);
    if (!runnable)
        return ExitBadInput;
    return player.failures ? ExitFailed : ExitOk;
}

bool WriteEventsCsv(const PanelHost& host, const std::string& out_dir, std::string* error)
{
    const std::string path = PathIn(out_dir, "events.csv");
    if (!MakeFolder(out_dir, error))
        return false;
    FILE* file = fopen(path.c_str(), "w");
    if (!file) {
        *error = "cannot write " + path;
        return false;
    }
    fputs(EventCsvHeader, file);
    for (const KeyEventRecord& e : host.key_events())
        WriteEventCsvLine(file, e);
    const bool written = fclose(file) == 0;
    if (!written)
        *error = "cannot write " + path;
    return written;
}
