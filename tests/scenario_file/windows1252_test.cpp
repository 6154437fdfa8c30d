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

} // namespace
} // namespace zeb
