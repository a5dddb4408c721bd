// bench_snapshot ANSWER_FILE OUT_DIR ITERATIONS: the overview's snapshot on a real screen.
//
// A real OverviewWindow, filled from ANSWER_FILE, is shown on the X display; then each
// iteration times, in turn: the program's whole snapshot (screen capture, scratch picture,
// JPEG encoding, safe write), the capture alone, the encoder alone, the safe write alone, and
// Qt's QImageWriter writing the same captured picture as JPEG at quality 90 into the same
// folder. Prints "name median min max" in milliseconds, one line each.

#include "core/answer_record.h"
#include "core/file_names.h"
#include "core/jpeg_writer.h"
#include "core/safe_file.h"
#include "core/session.h"
#include "ui/application.h"
#include "ui/overview_window.h"
#include "ui/snapshot.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImageWriter>
#include <QLabel>
#include <QWindow>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void settle(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: bench_snapshot ANSWER_FILE OUT_DIR ITERATIONS\n");
        return 2;
    }
    quimo::ui::Application application(argc, argv);
    const std::string dataFile = argv[1];
    const QString outDir = QString::fromLocal8Bit(argv[2]);
    const int iterations = std::max(1, std::atoi(argv[3]));

    quimo::Session session;
    session.dataFilePath = dataFile;
    session.baseName = quimo::baseName(dataFile);
    if (!quimo::readAnswerRecord(dataFile, session.answers)) {
        std::fprintf(stderr, "bench_snapshot: cannot read %s\n", argv[1]);
        return 1;
    }

    quimo::ui::OverviewWindow window;
    window.showEvaluation(session);
    window.show();
    QElapsedTimer waited;
    waited.start();
    while (!(window.windowHandle() && window.windowHandle()->isExposed()) &&
           waited.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    settle(500); // the chart's last repaint reaches the screen

    QLabel scratch; // stands in for the overview's hidden scratch picture
    const QString ours = QDir(outDir).filePath(QStringLiteral("QUIMO.jpg"));
    const QString theirs = QDir(outDir).filePath(QStringLiteral("QUIMO-qt.jpg"));
    const std::string oursPath = QFile::encodeName(ours).toStdString();
    const QImage captured = quimo::ui::captureForegroundWindow(&window, 80);
    const quimo::RgbImage rgb = quimo::ui::rgbImage(captured);
    const std::vector<std::uint8_t> encoded = quimo::encodeJpeg(rgb);

    std::map<std::string, std::vector<double>> times;
    for (int i = 0; i < iterations; ++i) {
        auto t = Clock::now();
        quimo::ui::saveSnapshot(&window, 80, &scratch, ours, ours);
        times["snapshot_full"].push_back(msSince(t));

        t = Clock::now();
        const QImage picture = quimo::ui::captureForegroundWindow(&window, 80);
        times["capture"].push_back(msSince(t));

        t = Clock::now();
        quimo::ui::writePicture(picture, ours, ours);
        times["write_picture"].push_back(msSince(t));

        t = Clock::now();
        QImageWriter writer(theirs, "jpeg");
        writer.setQuality(90);
        if (!writer.write(picture)) {
            std::fprintf(stderr, "bench_snapshot: QImageWriter: %s\n",
                         qPrintable(writer.errorString()));
            return 1;
        }
        times["qimagewriter"].push_back(msSince(t));

        t = Clock::now();
        const quimo::RgbImage converted = quimo::ui::rgbImage(picture);
        times["rgb_convert"].push_back(msSince(t));

        t = Clock::now();
        const std::vector<std::uint8_t> jpeg = quimo::encodeJpeg(converted);
        times["encode"].push_back(msSince(t));

        t = Clock::now();
        quimo::writeFileReplacing(oursPath, oursPath, jpeg);
        times["safe_write"].push_back(msSince(t));

        // The same bytes without the flush to disk, to show what the flush costs.
        t = Clock::now();
        const std::string plain = oursPath + ".plain";
        const int fd = ::open(plain.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || ::write(fd, jpeg.data(), jpeg.size()) != ssize_t(jpeg.size())) {
            std::fprintf(stderr, "bench_snapshot: cannot write %s\n", plain.c_str());
            return 1;
        }
        ::close(fd);
        times["plain_write"].push_back(msSince(t));
        ::unlink(plain.c_str());
    }

    for (auto &[name, values] : times) {
        std::sort(values.begin(), values.end());
        std::printf("%s %.3f %.3f %.3f\n", name.c_str(), values[values.size() / 2], values.front(),
                    values.back());
    }
    std::printf("size_ours %lld\nsize_qt %lld\npicture %dx%d\n",
                static_cast<long long>(QFileInfo(ours).size()),
                static_cast<long long>(QFileInfo(theirs).size()), captured.width(),
                captured.height());
    (void)encoded;
    return 0;
}
