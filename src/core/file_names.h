#pragma once

#include <string>
#include <string_view>

namespace quimo {

// The data file's name without its folder and without everything from the first dot on:
// "/daten/Test.2004.dat" -> "Test".
std::string baseName(std::string_view path);

// The overview picture beside the data file: the extension replaced by "jpg", or ".jpg"
// appended when there is none. Never the data file itself.
std::string overviewPictureName(std::string_view dataFilePath);

// The picture of block 1..9: base name followed by the block's snapshot suffix, no folder.
std::string detailPictureName(std::string_view baseName, int block);

} // namespace quimo
