// Starts a program and prints the milliseconds until one of its top-level windows is mapped
// with a _NET_WM_NAME that begins with a given text. Used by bench-startup.sh.
//   startup_timer CAPTION-PREFIX PROGRAM [ARGS...]
// Watches the X server's events, so the time is that of the map, not of a polling loop.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>

namespace {

std::string NetWmName(Display* display, Window window) {
    static const Atom name = XInternAtom(display, "_NET_WM_NAME", False);
    static const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string text;
    if (XGetWindowProperty(display, window, name, 0, 1024, False, utf8, &type, &format, &count,
                           &after, &data) == Success &&
        data) {
        text.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
    }
    return text;
}

int IgnoreErrors(Display*, XErrorEvent*) { return 0; }  // windows may vanish meanwhile

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_timer CAPTION-PREFIX PROGRAM [ARGS...]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 2;
    XSetErrorHandler(IgnoreErrors);
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);
    const std::string prefix = argv[1];

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    std::set<Window> mapped;
    const auto done = [&](Window window) {
        return mapped.count(window) && NetWmName(display, window).rfind(prefix, 0) == 0;
    };
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        Window window = None;
        if (event.type == CreateNotify) {
            XSelectInput(display, event.xcreatewindow.window, PropertyChangeMask);
        } else if (event.type == MapNotify) {
            window = event.xmap.window;
            mapped.insert(window);
        } else if (event.type == UnmapNotify) {
            mapped.erase(event.xunmap.window);
        } else if (event.type == PropertyNotify) {
            window = event.xproperty.window;
        }
        if (window != None && done(window)) break;
        if (waitpid(child, nullptr, WNOHANG) == child) return 1;
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    std::printf("%lld\n",
                static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()));
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    XCloseDisplay(display);
    return 0;
}
