#include <gtest/gtest.h>
TEST(GuiPlaceholder, Builds) { SUCCEED(); }
