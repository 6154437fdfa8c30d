#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace zeb::test {

// A small feed of our own around the station Valmora (VAL, platforms "Binario 1", "Gleis 2"
// and "NB"). On weekdays of 2024 (service FER, off on Thursday 7 March):
//   2231  Nordia 7:40 → Valmora 7:55/7:57 → Pieve 8:10 → Rocca 8:20 → Sudia 8:40 (Binario 1)
//   2233  starts at Valmora 9:05 (Gleis 2) → Sudia 9:30
//   2235  Sudia 23:30 → ends at Valmora 24:10 (NB), the next calendar day
// and a bus b1 Valmora 12:00 → Pieve 12:30 on Saturday 9 March only (service FES).
using FeedFiles = std::map<std::string, std::string>;
FeedFiles valleFeed();

// Replaces the first occurrence of `from` in `file` of `feed` by `to`.
void edit(FeedFiles& feed, const std::string& file, const std::string& from, const std::string& to);

// `zip` with the size every header declares for the entry `name` once inflated set to `size`.
std::string declaringSize(std::string zip, const std::string& name, std::uint32_t size);

} // namespace zeb::test
