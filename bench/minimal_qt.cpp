// The yardstick of the start-up benchmark: one plain QWidget, shown, nothing else.
// --file-dialog shows a bare QFileDialog instead: the least any program pays that opens with
// Qt's own file dialog (fonts, icons, file system model), as quimo-auswertung does.

#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--qt-version") == 0) {
        std::printf("%s\n", qVersion());
        return 0;
    }
    QApplication application(argc, argv);
    std::unique_ptr<QWidget> window;
    if (argc > 1 && std::strcmp(argv[1], "--file-dialog") == 0) {
        window = std::make_unique<QFileDialog>();
    } else {
        window = std::make_unique<QWidget>();
        window->resize(808, 609);
    }
    window->setWindowTitle(QStringLiteral("bench-minimal-qt"));
    window->show();
    // --quit-after-ms N: ends by itself, so that its peak memory can be read like a full run's.
    if (argc > 2 && std::strcmp(argv[1], "--quit-after-ms") == 0) {
        QTimer::singleShot(std::atoi(argv[2]), &application, &QApplication::quit);
    }
    return application.exec();
}
