#include <gtest/gtest.h>

#include <pthread.h>
#include <signal.h>

#include <array>
#include <cstdint>
#include <stdexcept>
#include <thread>

#include "fault_death.h"
#include "plugins/crash_guard.h"

namespace zev::test {
namespace {

constexpr std::array<int, 4> kGuarded { SIGSEGV, SIGBUS, SIGFPE, SIGILL };
// The C library adds flags of its own when it installs an action.
constexpr int kFlags = SA_SIGINFO | SA_ONSTACK | SA_NODEFER | SA_RESETHAND | SA_RESTART;

// Not null, so no null check stops the write before the fault.
volatile std::uintptr_t g_unmapped = 16;

ZEV_NO_STACK_POISON void WriteUnmapped(void*)
{
    *reinterpret_cast<volatile int*>(g_unmapped) = 1;
}

ZEV_NO_STACK_POISON void Raise(void* signal)
{
    raise(*static_cast<int*>(signal));
}

int Twice(int value)
{
    return 2 * value;
}

void Unmapped()
{
    WriteUnmapped(nullptr);
}

struct Handlers {
    std::array<struct sigaction, kGuarded.size()> actions {};
    stack_t altStack {};
    sigset_t mask {};

    static Handlers Now()
    {
        Handlers h;
        for (std::size_t i = 0; i < kGuarded.size(); ++i)
            sigaction(kGuarded[i], nullptr, &h.actions[i]);
        sigaltstack(nullptr, &h.altStack);
        pthread_sigmask(SIG_BLOCK, nullptr, &h.mask);
        return h;
    }
    void ExpectSameAs(const Handlers& before) const
    {
        for (std::size_t i = 0; i < kGuarded.size(); ++i) {
            EXPECT_EQ(reinterpret_cast<void*>(actions[i].sa_sigaction),
                reinterpret_cast<void*>(before.actions[i].sa_sigaction))
                << SignalName(kGuarded[i]);
            EXPECT_EQ(actions[i].sa_flags & kFlags, before.actions[i].sa_flags & kFlags) << SignalName(kGuarded[i]);
            EXPECT_EQ(sigismember(&mask, kGuarded[i]), sigismember(&before.mask, kGuarded[i]))
                << SignalName(kGuarded[i]);
        }
        EXPECT_EQ(altStack.ss_sp, before.altStack.ss_sp);
        EXPECT_EQ(altStack.ss_flags, before.altStack.ss_flags);
    }
};

TEST(CrashGuard, EachKindOfFaultAbandonsTheCallAndLeavesTheProcessAsItWas)
{
    const Handlers before = Handlers::Now();
    EXPECT_EQ(RunContained(WriteUnmapped, nullptr), SIGSEGV);
    for (int signal : { SIGBUS, SIGFPE, SIGILL }) {
        EXPECT_EQ(RunContained(Raise, &signal), signal) << SignalName(signal);
        Handlers::Now().ExpectSameAs(before);
    }
    // Twice in a row: the signal the first one left blocked would kill the second.
    EXPECT_EQ(RunContained(WriteUnmapped, nullptr), SIGSEGV);
    EXPECT_EQ(RunContained(WriteUnmapped, nullptr), SIGSEGV);
    EXPECT_EQ(ContainedDepth(), 0);
    Handlers::Now().ExpectSameAs(before);
}

TEST(CrashGuard, APluginCallGivesItsResultOrThrowsOnTheProgramsSide)
{
    EXPECT_EQ(CallPlugin(Twice, 21), 42);
    try {
        CallPlugin(WriteUnmapped, static_cast<void*>(nullptr));
        ADD_FAILURE() << "no crash reported";
    } catch (const PluginCrash& crash) {
        EXPECT_EQ(crash.signal(), SIGSEGV);
        EXPECT_EQ(SignalName(crash.signal()), "SIGSEGV");
    }
}

TEST(CrashGuard, CallsNestAndACrashReturnsToTheInnermostGuard)
{
    static int innerResult = -1;
    static int depthInside = -1;
    auto outer = [](void*) {
        depthInside = ContainedDepth();
        innerResult = RunContained(WriteUnmapped, nullptr);
        int signal = SIGFPE;
        Raise(&signal); // the outer call still stands and takes its own crash
    };
    EXPECT_EQ(RunContained(outer, nullptr), SIGFPE);
    EXPECT_EQ(depthInside, 1);
    EXPECT_EQ(innerResult, SIGSEGV);
    EXPECT_EQ(ContainedDepth(), 0);
}

TEST(CrashGuard, AnExceptionPassesThroughAndLeavesNoGuardBehind)
{
    const Handlers before = Handlers::Now();
    auto thrower = [](void*) { throw std::runtime_error("from the plug-in"); };
    EXPECT_THROW(RunContained(thrower, nullptr), std::runtime_error);
    EXPECT_EQ(ContainedDepth(), 0);
    Handlers::Now().ExpectSameAs(before);
}

int g_previousCalls = 0;
void CountingHandler(int)
{
    ++g_previousCalls;
}

TEST(CrashGuard, ASignalInTheProgramsOwnCodeGoesToTheHandlerBeforeTheGuard)
{
    struct sigaction counting {
    }, saved {};
    counting.sa_handler = CountingHandler;
    sigemptyset(&counting.sa_mask);
    ASSERT_EQ(sigaction(SIGFPE, &counting, &saved), 0);
    g_previousCalls = 0;
    auto hostCode = [](void*) {
        const HostCodeScope host;
        int signal = SIGFPE;
        Raise(&signal);
    };
    EXPECT_EQ(RunContained(hostCode, nullptr), 0); // not abandoned: the program's handler had it
    EXPECT_EQ(g_previousCalls, 1);
    struct sigaction now { };
    sigaction(SIGFPE, nullptr, &now);
    EXPECT_EQ(now.sa_handler, &CountingHandler);
    sigaction(SIGFPE, &saved, nullptr);
}

using CrashGuardDeathTest = ::testing::Test;

TEST_F(CrashGuardDeathTest, AFaultInTheProgramsOwnCodeIsNotContained)
{
    auto hostCode = [](void*) {
        const HostCodeScope host;
        Unmapped();
    };
    EXPECT_DIES_OF_FAULT(RunContained(hostCode, nullptr));
}

TEST_F(CrashGuardDeathTest, AFaultAfterTheCallsIsNotContained)
{
    EXPECT_DIES_OF_FAULT({
        RunContained(WriteUnmapped, nullptr);
        Unmapped();
    });
}

TEST_F(CrashGuardDeathTest, AFaultOnAnotherThreadIsNotContained)
{
    auto startsThread = [](void*) { std::thread(Unmapped).join(); };
    EXPECT_DIES_OF_FAULT(RunContained(startsThread, nullptr));
}

} // namespace
} // namespace zev::test
