#include "plugins/crash_guard.h"

#include <setjmp.h>
#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <array>
#include <mutex>

namespace zev {

struct GuardFrame {
    sigjmp_buf env;
    GuardFrame* outer;
    int hostDepth; // exported functions of the program running inside this call
};

namespace {

constexpr std::array<int, 4> kSignals { SIGSEGV, SIGBUS, SIGFPE, SIGILL };
// Room for the handler, and for a previous handler we pass a fault on to (a sanitizer's report).
constexpr std::size_t kAltStackSize = 256 * 1024;

// Plain pointers only: read from the handler, so no lazy initialisation may stand in the way.
thread_local GuardFrame* t_top = nullptr;
thread_local int t_depth = 0;

// The handlers before the first contained call of any thread; restored after the last one.
std::mutex g_armMutex;
int g_armed = 0;
std::array<struct sigaction, kSignals.size()> g_previous {};

// This thread's alternate signal stack, so a plug-in that ran out of stack can still be stopped.
// Mapped once per thread, with a guard page below it; the previous one is put back after each call.
class AltStack {
public:
    AltStack() = default;
    AltStack(const AltStack&) = delete;
    AltStack& operator=(const AltStack&) = delete;
    ~AltStack()
    {
        if (m_memory)
            munmap(m_memory, m_mapped);
    }

    void Enable()
    {
        if (!m_memory && !Map())
            return;
        stack_t ours {};
        ours.ss_sp = static_cast<char*>(m_memory) + m_guard;
        ours.ss_size = kAltStackSize;
        // Fails while running on an alternate stack already; the call then goes without one.
        m_enabled = sigaltstack(&ours, &m_previous) == 0;
    }
    void Restore()
    {
        if (m_enabled)
            sigaltstack(&m_previous, nullptr);
        m_enabled = false;
    }

private:
    bool Map()
    {
        const long page = sysconf(_SC_PAGESIZE);
        m_guard = page > 0 ? static_cast<std::size_t>(page) : 4096;
        m_mapped = m_guard + kAltStackSize;
        void* p = mmap(nullptr, m_mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_STACK, -1, 0);
        if (p == MAP_FAILED)
            return false;
        mprotect(p, m_guard, PROT_NONE);
        m_memory = p;
        return true;
    }

    void* m_memory = nullptr;
    std::size_t m_guard = 0;
    std::size_t m_mapped = 0;
    stack_t m_previous {};
    bool m_enabled = false;
};

thread_local AltStack t_altStack;

std::size_t Slot(int signal)
{
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        if (kSignals[i] == signal)
            return i;
    return 0;
}

// The fault as if the guard were not there: the previous handler, or the default action.
void PassOn(int signal, siginfo_t* info, void* context)
{
    const struct sigaction& previous = g_previous[Slot(signal)];
    if (previous.sa_flags & SA_SIGINFO) {
        if (previous.sa_sigaction) {
            previous.sa_sigaction(signal, info, context);
            return;
        }
    } else if (previous.sa_handler != SIG_DFL && previous.sa_handler != SIG_IGN) {
        previous.sa_handler(signal);
        return;
    }
    // Sent with kill or raise: nothing repeats it, so it is sent again and arrives on return.
    const bool sent = info && info->si_code <= 0;
    if (sent && !(previous.sa_flags & SA_SIGINFO) && previous.sa_handler == SIG_IGN)
        return;
    struct sigaction fallback { };
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    sigaction(signal, &fallback, nullptr);
    if (sent)
        raise(signal);
    // A fault repeats when the handler returns, now with the default action.
}

ZEV_NO_STACK_POISON void OnFault(int signal, siginfo_t* info, void* context)
{
    GuardFrame* frame = t_top;
    if (frame && frame->hostDepth == 0)
        siglongjmp(frame->env, signal);
    PassOn(signal, info, context);
}

void Arm()
{
    t_altStack.Enable();
    const std::lock_guard<std::mutex> lock(g_armMutex);
    if (g_armed++ > 0)
        return;
    struct sigaction action { };
    action.sa_sigaction = OnFault;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        sigaction(kSignals[i], &action, &g_previous[i]);
}

void Disarm()
{
    {
        const std::lock_guard<std::mutex> lock(g_armMutex);
        if (--g_armed == 0)
            for (std::size_t i = 0; i < kSignals.size(); ++i)
                sigaction(kSignals[i], &g_previous[i], nullptr);
    }
    t_altStack.Restore();
}

void Leave(GuardFrame& frame, bool outermost)
{
    t_top = frame.outer;
    --t_depth;
    if (outermost)
        Disarm();
}

} // namespace

// Between sigsetjmp and the plug-in only this frame and the invocation's two stand, none of them
// holding anything with a destructor. The saved mask is restored by the jump: the handler runs
// with its signal blocked.
ZEV_NO_STACK_POISON int RunContained(void (*thunk)(void*), void* data)
{
    GuardFrame frame;
    frame.outer = t_top;
    frame.hostDepth = 0;
    const bool outermost = t_depth == 0;
    if (outermost)
        Arm();
    ++t_depth;
    const int signal = sigsetjmp(frame.env, 1);
    if (signal == 0) {
        t_top = &frame;
        try {
            thunk(data);
        } catch (...) {
            Leave(frame, outermost);
            throw;
        }
    }
    Leave(frame, outermost);
    return signal;
}

int ContainedDepth()
{
    return t_depth;
}

HostCodeScope::HostCodeScope()
    : m_frame(t_top)
{
    if (m_frame)
        ++m_frame->hostDepth;
}

HostCodeScope::~HostCodeScope()
{
    if (m_frame)
        --m_frame->hostDepth;
}

std::string_view SignalName(int signal)
{
    switch (signal) {
    case SIGSEGV:
        return "SIGSEGV";
    case SIGBUS:
        return "SIGBUS";
    case SIGFPE:
        return "SIGFPE";
    case SIGILL:
        return "SIGILL";
    default:
        return "signal";
    }
}

} // namespace zev
