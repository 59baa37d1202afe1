// How long a key or click takes to reach the screen: presses a key (or clicks)
// through XTEST, then reads a rectangle of the window every 0.5 ms until its
// pixels differ from what they were just before the press. The actions are
// used in turn, so a pair like Down/Up keeps the screen where it started.
// Between trials it waits a random 150..210 ms, so presses fall at any moment
// of the program's update period. Prints figures only.
//   zrb_bench_key_to_screen WINDOW COUNT X Y W H ACTION...
//   ACTION: key:NAME (an X keysym name: Down, F5) or click:X:Y (window units)
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kGiveUpSeconds = 6.0;
constexpr auto kPollInterval = std::chrono::microseconds(500);

struct Action {
    bool click = false;
    KeyCode key = 0;
    int x = 0, y = 0;
};

struct PixelArea {
    int x, y, width, height;
};

std::vector<char> Grab(Display* display, Window window, const PixelArea& region) {
    XImage* image = XGetImage(display, window, region.x, region.y, static_cast<unsigned>(region.width),
                              static_cast<unsigned>(region.height), AllPlanes, ZPixmap);
    if (!image) return {};
    std::vector<char> pixels(image->data, image->data + image->bytes_per_line * image->height);
    XDestroyImage(image);
    return pixels;
}

void Perform(Display* display, Window window, const Action& action) {
    if (action.click) {
        int rootX = 0, rootY = 0;
        Window child = 0;
        XTranslateCoordinates(display, window, DefaultRootWindow(display), action.x, action.y, &rootX, &rootY, &child);
        XTestFakeMotionEvent(display, -1, rootX, rootY, CurrentTime);
        XTestFakeButtonEvent(display, 1, True, CurrentTime);
        XTestFakeButtonEvent(display, 1, False, CurrentTime);
    } else {
        XTestFakeKeyEvent(display, action.key, True, CurrentTime);
        XTestFakeKeyEvent(display, action.key, False, CurrentTime);
    }
    XFlush(display);
}

bool ParseAction(Display* display, const char* text, Action& action) {
    if (std::strncmp(text, "key:", 4) == 0) {
        const KeySym symbol = XStringToKeysym(text + 4);
        if (symbol == NoSymbol) return false;
        action.key = XKeysymToKeycode(display, symbol);
        return action.key != 0;
    }
    action.click = true;
    return std::sscanf(text, "click:%d:%d", &action.x, &action.y) == 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 8) {
        std::fprintf(stderr, "usage: %s WINDOW COUNT X Y W H ACTION...\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::printf("no X display\n");
        return 1;
    }
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display, &event, &error, &major, &minor)) {
        std::printf("the X server has no XTEST\n");
        return 1;
    }
    const Window window = std::strtoul(argv[1], nullptr, 0);
    const int count = std::atoi(argv[2]);
    const PixelArea region{std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]), std::atoi(argv[6])};
    std::vector<Action> actions;
    for (int i = 7; i < argc; ++i) {
        Action action;
        if (!ParseAction(display, argv[i], action)) {
            std::printf("cannot read action %s\n", argv[i]);
            return 2;
        }
        actions.push_back(action);
    }

    std::srand(23);
    std::vector<double> delays;
    int missed = 0;
    for (int trial = 0; trial < count; ++trial) {
        std::this_thread::sleep_for(std::chrono::milliseconds(150 + std::rand() % 60));
        const std::vector<char> before = Grab(display, window, region);
        if (before.empty()) {
            std::printf("cannot read the window\n");
            return 1;
        }
        const auto start = Clock::now();
        Perform(display, window, actions[static_cast<size_t>(trial) % actions.size()]);
        double seconds = 0;
        for (;;) {
            seconds = std::chrono::duration<double>(Clock::now() - start).count();
            if (Grab(display, window, region) != before) break;
            if (seconds > kGiveUpSeconds) break;
            std::this_thread::sleep_for(kPollInterval);
        }
        if (seconds > kGiveUpSeconds) {
            ++missed;
        } else {
            delays.push_back(seconds);
        }
    }
    std::sort(delays.begin(), delays.end());
    if (delays.empty()) {
        std::printf("no change seen in %d presses\n", count);
        return 1;
    }
    const size_t ninetieth = std::min(delays.size() - 1, delays.size() * 9 / 10);
    std::printf("median %.1f ms, worst %.1f ms, 90 %% within %.1f ms (%zu presses", delays[delays.size() / 2] * 1e3,
                delays.back() * 1e3, delays[ninetieth] * 1e3, delays.size());
    if (missed) std::printf(", %d without a change in %.0f s", missed, kGiveUpSeconds);
    std::printf(")\n");
    XCloseDisplay(display);
    return 0;
}
