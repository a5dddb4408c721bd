// bench_startup_phases: the program's start-up up to the open dialog, split into its steps.
// Runs the same steps as quimo-auswertung's main() and Application, in the same order, and
// prints to stderr the time of each since fork() (BENCH_T0_MS, CLOCK_MONOTONIC, set by
// bench_xprobe) so that loading the libraries shows as the first step.

#include "ui/application.h"
#include "ui/open_dialog.h"
#include "ui/overview_window.h"
#include "ui/pictures.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontMetrics>
#include <QProxyStyle>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

double t0 = 0;

double nowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

void mark(const char *phase)
{
    std::fprintf(stderr, "phase %s %.3f\n", phase, nowMs() - t0);
    std::fflush(stderr);
}

} // namespace

int main(int argc, char **argv)
{
    const char *start = std::getenv("BENCH_T0_MS");
    t0 = start ? std::atof(start) : nowMs();
    mark("main_entered");
    QApplication application(argc, argv);
    mark("qapplication_constructed");
    QApplication::setStyle(new QProxyStyle); // as Application's hint timing does
    mark("style_set");
    quimo::ui::setUpFonts();
    mark("fonts_set_up");
    quimo::ui::installGermanTranslations(application);
    mark("translations_installed");
    if (std::getenv("BENCH_SPLIT")) {
        // What the overview's constructor does first of all: the fonts, then its icons.
        (void)QFontMetrics(quimo::ui::layoutFont(QStringLiteral("MS Sans Serif"), 11)).height();
        mark("font_database_loaded");
        (void)quimo::ui::applicationIcon().pixmap(32);
        mark("application_icon_loaded");
        (void)quimo::ui::doorIcon();
        mark("door_icon_drawn");
        QFileDialog warm;
        mark("a_first_qfiledialog_constructed");
    }
    quimo::ui::OverviewWindow window;
    mark("overview_constructed");
    quimo::ui::OpenDialog::setHandler([](QFileDialog &dialog) {
        mark("open_dialog_constructed");
        return dialog.exec() == QDialog::Accepted;
    });
    window.show();
    mark("overview_shown");
    return application.exec();
}
