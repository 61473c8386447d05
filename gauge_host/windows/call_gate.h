// call_gate.h: every call from gauge-host into a module, made as a real
// host makes it, and watched.
//
// Usage:
//   CallGate gate("ZARO.gau", 53, 5);  // FPU precision in bits, timeout in s (0: none)
//   gate.OnHang([&](const std::string& line) { ...write what there is... });
//   SetModuleGate(&gate);
//   ... the panel host's CallModule calls now pass through the gate ...
//
// Each call sets the x87 precision control before the module runs and
// restores it after (the host's own code, in a service the module calls,
// runs at the host's precision), and enters the module with the stack
// pointer at 4 mod 16. A call that has not returned after the timeout
// ends the run: the hang handler gets the line "MODULE: the update routine
// did not return within 5 s", then the process exits with ExitBadInput.
// With AbandonOnHang() (the live window), the stuck call is made to return
// 0 instead, and the gate calls nothing more.
//
// A watchdog can stop a module, not contain it: the module runs in the
// host's process with the host's rights.
#pragma once

#include <windows.h>

#include <stdint.h>

#include <atomic>
#include <functional>
#include <string>

#include "gauge_host/core/module_calls.h"

class CallGate : public ModuleGate {
public:
    CallGate(std::string module, int fpu_bits, int timeout_s);
    ~CallGate() override;
    CallGate(const CallGate&) = delete;
    CallGate& operator=(const CallGate&) = delete;

    // What a hang does: by default the handler, then exit. Called on the
    // watchdog's thread while the stuck one is suspended inside the module.
    void OnHang(std::function<void(const std::string& line)> handler) { on_hang_ = std::move(handler); }
    // A hang abandons the stuck call instead, when it can (not inside the
    // Windows loader), and leaves the line in hang_line().
    void AbandonOnHang() { abandon_ = true; }
    bool hung() const { return hung_; }
    const std::string& hang_line() const { return hang_line_; }

    // Calls the Windows loader makes for the host -- the load and unload
    // entries -- under the same precision and watch; no thunk, the loader
    // makes the call.
    template <class F>
    auto Around(const char* name, F call)
    {
        Enter(name);
        auto result = call();
        Leave();
        return result;
    }

    uintptr_t CallWord(const char* name, const void* function, const uintptr_t* words, int count) override;
    double CallDouble(const char* name, const void* function, const uintptr_t* words, int count) override;
    uint32_t EnterHost() override;
    void LeaveHost(uint32_t saved) override;

private:
    static constexpr int MaxDepth = 16;
    // The frame slot for the thunk when this is the outermost call, else null.
    uintptr_t* Enter(const char* name);
    void Leave();
    static DWORD WINAPI WatchThread(void* gate);
    void Watch();
    void Hang();

    std::string module_;
    uint16_t module_control_, host_control_;  // x87 control words
    DWORD timeout_ms_;
    std::function<void(const std::string&)> on_hang_;
    bool abandon_ = false;
    std::atomic<bool> hung_{false};
    std::string hang_line_;

    // The calling thread's calls under way, outermost first. Written by the
    // calling thread, read by the watchdog with that thread suspended.
    const char* names_[MaxDepth] = {};
    std::atomic<int> depth_{0}, host_depth_{0};
    std::atomic<DWORD> started_{0};  // tick count at the outermost call
    uintptr_t outer_frame_ = 0;  // the outermost thunk's frame, for abandoning
    bool outer_double_ = false;
    HANDLE caller_ = nullptr, stop_ = nullptr, watchdog_ = nullptr;
};

// The gate gauge-host installed, for the loader's own calls; null natively
// and in the test programs.
CallGate* ActiveCallGate();
