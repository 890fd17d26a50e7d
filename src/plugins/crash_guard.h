#pragma once

// Containment of faults in a plug-in's code. A call run through RunContained that raises SIGSEGV,
// SIGBUS, SIGFPE or SIGILL on this thread, a stack overflow included, is abandoned: the handler
// jumps back to the guard, which returns the signal. A jump skips frames without running their
// destructors, so the frames between the guard and the plug-in function hold only plain values
// (CallPlugin below). While the plug-in has called back into the program (HostCodeScope) a fault
// takes its normal course: the program's own frames must never be skipped. Faults outside any
// contained call, or on a thread without one, behave as without the guard.
//
// A safety net, not a sandbox: whatever the plug-in corrupted before it crashed stays corrupted.

#include <cstddef>
#include <exception>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>

#if defined(__GNUC__) || defined(__clang__)
// The frames a jump may skip get no stack redzones, so none are left poisoned behind them.
#define ZEV_NO_STACK_POISON __attribute__((no_sanitize_address))
#else
#define ZEV_NO_STACK_POISON
#endif

namespace zev {

struct GuardFrame;

// Runs thunk(data); 0 when it returned, else the number of the signal that abandoned it. A C++
// exception from thunk passes through. Calls nest: a contained call may run another.
int RunContained(void (*thunk)(void*), void* data);

// Contained calls active on this thread.
int ContainedDepth();

// Marks the program's own code run on behalf of a plug-in inside a contained call: a fault in it
// is not contained. Outside a contained call it does nothing.
class HostCodeScope {
public:
    HostCodeScope();
    ~HostCodeScope();
    HostCodeScope(const HostCodeScope&) = delete;
    HostCodeScope& operator=(const HostCodeScope&) = delete;

private:
    GuardFrame* m_frame;
};

// "SIGSEGV", "SIGBUS", "SIGFPE", "SIGILL"; "signal" for any other.
std::string_view SignalName(int signal);

// Thrown on the program's side of the guard once a plug-in call has been abandoned.
class PluginCrash : public std::exception {
public:
    explicit PluginCrash(int signal)
        : m_signal(signal)
    {
    }
    int signal() const { return m_signal; }
    const char* what() const noexcept override { return "the plug-in crashed"; }

private:
    int m_signal;
};

namespace detail {

template <class R, class... P> struct ContainedInvocation {
    R (*fn)(P...);
    std::tuple<P...> args;
    std::conditional_t<std::is_void_v<R>, char, R> result {};

    template <std::size_t... I> ZEV_NO_STACK_POISON void Invoke(std::index_sequence<I...>)
    {
        if constexpr (std::is_void_v<R>)
            fn(std::get<I>(args)...);
        else
            result = fn(std::get<I>(args)...);
    }
    ZEV_NO_STACK_POISON static void Thunk(void* self)
    {
        static_cast<ContainedInvocation*>(self)->Invoke(std::index_sequence_for<P...> {});
    }
};

} // namespace detail

// Calls a plug-in function under the guard and gives its result; throws PluginCrash when the
// call crashed.
template <class R, class... P, class... A> R CallPlugin(R (*fn)(P...), A... args)
{
    static_assert((std::is_trivially_copyable_v<P> && ...), "only plain values cross into a guarded call");
    static_assert(std::is_void_v<R> || std::is_trivially_copyable_v<R>, "only plain values come back");
    detail::ContainedInvocation<R, P...> call { fn, std::tuple<P...>(args...) };
    if (const int signal = RunContained(&detail::ContainedInvocation<R, P...>::Thunk, &call))
        throw PluginCrash(signal);
    if constexpr (!std::is_void_v<R>)
        return call.result;
}

} // namespace zev
