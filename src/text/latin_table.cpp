#include "text/latin_table.h"

#include "model/value_tables.h"
#include "scenario_file/windows1252.h"
#include "text/latin_letters.h"

#include <algorithm>

#include <iterator>

namespace zeb {

namespace {

// Made once from ICU's transliteration, one entry a code point from the first of its block; 0
// where it keeps the code point. The tests compare it with ICU wherever ICU is at hand.
constexpr const char* kLatin[] = {
    " ",    "!", 0,     0,    0,    0,    0,   0,    0,    "(C)", 0,    "<<", 0,    "-",    "(R)",
    0,      0,   "+/-", 0,    0,    0,    0,   0,    0,    0,     0,    0,    ">>", " 1/4", " 1/2",
    " 3/4", "?", "A",   "A",  "A",  "A",  "A", "A",  "AE", "C",   "E",  "E",  "E",  "E",    "I",
    "I",    "I", "I",   "D",  "N",  "O",  "O", "O",  "O",  "O",   "*",  "O",  "U",  "U",    "U",
    "U",    "Y", "TH",  "ss", "a",  "a",  "a", "a",  "a",  "a",   "ae", "c",  "e",  "e",    "e",
    "e",    "i", "i",   "i",  "i",  "d",  "n", "o",  "o",  "o",   "o",  "o",  "/",  "o",    "u",
    "u",    "u", "u",   "y",  "th", "y",  "A", "a",  "A",  "a",   "A",  "a",  "C",  "c",    "C",
    "c",    "C", "c",   "C",  "c",  "D",  "d", "D",  "d",  "E",   "e",  "E",  "e",  "E",    "e",
    "E",    "e", "E",   "e",  "G",  "g",  "G", "g",  "G",  "g",   "G",  "g",  "H",  "h",    "H",
    "h",    "I", "i",   "I",  "i",  "I",  "i", "I",  "i",  "I",   "i",  "IJ", "ij", "J",    "j",
    "K",    "k", "q",   "L",  "l",  "L",  "l", "L",  "l",  "L",   "l",  "L",  "l",  "N",    "n",
    "N",    "n", "N",   "n",  "'n", "N",  "n", "O",  "o",  "O",   "o",  "O",  "o",  "OE",   "oe",
    "R",    "r", "R",   "r",  "R",  "r",  "S", "s",  "S",  "s",   "S",  "s",  "S",  "s",    "T",
    "t",    "T", "t",   "T",  "t",  "U",  "u", "U",  "u",  "U",   "u",  "U",  "u",  "U",    "u",
    "U",    "u", "W",   "w",  "Y",  "y",  "Y", "Z",  "z",  "Z",   "z",  "Z",  "z",  "s",    "b",
    "B",    "B", "b",   0,    0,    0,    "C", "c",  "D",  "D",   "D",  "d",  0,    0,      0,
    "E",    "F", "f",   "G",  0,    "hv", "I", "I",  "K",  "k",   "l",  0,    0,    "N",    "n",
    0,      "O", "o",   "OI", "oi", "P",  "p", 0,    0,    0,     0,    0,    "t",  "T",    "t",
    "T",    "U", "u",   0,    "V",  "Y",  "y", "Z",  "z",  0,     0,    0,    0,    0,      0,
    0,      0,   0,     0,    0,    0,    0,   "DZ", "Dz", "dz",  "LJ", "Lj", "lj", "NJ",   "Nj",
    "nj",   "A", "a",   "I",  "i",  "O",  "o", "U",  "u",  "U",   "u",  "U",  "u",  "U",    "u",
    "U",    "u", 0,     "A",  "a",  "A",  "a", "AE", "ae", "G",   "g",  "G",  "g",  "K",    "k",
    "O",    "o", "O",   "o",  0,    0,    "j", "DZ", "Dz", "dz",  "G",  "g",  0,    0,      "N",
    "n",    "A", "a",   "AE", "ae", "O",  "o", "A",  "a",  "A",   "a",  "E",  "e",  "E",    "e",
    "I",    "i", "I",   "i",  "O",  "o",  "O", "o",  "R",  "r",   "R",  "r",  "U",  "u",    "U",
    "u",    "S", "s",   "T",  "t",  0,    0,   "H",  "h",  0,     "d",  0,    0,    "Z",    "z",
    "A",    "a", "E",   "e",  "O",  "o",  "O", "o",  "O",  "o",   "O",  "o",  "Y",  "y",    "l",
    "n",    "t", "j",   "db", "qp", "A",  "C", "c",  "L",  "T",   "s",  "z",  0,    0,      "B",
    "U",    0,   "E",   "e",  "J",  "j",  0,   0,    "R",  "r",   "Y",  "y",
};
constexpr const char* kLatinAdditional[] = {
    "A", "a", "B", "b", "B", "b", "B", "b", "C", "c", "D", "d", "D", "d", "D",  "d", "D",  "d",
    "D", "d", "E", "e", "E", "e", "E", "e", "E", "e", "E", "e", "F", "f", "G",  "g", "H",  "h",
    "H", "h", "H", "h", "H", "h", "H", "h", "I", "i", "I", "i", "K", "k", "K",  "k", "K",  "k",
    "L", "l", "L", "l", "L", "l", "L", "l", "M", "m", "M", "m", "M", "m", "N",  "n", "N",  "n",
    "N", "n", "N", "n", "O", "o", "O", "o", "O", "o", "O", "o", "P", "p", "P",  "p", "R",  "r",
    "R", "r", "R", "r", "R", "r", "S", "s", "S", "s", "S", "s", "S", "s", "S",  "s", "T",  "t",
    "T", "t", "T", "t", "T", "t", "U", "u", "U", "u", "U", "u", "U", "u", "U",  "u", "V",  "v",
    "V", "v", "W", "w", "W", "w", "W", "w", "W", "w", "W", "w", "X", "x", "X",  "x", "Y",  "y",
    "Z", "z", "Z", "z", "Z", "z", "h", "t", "w", "y", "a", "s", "s", "s", "SS", 0,   "A",  "a",
    "A", "a", "A", "a", "A", "a", "A", "a", "A", "a", "A", "a", "A", "a", "A",  "a", "A",  "a",
    "A", "a", "A", "a", "E", "e", "E", "e", "E", "e", "E", "e", "E", "e", "E",  "e", "E",  "e",
    "E", "e", "I", "i", "I", "i", "O", "o", "O", "o", "O", "o", "O", "o", "O",  "o", "O",  "o",
    "O", "o", "O", "o", "O", "o", "O", "o", "O", "o", "O", "o", "U", "u", "U",  "u", "U",  "u",
    "U", "u", "U", "u", "U", "u", "U", "u", "Y", "y", "Y", "y", "Y", "y", "Y",  "y", "LL", "ll",
    "V", "v", "Y", "y",
};
constexpr const char* kPunctuation[] = {
    " ", " ", " ", " ",  " ", " ",  " ",   " ",  " ",  " ",  " ", 0,   0,    0,    0,    0,
    "-", "-", "-", "-",  "-", "-",  "||",  0,    "'",  "'",  ",", "'", "\"", "\"", ",,", "\"",
    0,   0,   0,   0,    ".", "..", "...", 0,    0,    0,    0,   0,   0,    0,    0,    0,
    0,   0,   "'", "\"", 0,   0,    0,     0,    0,    "<",  ">", 0,   "!!", 0,    0,    0,
    0,   0,   0,   0,    "/", "[",  "]",   "??", "?!", "!?", 0,   0,   0,    0,    "*",  0,
    0,   0,   0,   0,    0,   0,    0,     0,    0,    0,    0,   0,   0,    0,    0,    " ",
    0,   0,   0,   0,    0,   0,    0,     0,    0,    0,    0,   0,   0,    0,    0,    0,
};
constexpr const char* kCurrency[] = {
    "CE", 0,    "Cr", "Fr.", "L.", 0, 0, "Pts", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0,    "Rs", "TL", 0,     0,    0, 0, 0,     0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
};

struct Block {
    char32_t first;
    const char* const* texts;
    std::size_t size;
};

constexpr Block kBlocks[] = {
    {0x00A0, kLatin, std::size(kLatin)},
    {0x1E00, kLatinAdditional, std::size(kLatinAdditional)},
    {0x2000, kPunctuation, std::size(kPunctuation)},
    {0x20A0, kCurrency, std::size(kCurrency)},
};

} // namespace

const char* latinLettersOf(char32_t c) {
    for (const Block& block : kBlocks)
        if (c >= block.first && c - block.first < block.size)
            return block.texts[c - block.first];
    return nullptr;
}

std::string latinLettersByTable(std::string_view utf8, bool lowerCase) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const std::optional<char32_t> c = nextCodePoint(utf8, pos);
        if (!c) {
            ++pos;
            appendUtf8(out, 0xFFFD);
        } else if (const char* latin = latinLettersOf(*c)) {
            out += latin;
        } else {
            appendUtf8(out, *c);
        }
    }
    if (lowerCase)
        for (char& ch : out)
            if (ch >= 'A' && ch <= 'Z')
                ch = static_cast<char>(ch - 'A' + 'a');
    return out;
}

// The same for the ICU build and the other: plain ASCII needs no transliteration.
std::string searchKey(std::string_view utf8) {
    if (std::all_of(utf8.begin(), utf8.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return lowered(utf8);
    return inLatinLetters(utf8, true);
}

} // namespace zeb
