// bench_core MODE ANSWER_FILE: the work between choosing the answer file and a filled chart,
// for callgrind (run with --instr-atstart=no; only the part between START and STOP counts).
//   read_score  reading the answer file and scoring the nine blocks
//   fill        the same, then OverviewWindow::showEvaluation (which fills the chart)
//   render      painting the filled overview once into a picture (the chart's paintEvent)

#include "core/answer_record.h"
#include "core/file_names.h"
#include "core/scoring.h"
#include "core/session.h"
#include "ui/application.h"
#include "ui/overview_window.h"
#include "ui/snapshot.h"

#include <valgrind/callgrind.h>

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_core read_score|fill|render ANSWER_FILE\n");
        return 2;
    }
    quimo::ui::Application application(argc, argv);
    const std::string mode = argv[1];
    quimo::Session session;
    session.dataFilePath = argv[2];
    session.baseName = quimo::baseName(session.dataFilePath);
    quimo::ui::OverviewWindow window;
    std::uint64_t sink = 0;

    if (mode == "render") {
        if (!quimo::readAnswerRecord(session.dataFilePath, session.answers)) {
            return 1;
        }
        window.showEvaluation(session);
        CALLGRIND_START_INSTRUMENTATION;
        const QImage picture = quimo::ui::renderWindow(&window, 80);
        CALLGRIND_STOP_INSTRUMENTATION;
        sink = std::uint64_t(picture.width());
    } else {
        CALLGRIND_START_INSTRUMENTATION;
        if (!quimo::readAnswerRecord(session.dataFilePath, session.answers)) {
            return 1;
        }
        const quimo::BlockTotals totals = quimo::blockTotals(session.answers);
        for (const std::uint64_t total : totals) {
            sink += quimo::blockScore(total);
        }
        if (mode == "fill") {
            window.showEvaluation(session);
        }
        CALLGRIND_STOP_INSTRUMENTATION;
    }
    std::printf("checksum %llu\n", static_cast<unsigned long long>(sink));
    return 0;
}
