#include "tests/random_input/x_display.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <poll.h>

#include <chrono>
#include <vector>

namespace xd {
namespace {

::Display* display = nullptr;
Window root = 0;
Atom wmPid, wmName, utf8, wmType, tooltipType, protocols, deleteWindow, ping;

// Windows come and go while the tool looks at them: a request about one that is gone fails
// quietly and the tool asks again.
int ignoreErrors(::Display*, XErrorEvent*) { return 0; }

// The first 32-bit values of a property; empty when the window does not have it.
std::vector<unsigned long> values(Window window, Atom property) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned long> found;
    if (XGetWindowProperty(display, window, property, 0, 16, False, AnyPropertyType, &type, &format, &count, &after,
                           &data) == Success &&
        data && format == 32) {
        const auto* longs = reinterpret_cast<unsigned long*>(data);
        found.assign(longs, longs + count);
    }
    if (data) XFree(data);
    return found;
}

void sendProtocol(Window window, Atom protocol, unsigned long stamp) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = protocols;
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(protocol);
    event.xclient.data.l[1] = static_cast<long>(stamp);
    event.xclient.data.l[2] = static_cast<long>(window);
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

// Keys go to the window in front, as they would after the user clicked into it; a menu takes
// them through its own grab.
void focus(Window window) {
    if (ISPOPUP(window)) return;
    Window focused = 0;
    int revert = 0;
    XGetInputFocus(display, &focused, &revert);
    if (focused != window) XSetInputFocus(display, window, RevertToPointerRoot, CurrentTime);
}

void press(KeyCode code, bool down) { XTestFakeKeyEvent(display, code, down ? True : False, 0); }

// Without a window manager every top-level window is a child of the root, listed bottom to top;
// these are the program's, tooltips left out.
std::vector<Window> windowsOf(pid_t pid, bool viewableOnly) {
    Window parent = 0, rootReturn = 0, *children = nullptr;
    unsigned int count = 0;
    std::vector<Window> found;
    if (!XQueryTree(display, root, &rootReturn, &parent, &children, &count)) return found;
    for (unsigned int at = 0; at < count; ++at) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display, children[at], &attributes)) continue;
        if (viewableOnly && attributes.map_state != IsViewable) continue;
        const std::vector<unsigned long> owner = values(children[at], wmPid);
        const std::vector<unsigned long> types = values(children[at], wmType);
        const bool tooltip = !types.empty() && types.front() == tooltipType;
        if (!owner.empty() && owner.front() == static_cast<unsigned long>(pid) && !tooltip) found.push_back(children[at]);
    }
    if (children) XFree(children);
    return found;
}

}  // namespace

bool OPENDISPLAY() {
    display = XOpenDisplay(nullptr);
    int event = 0, error = 0, major = 0, minor = 0;
    if (!display || !XTestQueryExtension(display, &event, &error, &major, &minor)) return false;
    XSetErrorHandler(ignoreErrors);
    root = DefaultRootWindow(display);
    // A window's answer to a ping comes back to the root window.
    XSelectInput(display, root, StructureNotifyMask);
    wmPid = XInternAtom(display, "_NET_WM_PID", False);
    wmName = XInternAtom(display, "_NET_WM_NAME", False);
    utf8 = XInternAtom(display, "UTF8_STRING", False);
    wmType = XInternAtom(display, "_NET_WM_WINDOW_TYPE", False);
    tooltipType = XInternAtom(display, "_NET_WM_WINDOW_TYPE_TOOLTIP", False);
    protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    ping = XInternAtom(display, "_NET_WM_PING", False);
    return true;
}

void CLOSEDISPLAY() {
    if (display) XCloseDisplay(display);
    display = nullptr;
}

Window FRONTWINDOW(pid_t pid) {
    const std::vector<Window> shown = windowsOf(pid, true);
    return shown.empty() ? 0 : shown.back();
}

std::string STACK(pid_t pid) {
    std::string stack;
    for (Window window : windowsOf(pid, false)) {
        XWindowAttributes attributes;
        XGetWindowAttributes(display, window, &attributes);
        stack += "  \"" + TITLE(window) + "\" " + std::to_string(attributes.width) + "x" +
                 std::to_string(attributes.height) + "+" + std::to_string(attributes.x) + "+" +
                 std::to_string(attributes.y) + (attributes.map_state == IsViewable ? "" : " (not shown)") + "\n";
    }
    return stack;
}

std::string TITLE(Window window) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(display, window, wmName, 0, 256, False, utf8, &type, &format, &count, &after, &data) ==
            Success &&
        data && format == 8)
        title.assign(reinterpret_cast<char*>(data), count);
    if (data) XFree(data);
    return title;
}

bool ISPOPUP(Window window) {
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, window, &attributes) && attributes.override_redirect;
}

void KEY(Window window, const std::string& name, const std::string& held) {
    const KeySym symbol = XStringToKeysym(name.c_str());
    const KeyCode code = symbol == NoSymbol ? 0 : XKeysymToKeycode(display, symbol);
    if (!code) return;
    focus(window);
    const bool shift = XkbKeycodeToKeysym(display, code, 0, 0) != symbol && XkbKeycodeToKeysym(display, code, 0, 1) == symbol;
    std::vector<KeyCode> modifiers;
    if (held == "Ctrl") modifiers.push_back(XKeysymToKeycode(display, XK_Control_L));
    if (held == "Alt") modifiers.push_back(XKeysymToKeycode(display, XK_Alt_L));
    if (shift) modifiers.push_back(XKeysymToKeycode(display, XK_Shift_L));
    for (KeyCode modifier : modifiers) press(modifier, true);
    press(code, true);
    press(code, false);
    for (auto modifier = modifiers.rbegin(); modifier != modifiers.rend(); ++modifier) press(*modifier, false);
    XFlush(display);
}

void TYPETEXT(Window window, const std::string& text) {
    for (char letter : text) KEY(window, letter == ' ' ? "space" : std::string(1, letter));
}

void CLICK(Window window, double across, double down, unsigned button, int clicks) {
    XWindowAttributes attributes;
    Window child = 0;
    int x = 0, y = 0;
    if (!XGetWindowAttributes(display, window, &attributes) ||
        !XTranslateCoordinates(display, window, root, 0, 0, &x, &y, &child))
        return;
    const int screenWidth = DisplayWidth(display, DefaultScreen(display));
    const int screenHeight = DisplayHeight(display, DefaultScreen(display));
    x += static_cast<int>(across * attributes.width);
    y += static_cast<int>(down * attributes.height);
    if (x < 0 || y < 0 || x >= screenWidth || y >= screenHeight) return;
    XTestFakeMotionEvent(display, -1, x, y, 0);
    for (int n = 0; n < clicks; ++n) {
        XTestFakeButtonEvent(display, button, True, 0);
        XTestFakeButtonEvent(display, button, False, 0);
    }
    XFlush(display);
}

void CLOSEBOX(Window window) { sendProtocol(window, deleteWindow, CurrentTime); }

bool PING(Window window, int timeoutMs) {
    static unsigned long stamp = 1000;
    const unsigned long sent = ++stamp;
    sendProtocol(window, ping, sent);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            const XClientMessageEvent& answer = event.xclient;
            if (event.type == ClientMessage && answer.message_type == protocols &&
                static_cast<Atom>(answer.data.l[0]) == ping && static_cast<unsigned long>(answer.data.l[1]) == sent)
                return true;
        }
        pollfd connection{ConnectionNumber(display), POLLIN, 0};
        poll(&connection, 1, 20);
    }
    return false;
}

}  // namespace xd
