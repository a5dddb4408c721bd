#include "core/answer_record.h"

#include <cassert>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quimo {

namespace {

std::size_t answerOffset(int question)
{
    assert(question >= 1 && question <= AnswerRecord::kQuestionCount);
    return AnswerRecord::kAnswersOffset + 4 * static_cast<std::size_t>(question - 1);
}

// Closes the descriptor on every way out of the reading.
class FileDescriptor
{
public:
    explicit FileDescriptor(int fd)
        : fd_(fd)
    {
    }
    ~FileDescriptor()
    {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

} // namespace

std::int32_t AnswerRecord::answer(int question) const
{
    const std::size_t at = answerOffset(question);
    const std::uint32_t value = std::uint32_t(bytes[at]) | std::uint32_t(bytes[at + 1]) << 8 |
                                std::uint32_t(bytes[at + 2]) << 16 |
                                std::uint32_t(bytes[at + 3]) << 24;
    return static_cast<std::int32_t>(value);
}

void AnswerRecord::setAnswer(int question, std::int32_t value)
{
    const std::size_t at = answerOffset(question);
    const auto bits = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<std::uint8_t>(bits >> (8 * i));
    }
}

bool readAnswerRecord(const std::string &path, AnswerRecord &record)
{
    // Read-only: the program never writes the data file, so a write-protected file is fine.
    // O_NONBLOCK keeps a FIFO from blocking the program until a writer appears; anything but
    // a regular file is refused before a single byte is read.
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0) {
        return false;
    }
    struct stat info
    {
    };
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return false;
    }

    AnswerRecord read;
    std::size_t done = 0;
    while (done < AnswerRecord::kSize) {
        const ssize_t n = ::read(file.get(), read.bytes.data() + done, AnswerRecord::kSize - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    record = read;
    return true;
}

} // namespace quimo
