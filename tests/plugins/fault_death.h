#pragma once

#include <gtest/gtest.h>

#include <signal.h>

// A fault the crash guard must not contain ends the process: by the signal itself, or under
// AddressSanitizer through its report, which the guard passes the fault on to.
#if defined(__SANITIZE_ADDRESS__)
#define ZEV_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZEV_TEST_ASAN 1
#endif
#endif

#ifdef ZEV_TEST_ASAN
#define EXPECT_DIES_OF_FAULT(statement) EXPECT_DEATH(statement, "AddressSanitizer")
#else
#define EXPECT_DIES_OF_FAULT(statement) EXPECT_EXIT(statement, ::testing::KilledBySignal(SIGSEGV), "")
#endif
