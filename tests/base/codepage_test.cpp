#include <gtest/gtest.h>

#include "base/codepage.h"

namespace zev {
namespace {

TEST(Codepage, EveryByteSurvivesTheRoundTrip)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    std::string utf8 = Cp1252ToUtf8(all);
    EXPECT_EQ(SanitizeUtf8(utf8), utf8) << "the conversion must give valid UTF-8";
    EXPECT_EQ(Utf8ToCp1252(utf8), all);
    for (int b = 0; b < 256; ++b) {
        std::string one(1, static_cast<char>(b));
        EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(one)), one) << "byte " << b;
    }
}

TEST(Codepage, MapsTheCodePagesOwnCharacters)
{
    EXPECT_EQ(Cp1252ToUtf8("\x80"), "\u20AC");
    EXPECT_EQ(Utf8ToCp1252("5 \u20AC"), "5 \x80");
    EXPECT_EQ(Cp1252ToUtf8("\x9F\xE9\xFF"), "\u0178\u00E9\u00FF");
    EXPECT_EQ(Cp1252ToUtf8("\x93quoted\x94"), "\u201Cquoted\u201D");
    // The undefined bytes are the C1 controls of the same value.
    EXPECT_EQ(Cp1252ToUtf8("\x81\x8D\x8F\x90\x9D"), "\u0081\u008D\u008F\u0090\u009D");
    EXPECT_EQ(Cp1252ToUtf8(std::string_view("a\0b", 3)), std::string("a\0b", 3));
}

TEST(Codepage, CharactersWithoutAByteBecomeQuestionMarks)
{
    EXPECT_EQ(Utf8ToCp1252("\u0080"), "?"); // a C1 control whose byte is the Euro sign
    EXPECT_EQ(Utf8ToCp1252("\u4E2D\u6587"), "??");
    EXPECT_EQ(Utf8ToCp1252("x\U0001F600y"), "x?y");
}

TEST(Codepage, MalformedUtf8BecomesQuestionMarksAndKeepsWhatFollows)
{
    EXPECT_EQ(Utf8ToCp1252("a\xFF"
                           "b"),
        "a?b");
    EXPECT_EQ(Utf8ToCp1252("\x80\xBF"), "??"); // stray continuation bytes
    EXPECT_EQ(Utf8ToCp1252("\xC3"), "?"); // cut off at the end
    EXPECT_EQ(Utf8ToCp1252("\xE2\x82"
                           "A"),
        "?A"); // cut off before an ASCII letter
    EXPECT_EQ(Utf8ToCp1252("\xC0\xAF"), "??"); // overlong '/'
    EXPECT_EQ(Utf8ToCp1252("\xE0\x80\xAF"), "???"); // overlong, three bytes
    EXPECT_EQ(Utf8ToCp1252("\xED\xA0\x80"), "???"); // a surrogate
    EXPECT_EQ(Utf8ToCp1252("\xF4\x90\x80\x80"), "????"); // beyond U+10FFFF
    EXPECT_EQ(Utf8ToCp1252("\xE2\x82\xAC\xE2\x82"), "\x80?");
    EXPECT_EQ(SanitizeUtf8("ok \xC3\xA9 \xFE!"), "ok \xC3\xA9 ?!");
}

TEST(Codepage, ArbitraryBytesGiveCleanText)
{
    // Every lead byte before a mix of continuation and other bytes: the sanitised text is valid UTF-8
    // (sanitising it again changes nothing) and converts to at most one byte per input byte.
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b < 256; b += 15) {
            std::string s { static_cast<char>(a), static_cast<char>(b), '\x80', '\xBF', 'z' };
            std::string clean = SanitizeUtf8(s);
            ASSERT_EQ(SanitizeUtf8(clean), clean) << a << " " << b;
            ASSERT_EQ(Utf8ToCp1252(clean), Utf8ToCp1252(s)) << a << " " << b;
            ASSERT_EQ(Utf8ToCp1252(s).back(), 'z');
            ASSERT_LE(Utf8ToCp1252(s).size(), s.size());
        }
    }
}

TEST(Codepage, Utf8ModePassesTheModelsBytesThrough)
{
    EXPECT_EQ(ModelToUtf8("caf\xC3\xA9", TextEncoding::Utf8), "caf\xC3\xA9");
    EXPECT_EQ(Utf8ToModel("caf\xC3\xA9", TextEncoding::Utf8), "caf\xC3\xA9");
    EXPECT_EQ(Utf8ToModel("bad\xC3", TextEncoding::Utf8), "bad?");
    EXPECT_EQ(ModelToUtf8("caf\xE9", TextEncoding::Cp1252), "caf\xC3\xA9");
    EXPECT_EQ(Utf8ToModel("caf\xC3\xA9", TextEncoding::Cp1252), "caf\xE9");
}

} // namespace
} // namespace zev
