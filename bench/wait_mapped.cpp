// Waits for a window to appear: blocks until a top-level window of the given name is mapped on
// the X display, then prints the time, in nanoseconds since the epoch (as `date +%s%N`), and
// exits. It prints "ready" once it listens, so that the caller starts the program only then.
// Listening for the map itself, rather than polling for the window, costs the program under
// test no processor time and misses no time between polls.
//   wait_mapped "QEL VELDRUNE"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

namespace {

// The window's name as the window system shows it: _NET_WM_NAME, else WM_NAME.
std::string windowName(Display* display, Window window) {
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    for (Atom property : {XInternAtom(display, "_NET_WM_NAME", False), Atom(XA_WM_NAME)}) {
        Atom type = None;
        int format = 0;
        unsigned long items = 0;
        unsigned long left = 0;
        unsigned char* data = nullptr;
        const bool read = XGetWindowProperty(display, window, property, 0, 1024, False,
                                             property == XA_WM_NAME ? AnyPropertyType : utf8, &type,
                                             &format, &items, &left, &data) == Success;
        std::string name;
        if (read && data && format == 8)
            name.assign(reinterpret_cast<const char*>(data), items);
        if (data)
            XFree(data);
        if (!name.empty())
            return name;
    }
    return {};
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: wait_mapped <window name>\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "wait_mapped: cannot open the display\n");
        return 1;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);
    std::printf("ready\n");
    std::fflush(stdout);
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type != MapNotify || event.xmap.event != DefaultRootWindow(display))
            continue;
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        if (windowName(display, event.xmap.window) != argv[1])
            continue;
        std::printf("%lld%09ld\n", static_cast<long long>(now.tv_sec), now.tv_nsec);
        XCloseDisplay(display);
        return 0;
    }
}
