#pragma once

#include "core/answer_record.h"

#include <string>

namespace quimo {

// What one run of the program knows once the user has chosen a data file.
struct Session
{
    AnswerRecord answers;
    std::string dataFilePath; // full path as the open dialog returned it
    std::string baseName;     // file name without folder and extension
    bool saveSnapshots = false;
};

} // namespace quimo
