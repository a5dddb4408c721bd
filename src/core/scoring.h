#pragma once

#include "core/answer_record.h"
#include "core/catalogue.h"

#include <array>
#include <cstdint>

namespace quimo {

// Sums per block: every answer a >= 0 adds a + 1, a negative answer adds nothing.
// 64 bits wide, so corrupt answer values never wrap a total around.
using BlockTotals = std::array<std::uint64_t, kBlockCount>;

BlockTotals blockTotals(const AnswerRecord &record);

// Whole percent of the highest regular total (six answers of 4 = 30 points), truncated.
// Values above 4 in the file give scores above 100 on purpose; the chart cuts them off.
std::uint64_t blockScore(std::uint64_t total);

// How many of the 54 statements carry no answer (a negative value).
int unansweredCount(const AnswerRecord &record);

// Percentage that a statement's gauge shows: (a + 1) * 20, clamped to 0..100.
int gaugeValue(std::int32_t answer);

} // namespace quimo
