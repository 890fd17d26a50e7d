#include <gtest/gtest.h>
TEST(CompletionPlaceholder, Builds) { SUCCEED(); }
