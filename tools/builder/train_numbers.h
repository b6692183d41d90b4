#pragma once
// Train numbers as the patterns write them: "T1", "1112/1113", "G101..G159".
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vormek::builder {

// One number or a series (every second number from the first to the last,
// same letters in front, same parity). nullopt with a reason otherwise.
std::optional<std::vector<std::string>> ExpandNumbers(std::string_view word, std::string& error);

// The partner running the other way: each "/"-part's digits flip within
// their odd/even pair (G101 <-> G102, 1112/1113 <-> 1111/1114). nullopt when
// a part has no digits or its number is 0.
std::optional<std::string> PartnerNumber(std::string_view id);

// K, T and Z trains: classic fast and express trains.
bool IsClassicExpress(std::string_view id);

// Trains that each ran to their own times and stops, never as a
// regular-interval series: K, T, Z and the numbered trains without a letter.
bool RunsOnItsOwn(std::string_view id);

}  // namespace vormek::builder
