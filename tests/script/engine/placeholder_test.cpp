#include <gtest/gtest.h>
TEST(ScriptEnginePlaceholder, Builds) { SUCCEED(); }
