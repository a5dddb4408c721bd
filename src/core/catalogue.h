#pragma once

#include <string_view>

namespace quimo {

constexpr int kBlockCount = 9;
constexpr int kStatementsPerBlock = 6;
constexpr int kQuestionCount = 54;

// Questions interleave: question q belongs to block ((q - 1) mod 9) + 1 at position
// ((q - 1) div 9) + 1, so block b holds b, b + 9, ..., b + 45.
int blockOfQuestion(int question);
int positionOfQuestion(int question);
int questionAt(int block, int position);

// The four forms in which a block's name appears. All texts are UTF-8 and used letter for
// letter, misspellings included, because users and stored picture names rely on them.
struct BlockNames
{
    std::string_view menuCaption;    // button in the block menu
    std::string_view chartLabel;     // bar label in the overview; two lines joined by '\r'
    std::string_view windowCaption;  // title of the block's detail window
    std::string_view snapshotSuffix; // appended to the base name for the block's picture
};

// block: 1..9
const BlockNames &blockNames(int block);

struct Statement
{
    int question = 0;
    std::string_view firstLine;    // e.g. " 1. Meine Ziele ..."
    std::string_view continuation; // empty for all but questions 4, 16, 17 and 33

    bool hasContinuation() const { return !continuation.empty(); }
};

// question: 1..54
const Statement &statement(int question);

} // namespace quimo
