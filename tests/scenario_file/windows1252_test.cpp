#include "scenario_file/windows1252.h"

#include <gtest/gtest.h>

namespace zeb {
namespace {

// Every byte survives the trip through UTF-8; the western characters map as the code page says.
TEST(Windows1252, MapsEveryByte) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(utf8ToWindows1252(windows1252ToUtf8(all)), all);
    EXPECT_EQ(windows1252ToUtf8("\x80\xE0\x9C\xFF"), "€àœÿ");
    EXPECT_EQ(windows1252ToUtf8("\x81\x8D\x8F\x90\x9D"), "\u0081\u008D\u008F\u0090\u009D");
    EXPECT_EQ(utf8ToWindows1252("sarà € 1°"), "sar\xE0 \x80 1\xB0");
}

TEST(Windows1252, RefusesWhatTheCodePageCannotHold) {
    EXPECT_EQ(utf8ToWindows1252("Łódź"), std::nullopt);
    EXPECT_EQ(utf8ToWindows1252("\u0080"), std::nullopt); // the euro's byte holds the euro
    EXPECT_EQ(utf8ToWindows1252("treno 🚆"), std::nullopt);
    EXPECT_EQ(utf8ToWindows1252("\xC3"), std::nullopt);         // cut-off sequence
    EXPECT_EQ(utf8ToWindows1252("\xE0\x41\x41"), std::nullopt); // bad continuation
}

// Only the shortest form of a character is UTF-8: an overlong line feed, carriage return or NUL
// would otherwise reach the file as the byte itself and split a value.
TEST(Windows1252, DecodesStrictly) {
    for (const char* malformed : {"a\xC0\x8A"
                                  "b",
                                  "\xC0\x8D", "\xC0\x80", "\xE0\x80\x8A", "\xF0\x80\x80\x8A",
                                  "\xC1\xBF", "\xED\xA0\x80" /* surrogate */,
                                  "\xF4\x90\x80\x80" /* past U+10FFFF */, "\xF8\x88\x80\x80\x80"}) {
        EXPECT_FALSE(isValidUtf8(malformed)) << malformed;
        EXPECT_EQ(utf8ToWindows1252(malformed), std::nullopt) << malformed;
    }
    for (const char* wellFormed :
         {"\xC2\x80", "\xE0\xA0\x80", "\xF0\x90\x80\x80", "\xED\x9F\xBF", "\xF4\x8F\xBF\xBF"})
        EXPECT_TRUE(isValidUtf8(wellFormed)) << wellFormed;
}

} // namespace
} // namespace zeb
