// live_gauge.h: a gauge module kept running as its file changes on disk,
// for the preview window.
//
// Each load works on a private copy of the file: Windows locks the file of
// a loaded DLL, which would stop the build from rewriting it, and
// LoadLibrary of a path already loaded hands back the module it has, not
// the new file. When the file changes and the new module loads and starts,
// it replaces the old one and begins from zero, as on a real load; when it
// does not, the old one goes on running and the error says why.
//
// Usage:
//   LiveGauge gauge;
//   if (!gauge.Open("ZARO.gau", "", view, &error)) ...
//   gauge.host().RunFrame();
//   if (gauge.Poll(&message) != LiveGauge::Change::None) ...  // now and then
//   gauge.Close();  // the gauge's kill, the module freed
//
// A call into the module that never returns is abandoned by the call gate;
// the gauge is then stalled for good: nothing more of the module runs, no
// reload is tried, and at the close it is left mapped, since even its
// unload entry is its code.
#pragma once

#include <windows.h>

#include <stdint.h>

#include <memory>
#include <string>

#include "gauge_host/windows/call_gate.h"
#include "gauge_host/windows/module_loader.h"
#include "gauge_host/core/panel_host.h"

class LiveGauge {
public:
    enum class Change { None, Reloaded, Failed };

    explicit LiveGauge(CallGate* gate) : gate_(gate) {}
    ~LiveGauge() { Close(); }
    LiveGauge(const LiveGauge&) = delete;
    LiveGauge& operator=(const LiveGauge&) = delete;

    // gauge_name empty picks the module's first gauge, now and on reloads.
    bool Open(const std::string& path, const std::string& gauge_name, View view, std::string* error);
    // Reloads once the file has changed and then stayed the same from one
    // poll to the next, so a file still being written is left alone.
    Change Poll(std::string* message);
    void Close();
    // After calls into the module: true once one was abandoned, with the
    // gate's line in stall_line().
    bool CheckStalled();
    bool stalled() const { return stalled_; }
    const std::string& stall_line() const { return stall_line_; }

    PanelHost& host() { return *running_.host; }
    const GaugeRecords& gauge() const { return running_.module.Selected(); }
    const std::string& path() const { return path_; }

private:
    struct FileStamp {
        bool exists = false;
        FILETIME written{};
        uint64_t size = 0;
        bool operator==(const FileStamp& other) const;
    };
    struct Loaded {
        std::string copy;
        LoadedModule module;
        std::unique_ptr<PanelHost> host;
    };

    static FileStamp StampOf(const std::string& path);
    bool Load(Loaded* loaded, std::string* error);
    bool Start(Loaded* loaded, std::string* error);
    static void Free(Loaded* loaded);
    Change Reload(std::string* message);

    CallGate* gate_;
    bool stalled_ = false;
    std::string stall_line_;
    std::string path_, gauge_name_;
    Loaded running_;
    FileStamp tried_;  // the file as it was at the last load, good or bad
    FileStamp settling_;  // as it was at the last poll, while it differs from tried_
    int copies_ = 0;
};
