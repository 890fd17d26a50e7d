#include <gtest/gtest.h>

#include <cstring>

#include "model/host_string.h"
#include "model/host_variant.h"

namespace zev {
namespace {

// The layout plug-ins read: length at -4, reference count at -8, zero after the text.
int32_t LengthField(const HostString& s)
{
    return reinterpret_cast<const int32_t*>(s.Raw())[-1];
}
int32_t RefField(const HostString& s)
{
    return reinterpret_cast<const int32_t*>(s.Raw())[-2];
}

TEST(HostString, EmptyIsNullAndNonEmptyCarriesLengthAndCountInFront)
{
    HostString empty("");
    EXPECT_EQ(empty.Raw(), nullptr);
    EXPECT_STREQ(empty.c_str(), "");
    EXPECT_EQ(empty.size(), 0u);

    HostString s(std::string_view("a\0b", 3));
    ASSERT_NE(s.Raw(), nullptr);
    EXPECT_EQ(LengthField(s), 3);
    EXPECT_EQ(RefField(s), 1);
    EXPECT_EQ(s.Raw()[3], '\0');
    EXPECT_EQ(s.view(), std::string_view("a\0b", 3));
}

TEST(HostString, CopiesShareTheBlockAndTheLastReleaseFreesIt)
{
    HostString a("node");
    {
        HostString b = a;
        HostString c;
        c = b;
        EXPECT_EQ(a.Raw(), b.Raw());
        EXPECT_EQ(a.Raw(), c.Raw());
        EXPECT_EQ(RefField(a), 3);
    }
    EXPECT_EQ(a.RefCount(), 1);

    HostString moved = std::move(a);
    EXPECT_EQ(a.Raw(), nullptr); // NOLINT: moved-from is empty by contract
    EXPECT_EQ(moved.RefCount(), 1);

    // Assigning a text taken from the string's own block must not read freed memory.
    moved = moved.view().substr(1);
    EXPECT_EQ(moved, "ode");
    moved = moved;
    EXPECT_EQ(moved, "ode");
}

TEST(HostString, ComparesByContentCaseSensitively)
{
    EXPECT_EQ(HostString("a"), HostString("a"));
    EXPECT_FALSE(HostString("a") == HostString("A"));
    EXPECT_TRUE(HostString() == "");
    EXPECT_TRUE(HostString("x") == std::string_view("x"));
}

TEST(HostVariant, HoldsOneTypedValueAndSharesStringsOnCopy)
{
    HostVariant v;
    EXPECT_TRUE(v.IsEmpty());
    v.SetInt(-7);
    EXPECT_EQ(v.Type(), HostVariant::kInt32);
    EXPECT_EQ(v.AsInt(), -7);
    EXPECT_EQ(v.AsFloat(), 0.0);
    v.SetFloat(2.5);
    EXPECT_EQ(v.Type(), HostVariant::kFloat64);
    EXPECT_EQ(v.AsFloat(), 2.5);
    v.SetString("hello");
    EXPECT_EQ(v.Type(), HostVariant::kString);
    EXPECT_EQ(v.AsString(), "hello");

    HostVariant copy = v;
    EXPECT_EQ(copy.AsString(), "hello");
    v.SetInt(1); // releasing the original's reference leaves the copy's
    EXPECT_EQ(copy.AsString(), "hello");
    copy = copy;
    EXPECT_EQ(copy.AsString(), "hello");
    copy.Clear();
    EXPECT_TRUE(copy.IsEmpty());
}

} // namespace
} // namespace zev
