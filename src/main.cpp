#include "ui/application.h"
#include "ui/overview_window.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

// Qt's own message for a missing display is a platform-plugin error that helps nobody.
bool hasDisplay()
{
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char *value = std::getenv(name);
        if (value && *value) {
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    if (!hasDisplay()) {
        std::fputs("quimo-auswertung: kein Bildschirm gefunden (DISPLAY ist nicht gesetzt) - "
                   "bitte in einer grafischen Sitzung starten.\n",
                   stderr);
        return 1;
    }
    // A full disk or a file-size limit must fail a picture's save, not end the program.
    std::signal(SIGXFSZ, SIG_IGN);
    quimo::ui::Application application(argc, argv);
    quimo::ui::OverviewWindow window;
    window.show();
    return application.exec();
}
