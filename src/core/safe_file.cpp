#include "core/safe_file.h"

#include <cerrno>
#include <cstdio>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quimo {

namespace {

constexpr mode_t NewFileMode = 0644;

struct PathParts
{
    std::string folder;
    std::string name;
};

PathParts splitPath(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return {".", path};
    }
    return {slash == 0 ? std::string("/") : path.substr(0, slash), path.substr(slash + 1)};
}

// The mode the new file gets: that of the picture it replaces, else rw-r--r--. Fails when the
// path holds something that is not a file we may overwrite.
bool targetMode(const std::string &path, mode_t &mode)
{
    struct stat info
    {
    };
    if (::stat(path.c_str(), &info) != 0) {
        mode = NewFileMode;
        return errno == ENOENT;
    }
    if (!S_ISREG(info.st_mode)) {
        return false;
    }
    // A file without any write permission counts as protected even for root, for whom
    // access() would allow the write.
    if ((info.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0) {
        return false;
    }
    mode = info.st_mode & 0777;
    return true;
}

bool writeAll(int fd, std::span<const std::uint8_t> bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (written == 0) {
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

// Fills the temporary file and closes it; the descriptor is closed on every path.
bool fillAndClose(int fd, std::span<const std::uint8_t> bytes, mode_t mode)
{
    bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0 && ::fchmod(fd, mode) == 0;
    // On Linux the descriptor is gone even when close reports EINTR, and fsync has already
    // reported any write-back error.
    if (::close(fd) != 0 && errno != EINTR) {
        ok = false;
    }
    return ok;
}

// Makes the rename itself survive a crash; the picture is complete either way, so a failure
// here is not reported.
void syncFolder(const std::string &folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

FileCreateError::FileCreateError(const std::string &displayName)
    : std::runtime_error("Datei " + displayName + " kann nicht erstellt werden")
{
}

void writeFileReplacing(const std::string &path, const std::string &displayName,
                        std::span<const std::uint8_t> bytes)
{
    const PathParts parts = splitPath(path);
    mode_t mode = NewFileMode;
    if (parts.name.empty() || !targetMode(path, mode)) {
        throw FileCreateError(displayName);
    }

    // Hidden, so that a file left behind by a crash does not show among the pictures.
    std::string temporary = parts.folder + "/." + parts.name + ".XXXXXX";
    std::vector<char> templateBuffer(temporary.begin(), temporary.end());
    templateBuffer.push_back('\0');
    const int fd = ::mkostemp(templateBuffer.data(), O_CLOEXEC);
    if (fd < 0) {
        throw FileCreateError(displayName);
    }
    temporary.assign(templateBuffer.data());

    if (!fillAndClose(fd, bytes, mode) || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        throw FileCreateError(displayName);
    }
    syncFolder(parts.folder);
}

} // namespace quimo
