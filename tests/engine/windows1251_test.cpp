#include "engine/windows1251.h"
#include "support/glibc_windows1251.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using support::cp1251Byte;

TEST(Windows1251, EveryBasicPlaneCharacterMapsAsGlibcMapsIt)
{
    ASSERT_EQ(cp1251Byte(U'Я'), std::optional<unsigned char>(0xDF)) << "glibc has no CP1251 converter here";
    int checked = 0;
    for (char32_t c = 0; c < 0x10000; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        ASSERT_EQ(engine::windows1251Byte(c), cp1251Byte(c)) << "U+" << std::hex << static_cast<unsigned>(c);
        ++checked;
    }
    EXPECT_GT(checked, 60000);

    // Reading back: every assigned byte returns to itself through UTF-8.
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(engine::toWindows1251(engine::fromWindows1251(byte)), b == 0x98 ? "?" : byte) << b;
    }
}

TEST(Windows1251, TextConvertsAndUnknownOrMalformedBecomesQuestionMark)
{
    struct Case {
        const char *name;
        std::string utf8;
        std::string expected;
    };
    const Case cases[] = {
        {"ascii passes through", "ТБ =2025", "\xD2\xC1 =2025"},
        {"yo and the number sign", "Ёё №", "\xA8\xB8 \xB9"},
        {"latin lookalikes stay latin", "KO KM KC KH", "KO KM KC KH"},
        {"euro is in the code page", "€", "\x88"},
        {"chinese is not", "保险", "??"},
        {"emoji is not", "a\xF0\x9F\x9A\x97z", "a?z"},
        {"control characters pass", "a\tb", "a\tb"},
        {"stray continuation byte", "a\x80z", "a?z"},
        {"truncated sequence at the end", "a\xD0", "a?"},
        {"truncated sequence before ascii", "\xE2\x84z", "?z"},
        {"overlong slash", "\xC0\xAF", "??"},
        {"overlong three-byte form", "\xE0\x80\xAF", "?"},
        {"surrogate half", "\xED\xA0\x80", "?"},
        {"past U+10FFFF", "\xF4\x90\x80\x80", "?"},
        {"byte never valid", "\xFF", "?"},
        {"empty", "", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(engine::toWindows1251(c.utf8), c.expected);
    }
}

} // namespace
