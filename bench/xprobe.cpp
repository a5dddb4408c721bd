// bench_xprobe: starts a program and times its windows from outside, through the X server.
//
//   bench_xprobe [OPTIONS] -- PROGRAM ARGS...
//
// The clock starts right before fork(). Every top-level map on the screen is seen as a
// MapNotify of the root window (SubstructureNotify), so a map is timed as it happens rather
// than when a polling loop next looks. Options:
//   --title T          the window whose map ends the run (default: the first one mapped)
//   --flow OVERVIEW    after T is mapped and has the keyboard, presses Return; once the window
//                      --question Q is mapped and has the keyboard, presses Escape; then waits
//                      until row --row Y of the window OVERVIEW holds at least --count N navy
//                      (0,0,128) pixels on the screen
//   --calibrate        with --flow: instead of timing the chart, waits a second after Escape
//                      and prints the row of the overview that crosses the most navy pixels
//   --cwd DIR          the program's working folder
//   --log FILE         the program's output (default /dev/null)
//   --timeout S        gives up after S seconds (default 30)
// Prints "name milliseconds" lines. Keys are pressed through the XTEST extension from this
// process (as xdotool does), timed when the server has taken them.

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

// Xlibint.h (for the XTEST request below) defines min and max as macros: it comes last.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xlibint.h>
#include <X11/Xutil.h>
#include <X11/extensions/xtestproto.h>
#include <X11/keysym.h>
#undef min
#undef max

namespace {

double nowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

[[noreturn]] void die(const std::string &message)
{
    std::fprintf(stderr, "bench_xprobe: %s\n", message.c_str());
    std::exit(1);
}

int ignoreXErrors(Display *, XErrorEvent *)
{
    return 0;
}

struct Probe
{
    Display *display = nullptr;
    Window root = 0;
    Atom netWmName = 0;
    Atom utf8 = 0;

    std::string title(Window window) const
    {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char *data = nullptr;
        std::string result;
        if (XGetWindowProperty(display, window, netWmName, 0, 1024, False, utf8, &type, &format,
                               &count, &after, &data) == Success &&
            data) {
            result.assign(reinterpret_cast<char *>(data), count);
            XFree(data);
            return result;
        }
        char *name = nullptr;
        if (XFetchName(display, window, &name) && name) {
            result = name;
            XFree(name);
        }
        return result;
    }

    bool hasFocus(Window window) const
    {
        Window focus = 0;
        int revert = 0;
        XGetInputFocus(display, &focus, &revert);
        return focus == window;
    }

    // Navy pixels per row of rows [first, first + count) of window; empty when unreadable.
    std::vector<int> navyPerRow(Window window, int first, int count) const
    {
        XWindowAttributes attributes{};
        if (!XGetWindowAttributes(display, window, &attributes) ||
            attributes.map_state != IsViewable) {
            return {};
        }
        count = std::min(count, attributes.height - first);
        if (count <= 0) {
            return {};
        }
        XImage *image = XGetImage(display, window, 0, first, unsigned(attributes.width),
                                  unsigned(count), AllPlanes, ZPixmap);
        if (!image) {
            return {};
        }
        std::vector<int> rows(std::size_t(count), 0);
        for (int y = 0; y < count; ++y) {
            for (int x = 0; x < attributes.width; ++x) {
                const unsigned long pixel = XGetPixel(image, x, y);
                const int r = int((pixel >> 16) & 0xff);
                const int g = int((pixel >> 8) & 0xff);
                const int b = int(pixel & 0xff);
                if (r <= 8 && g <= 8 && std::abs(b - 128) <= 8) {
                    ++rows[std::size_t(y)];
                }
            }
        }
        XDestroyImage(image);
        return rows;
    }
};

// One key press and release through the XTEST extension, as xdotool sends them; written out
// here so that the helper needs libX11 only and knows when the key has reached the server.
void fakeKey(Display *dpy, int xtestOpcode, KeySym symbol)
{
    const KeyCode code = XKeysymToKeycode(dpy, symbol);
    for (const int type : {KeyPress, KeyRelease}) {
        LockDisplay(dpy);
        xXTestFakeInputReq *req = nullptr;
        GetReq(XTestFakeInput, req);
        req->reqType = CARD8(xtestOpcode);
        req->xtReqType = X_XTestFakeInput;
        req->type = CARD8(type);
        req->detail = code;
        req->time = CurrentTime;
        req->root = None;
        req->rootX = 0;
        req->rootY = 0;
        UnlockDisplay(dpy);
        SyncHandle();
    }
    XSync(dpy, False);
}

} // namespace

int main(int argc, char **argv)
{
    std::string wanted;
    std::string overviewTitle;
    std::string questionTitle = "Best\u00e4tigung";
    std::string cwd;
    std::string logFile = "/dev/null";
    int row = -1;
    int minCount = 1;
    bool calibrate = false;
    double timeoutMs = 30000;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                die("missing value after " + arg);
            }
            return argv[++i];
        };
        if (arg == "--") {
            ++i;
            break;
        } else if (arg == "--title") {
            wanted = value();
        } else if (arg == "--flow") {
            overviewTitle = value();
        } else if (arg == "--question") {
            questionTitle = value();
        } else if (arg == "--row") {
            row = std::atoi(value().c_str());
        } else if (arg == "--count") {
            minCount = std::max(1, std::atoi(value().c_str()));
        } else if (arg == "--calibrate") {
            calibrate = true;
        } else if (arg == "--cwd") {
            cwd = value();
        } else if (arg == "--log") {
            logFile = value();
        } else if (arg == "--timeout") {
            timeoutMs = std::atof(value().c_str()) * 1000;
        } else {
            die("unknown option " + arg);
        }
    }
    if (i >= argc) {
        die("no program to start");
    }
    const bool flow = !overviewTitle.empty();
    if (flow && !calibrate && row < 0) {
        die("--flow needs --row (or --calibrate)");
    }

    Probe probe;
    probe.display = XOpenDisplay(nullptr);
    if (!probe.display) {
        die("no X display");
    }
    XSetErrorHandler(ignoreXErrors);
    probe.root = DefaultRootWindow(probe.display);
    probe.netWmName = XInternAtom(probe.display, "_NET_WM_NAME", False);
    probe.utf8 = XInternAtom(probe.display, "UTF8_STRING", False);
    int xtestOpcode = 0;
    int firstEvent = 0;
    int firstError = 0;
    if (!XQueryExtension(probe.display, "XTEST", &xtestOpcode, &firstEvent, &firstError)) {
        die("the X server has no XTEST extension");
    }
    XSelectInput(probe.display, probe.root, SubstructureNotifyMask);
    XSync(probe.display, False);

    const double start = nowMs();
    // The start for a program that times its own steps (bench_startup_phases).
    setenv("BENCH_T0_MS", std::to_string(start).c_str(), 1);
    const pid_t child = fork();
    if (child < 0) {
        die("fork failed");
    }
    if (child == 0) {
        if (!cwd.empty() && chdir(cwd.c_str()) != 0) {
            _exit(126);
        }
        const int out = open(logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out >= 0) {
            dup2(out, 1);
            dup2(out, 2);
            close(out);
        }
        const int in = open("/dev/null", O_RDONLY);
        if (in >= 0) {
            dup2(in, 0);
            close(in);
        }
        execvp(argv[i], argv + i);
        _exit(127);
    }

    enum class Stage { Open, OpenFocus, Question, QuestionFocus, Paint, Done };
    Stage stage = Stage::Open;
    Window openWindow = 0;
    Window questionWindow = 0;
    Window overviewWindow = 0;
    std::vector<std::pair<std::string, double>> times;
    auto mark = [&](const char *name, double at) { times.emplace_back(name, at - start); };

    const int fd = ConnectionNumber(probe.display);
    while (stage != Stage::Done) {
        const double now = nowMs();
        if (now - start > timeoutMs) {
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
            die("timed out waiting (stage " + std::to_string(int(stage)) + ")");
        }
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) {
            die("the program ended before it was timed");
        }
        while (XPending(probe.display)) {
            XEvent event;
            XNextEvent(probe.display, &event);
            if (event.type != MapNotify) {
                continue;
            }
            const double at = nowMs();
            const Window window = event.xmap.window;
            const std::string name = probe.title(window);
            if (flow && name == overviewTitle && !overviewWindow) {
                overviewWindow = window;
                mark("overview_mapped", at);
            }
            if (stage == Stage::Open && (wanted.empty() || name == wanted)) {
                openWindow = window;
                mark("mapped", at);
                stage = flow ? Stage::OpenFocus : Stage::Done;
            } else if (stage == Stage::Question && name == questionTitle) {
                questionWindow = window;
                mark("question_mapped", at);
                stage = Stage::QuestionFocus;
            }
        }
        if (stage == Stage::OpenFocus && probe.hasFocus(openWindow)) {
            mark("open_focused", nowMs());
            fakeKey(probe.display, xtestOpcode, XK_Return);
            mark("enter_sent", nowMs());
            stage = Stage::Question;
        } else if (stage == Stage::QuestionFocus && probe.hasFocus(questionWindow)) {
            mark("question_focused", nowMs());
            fakeKey(probe.display, xtestOpcode, XK_Escape);
            mark("escape_sent", nowMs());
            stage = Stage::Paint;
        } else if (stage == Stage::Paint && overviewWindow) {
            if (calibrate) {
                usleep(1000 * 1000);
                const std::vector<int> rows = probe.navyPerRow(overviewWindow, 0, 4096);
                int best = 0;
                for (int count : rows) {
                    best = std::max(best, count);
                }
                // The lowest row that crosses (nearly) all bars, a little above their base.
                int chosen = -1;
                for (int y = int(rows.size()) - 1; y >= 0; --y) {
                    if (best > 0 && rows[std::size_t(y)] * 20 >= best * 19) {
                        chosen = std::max(0, y - 2);
                        break;
                    }
                }
                std::printf("calib_row %d\ncalib_count %d\n", chosen,
                            chosen >= 0 ? rows[std::size_t(chosen)] : 0);
                stage = Stage::Done;
            } else {
                const std::vector<int> rows = probe.navyPerRow(overviewWindow, row, 1);
                if (!rows.empty() && rows[0] >= minCount) {
                    mark("painted", nowMs());
                    stage = Stage::Done;
                }
            }
        }
        if (stage != Stage::Done) {
            pollfd waitFor{fd, POLLIN, 0};
            poll(&waitFor, 1, 1);
        }
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    XCloseDisplay(probe.display);
    for (const auto &[name, at] : times) {
        std::printf("%s %.3f\n", name.c_str(), at);
    }
    return 0;
}
