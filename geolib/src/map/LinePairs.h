#pragma once

#include <cstdint>

// The line-pair table: lines that link an enclave to the administration around it, or two
// parts of one administration, to the outline they belong to.
namespace geo {

inline constexpr int kLinePairCount = 20;
inline constexpr int kEnclavePairs = 12;  // entries 1 to 12; the rest join split administrations

/// True when the line is the first line of an entry of the table.
bool isPairLine(std::int32_t lineId);

/// GEOLNPR: mode below 2 answers isPairLine in `result` (1 or 0); mode 2 marks the outlines
/// around enclaves, mode 3 or above the outlines of split administrations, whose other part
/// loses its symbol. The outlines' lines are their ring lines.
void GEOLNPR(std::int32_t mode, std::int32_t lineId, std::int16_t& result);

}  // namespace geo
