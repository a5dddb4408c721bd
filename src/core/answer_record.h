#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace quimo {

// One record of the questionnaire's answer file: 264 bytes, integers little-endian.
// Bytes 44..259 hold the 54 answers; the rest belongs to the questionnaire program.
class AnswerRecord
{
public:
    static constexpr std::size_t kSize = 264;
    static constexpr std::size_t kAnswersOffset = 44;
    static constexpr int kQuestionCount = 54;

    // The answer to question 1..54: 0..4 are the five steps of the scale, negative is "no answer".
    std::int32_t answer(int question) const;
    void setAnswer(int question, std::int32_t value);

    std::array<std::uint8_t, kSize> bytes{};
};

// Reads the first record of the file at path. Succeeds only for a regular file that can be
// opened for reading and holds at least 264 bytes; the file is never written or created.
bool readAnswerRecord(const std::string &path, AnswerRecord &record);

} // namespace quimo
