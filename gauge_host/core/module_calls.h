// module_calls.h: the seam through which the host calls into a module.
//
// Usage:
//   CallModule("update routine", header.update);
//   const double value = CallModule("needle callback", callback, live);
//   { HostCode host; ... }  // in a service the module called: the host's own code
//
// Natively a call is a plain call. gauge-host installs a gate
// (gauge_host/windows/call_gate.h) that gives the module the environment
// of a real host -- FPU precision, stack alignment -- and a watchdog. The
// gate sees each call as the function's address and its arguments as
// words, which is all an assembly thunk can pass on.
#pragma once

#include <stdint.h>

#include <type_traits>

#include "host/gauges.h"

class ModuleGate {
public:
    virtual ~ModuleGate() = default;
    // Calls function(words...) and returns what it left in eax, or on the
    // x87 stack for CallDouble. name says what is called, for messages.
    virtual uintptr_t CallWord(const char* name, const void* function, const uintptr_t* words, int count) = 0;
    virtual double CallDouble(const char* name, const void* function, const uintptr_t* words, int count) = 0;
    // Around the host's own code inside a call: a service the module called.
    // Enter returns what Leave needs to give the module back its state.
    virtual uint32_t EnterHost() = 0;
    virtual void LeaveHost(uint32_t saved) = 0;
};

// The gate every call goes through; null (the default) calls directly.
void SetModuleGate(ModuleGate* gate);
ModuleGate* CurrentModuleGate();

template <class T>
uintptr_t ModuleWord(T value)
{
    if constexpr (std::is_pointer_v<T>)
        return reinterpret_cast<uintptr_t>(value);
    else
        return static_cast<uintptr_t>(value);
}

template <class R, class... A, class... P>
R CallModule(const char* name, R(GAUGE_CALL* function)(A...), P... args)
{
    static_assert(sizeof...(A) == sizeof...(P), "one value for each parameter");
    ModuleGate* gate = CurrentModuleGate();
    if (!gate)
        return function(args...);
    const uintptr_t words[sizeof...(A) + 1] = {ModuleWord<A>(args)...};
    const void* address = reinterpret_cast<const void*>(function);
    if constexpr (std::is_floating_point_v<R>)
        return R(gate->CallDouble(name, address, words, sizeof...(A)));
    else if constexpr (std::is_void_v<R>)
        gate->CallWord(name, address, words, sizeof...(A));
    else
        return R(gate->CallWord(name, address, words, sizeof...(A)));
}

// The host's own code while a module's call is under way.
class HostCode {
public:
    HostCode() : gate_(CurrentModuleGate()), saved_(gate_ ? gate_->EnterHost() : 0) {}
    ~HostCode()
    {
        if (gate_)
            gate_->LeaveHost(saved_);
    }
    HostCode(const HostCode&) = delete;
    HostCode& operator=(const HostCode&) = delete;

private:
    ModuleGate* gate_;
    uint32_t saved_;
};
