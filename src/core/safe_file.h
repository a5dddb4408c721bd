#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

namespace quimo {

// "Datei <name> kann nicht erstellt werden"
class FileCreateError : public std::runtime_error
{
public:
    explicit FileCreateError(const std::string &displayName);
};

// Writes bytes to path so that the file is either wholly replaced or left as it was: the bytes
// go to a temporary file in the same folder, which is flushed and renamed over path only when
// all of it was written. An existing path that may not be written is not replaced.
// displayName is the name the user is told in FileCreateError.
void writeFileReplacing(const std::string &path, const std::string &displayName,
                        std::span<const std::uint8_t> bytes);

} // namespace quimo
