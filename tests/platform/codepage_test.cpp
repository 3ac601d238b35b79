#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <string>

using namespace tagvane;

namespace {

// glibc's converter is the independent reference for the 251 defined bytes;
// it refuses the five undefined ones, which is why they have their own test.
std::string referenceUtf8(unsigned char byte) {
    iconv_t cd = iconv_open("UTF-8", "WINDOWS-1252");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return "no converter";
    char in[1] = {static_cast<char>(byte)};
    char out[8] = {};
    char *inPtr = in;
    char *outPtr = out;
    size_t inLeft = 1, outLeft = sizeof out;
    const size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1))
        return "undefined";
    return std::string(out, sizeof out - outLeft);
}

} // namespace

TEST(CodePage, DefinedBytesMatchTheReferenceConverter) {
    int compared = 0;
    for (int b = 0; b < 256; ++b) {
        if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D)
            continue;
        const std::string expected = referenceUtf8(static_cast<unsigned char>(b));
        ASSERT_NE(expected, "undefined") << "byte " << b;
        EXPECT_EQ(cp1252ToUtf8(std::string(1, static_cast<char>(b))), expected) << "byte " << b;
        ++compared;
    }
    EXPECT_EQ(compared, 251);
}

TEST(CodePage, UndefinedBytesBecomeTheirOwnControlCharacters) {
    for (unsigned char b : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
        const std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(cp1252ToUnicode(b), char32_t(b));
        EXPECT_EQ(cp1252ToUtf16(byte), std::u16string(1, char16_t(b)));
        const std::string utf8 = {static_cast<char>(0xC2), static_cast<char>(b)};
        EXPECT_EQ(cp1252ToUtf8(byte), utf8);
        EXPECT_EQ(utf8ToCp1252(utf8), byte);
        EXPECT_EQ(utf16ToCp1252(std::u16string(1, char16_t(b))), byte);
    }
}

TEST(CodePage, EveryByteSurvivesBothRoundTrips) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
    EXPECT_EQ(utf16ToCp1252(cp1252ToUtf16(all)), all);
    EXPECT_EQ(cp1252ToUtf16(all).size(), 256u);
}

TEST(CodePage, KnownCharacters) {
    struct Case {
        std::string bytes;
        std::string utf8;
        std::u16string utf16;
    } cases[] = {
        {"", "", u""},
        {"Volap\xFCk", "Volap\xC3\xBCk", u"Volap\u00FCk"},
        {"\x80 5", "\xE2\x82\xAC 5", u"\u20AC 5"},
        {"\x93quoted\x94", "\xE2\x80\x9Cquoted\xE2\x80\x9D", u"\u201Cquoted\u201D"},
        {"\x9F\xFF", "\xC5\xB8\xC3\xBF", u"\u0178\u00FF"},
        {std::string("a\0b", 3), std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(cp1252ToUtf8(c.bytes), c.utf8);
        EXPECT_EQ(cp1252ToUtf16(c.bytes), c.utf16);
        EXPECT_EQ(utf8ToCp1252(c.utf8), c.bytes);
        EXPECT_EQ(utf16ToCp1252(c.utf16), c.bytes);
    }
}

TEST(CodePage, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    struct Case {
        const char *what;
        std::string utf8;
        std::string expected;
    } cases[] = {
        {"Latin Extended-A", "K\xC4\x81ne", "K?ne"},     // U+0101
        {"CJK", "\xE6\x97\xA5!", "?!"},                  // U+65E5
        {"astral plane", "x\xF0\x9F\x98\x80y", "x?y"},   // U+1F600 is one character
        {"C1 control not in the five", "\xC2\x80", "?"}, // U+0080
        {"lone continuation byte", "a\x80z", "a?z"},
        {"cut-off sequence at the end", "ab\xC3", "ab?"},
        {"cut-off sequence before ASCII", "\xE2\x82z", "??z"},
        {"overlong slash", "\xC0\xAF", "??"},
        {"encoded surrogate", "\xED\xA0\x80", "???"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", "????"},
        {"invalid lead byte", "\xFF", "?"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(utf8ToCp1252(c.utf8), c.expected) << c.what;
}

TEST(CodePage, Utf16OutsideTheCodePage) {
    struct Case {
        const char *what;
        std::u16string utf16;
        std::string expected;
    } cases[] = {
        {"Latin Extended-A", u"K\u0101ne", "K?ne"},
        {"surrogate pair is one character", u"x\U0001F600y", "x?y"},
        {"lone high surrogate", std::u16string{u'a', char16_t(0xD800), u'b'}, "a?b"},
        {"lone low surrogate", std::u16string{char16_t(0xDC00)}, "?"},
        {"high surrogate at the end", std::u16string{u'a', char16_t(0xDBFF)}, "a?"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(utf16ToCp1252(c.utf16), c.expected) << c.what;
}
