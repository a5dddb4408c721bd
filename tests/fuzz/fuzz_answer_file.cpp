// Feeds arbitrary bytes through the whole data path of the program: the answer file as the
// user may pick it, the scoring, the gauges and the picture names derived from its name.

#include "core/answer_record.h"
#include "core/catalogue.h"
#include "core/file_names.h"
#include "core/scoring.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

void check(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "property violated: %s\n", what);
        std::abort();
    }
}

const std::string &scratchFile()
{
    static const std::string path = [] {
        char name[] = "/tmp/quimo-fuzz-XXXXXX";
        const int fd = ::mkstemp(name);
        check(fd >= 0, "scratch file");
        ::close(fd);
        return std::string(name);
    }();
    return path;
}

void writeScratch(const std::uint8_t *data, std::size_t size)
{
    FILE *file = std::fopen(scratchFile().c_str(), "wb");
    check(file != nullptr, "open scratch file");
    check(std::fwrite(data, 1, size, file) == size, "write scratch file");
    std::fclose(file);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    writeScratch(data, size);
    quimo::AnswerRecord record;
    const bool read = quimo::readAnswerRecord(scratchFile(), record);
    check(read == (size >= quimo::AnswerRecord::kSize), "a file reads iff it holds 264 bytes");
    if (read) {
        check(std::memcmp(record.bytes.data(), data, quimo::AnswerRecord::kSize) == 0,
              "the first 264 bytes are the record");

        const quimo::BlockTotals totals = quimo::blockTotals(record);
        for (int block = 1; block <= quimo::kBlockCount; ++block) {
            const std::uint64_t total = totals[std::size_t(block - 1)];
            check(total <= 6ull * 2147483648ull, "a total stays within six answers");
            check(quimo::blockScore(total) == total * 100 / 30, "score is total * 100 div 30");
            for (int position = 1; position <= quimo::kStatementsPerBlock; ++position) {
                const int value =
                    quimo::gaugeValue(record.answer(quimo::questionAt(block, position)));
                check(value >= 0 && value <= 100, "gauge within 0..100");
            }
        }
    }

    // The same bytes as a file name the open dialog may return.
    const std::string name(reinterpret_cast<const char *>(data), size);
    const std::string path = "/daten/" + name;
    const std::string base = quimo::baseName(path);
    check(base.find('/') == std::string::npos, "base name has no folder");
    check(base.find('.') == std::string::npos, "base name has no extension");
    const std::string overview = quimo::overviewPictureName(path);
    check(overview != path, "the picture never replaces the data file");
    check(overview.size() >= 4 && overview.compare(overview.size() - 4, 4, ".jpg") == 0,
          "overview picture ends in .jpg");
    check(overview.rfind('/') == path.rfind('/'), "overview picture lies beside the data file");
    for (int block = 1; block <= quimo::kBlockCount; ++block) {
        const std::string detail = quimo::detailPictureName(base, block);
        check(detail.find('/') == std::string::npos, "block picture has no folder part");
    }
    return 0;
}
