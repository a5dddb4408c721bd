#include "core/scoring.h"

#include <algorithm>

namespace quimo {

BlockTotals blockTotals(const AnswerRecord &record)
{
    BlockTotals totals{};
    for (int question = 1; question <= kQuestionCount; ++question) {
        const std::int64_t answer = record.answer(question);
        if (answer >= 0) {
            totals[std::size_t(blockOfQuestion(question) - 1)] += std::uint64_t(answer) + 1;
        }
    }
    return totals;
}

std::uint64_t blockScore(std::uint64_t total)
{
    // At most 6 * 2^31 points per block, so the product stays far below 2^64.
    return total * 100 / 30;
}

int unansweredCount(const AnswerRecord &record)
{
    int count = 0;
    for (int question = 1; question <= kQuestionCount; ++question) {
        count += record.answer(question) < 0 ? 1 : 0;
    }
    return count;
}

int gaugeValue(std::int32_t answer)
{
    const std::int64_t value = (std::int64_t(answer) + 1) * 20;
    return int(std::clamp<std::int64_t>(value, 0, 100));
}

} // namespace quimo
