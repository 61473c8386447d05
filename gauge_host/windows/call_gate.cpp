#include "gauge_host/windows/call_gate.h"

#include <stdio.h>

#include "gauge_host/core/panel_host.h"

extern "C" {
uintptr_t AlignedCallWord(const void* function, const uintptr_t* words, int count, uintptr_t* frame);
double AlignedCallDouble(const void* function, const uintptr_t* words, int count, uintptr_t* frame);
void AlignedCallAbandon();
}

namespace {

CallGate* Active;

constexpr DWORD PollMilliseconds = 50;
constexpr uint16_t PrecisionMask = 0x0300;  // the x87 control word's precision field

uint16_t ControlWord()
{
    uint16_t word;
    asm volatile("fnstcw %0" : "=m"(word));
    return word;
}

void SetControlWord(uint16_t word) { asm volatile("fldcw %0" : : "m"(word)); }

uint16_t PrecisionField(int bits) { return bits == 24 ? 0x0000 : bits == 53 ? 0x0200 : 0x0300; }

}  // namespace

CallGate* ActiveCallGate() { return Active; }

CallGate::CallGate(std::string module, int fpu_bits, int timeout_s)
    : module_(std::move(module)), timeout_ms_(DWORD(timeout_s) * 1000)
{
    host_control_ = ControlWord();
    module_control_ = uint16_t((host_control_ & ~PrecisionMask) | PrecisionField(fpu_bits));
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &caller_, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    if (timeout_ms_) {
        stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        watchdog_ = CreateThread(nullptr, 0, WatchThread, this, 0, nullptr);
    }
    Active = this;
}

CallGate::~CallGate()
{
    if (watchdog_) {
        SetEvent(stop_);
        WaitForSingleObject(watchdog_, INFINITE);
        CloseHandle(watchdog_);
        CloseHandle(stop_);
    }
    CloseHandle(caller_);
    if (Active == this)
        Active = nullptr;
}

uintptr_t* CallGate::Enter(const char* name)
{
    const int depth = depth_;
    if (depth < MaxDepth)
        names_[depth] = name;
    if (depth == 0) {
        outer_frame_ = 0;
        started_ = GetTickCount();
    }
    depth_ = depth + 1;
    SetControlWord(module_control_);
    return depth == 0 ? &outer_frame_ : nullptr;
}

void CallGate::Leave()
{
    SetControlWord(host_control_);
    depth_ = depth_ - 1;
}

uintptr_t CallGate::CallWord(const char* name, const void* function, const uintptr_t* words, int count)
{
    if (hung_)
        return 0;
    uintptr_t* frame = Enter(name);
    if (frame)
        outer_double_ = false;
    const uintptr_t result = AlignedCallWord(function, words, count, frame);
    Leave();
    return result;
}

double CallGate::CallDouble(const char* name, const void* function, const uintptr_t* words, int count)
{
    if (hung_)
        return 0.0;
    uintptr_t* frame = Enter(name);
    if (frame)
        outer_double_ = true;
    const double result = AlignedCallDouble(function, words, count, frame);
    Leave();
    return result;
}

uint32_t CallGate::EnterHost()
{
    const uint16_t saved = ControlWord();
    SetControlWord(host_control_);
    ++host_depth_;
    return saved;
}

void CallGate::LeaveHost(uint32_t saved)
{
    --host_depth_;
    SetControlWord(uint16_t(saved));
}

DWORD WINAPI CallGate::WatchThread(void* gate)
{
    static_cast<CallGate*>(gate)->Watch();
    return 0;
}

// Polls; on a call over time, suspends the caller and looks again, so what
// it sees is settled. A caller caught in the host's own code (a service the
// module called) is let go and caught on a later poll: the host's data is
// only whole while the caller is in the module.
void CallGate::Watch()
{
    while (WaitForSingleObject(stop_, PollMilliseconds) == WAIT_TIMEOUT) {
        if (hung_ || depth_ == 0 || GetTickCount() - started_ < timeout_ms_)
            continue;
        SuspendThread(caller_);
        if (depth_ > 0 && host_depth_ == 0 && GetTickCount() - started_ >= timeout_ms_)
            Hang();
        ResumeThread(caller_);
    }
}

// The stuck call is named by the innermost call under way: where the module is.
void CallGate::Hang()
{
    const int depth = depth_ < MaxDepth ? int(depth_) : MaxDepth;
    hang_line_ = module_ + ": the " + names_[depth - 1] + " did not return within " +
                 std::to_string(timeout_ms_ / 1000) + " s";
    if (abandon_ && outer_frame_) {
        CONTEXT context{};
        context.ContextFlags = CONTEXT_CONTROL | CONTEXT_INTEGER;
        if (GetThreadContext(caller_, &context)) {
            context.Ebp = DWORD(outer_frame_);
            context.Esp = DWORD(outer_frame_ - 16);  // the thunk's saved registers, which it restores
            context.Eip = DWORD(uintptr_t(&AlignedCallAbandon));
            context.Eax = outer_double_;
            if (SetThreadContext(caller_, &context)) {
                // The calls and host code it was inside are gone with the stack.
                host_depth_ = 0;
                depth_ = 1;
                hung_ = true;
                return;
            }
        }
    }
    if (on_hang_)
        on_hang_(hang_line_);
    fflush(stdout);
    fprintf(stderr, "gauge-host: %s\n", hang_line_.c_str());
    fflush(stderr);
    // Not ExitProcess: that would run the module's unload entry, on a module
    // that is stuck.
    TerminateProcess(GetCurrentProcess(), ExitBadInput);
}
