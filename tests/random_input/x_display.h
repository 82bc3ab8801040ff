// The X display as the random-input tool uses it: the program's windows, typed keys, clicks, and
// the ping that tells whether a window still answers.
#pragma once

#include <X11/Xlib.h>
#include <sys/types.h>

#include <string>

namespace xd {

bool OPENDISPLAY();  // the display named by DISPLAY, with the XTest extension
void CLOSEDISPLAY();
// The program's window on top of all others, tooltips left out; 0 when it shows none.
Window FRONTWINDOW(pid_t pid);
std::string TITLE(Window window);
std::string STACK(pid_t pid);  // the program's windows from the bottom up, for the report of a fault
bool ISPOPUP(Window window);  // a menu or other window that takes no keyboard focus of its own
// A key by its X name ("a", "dollar", "Tab", "F1", ...), with "Ctrl" or "Alt" held when given.
void KEY(Window window, const std::string& name, const std::string& held = "");
void TYPETEXT(Window window, const std::string& text);  // letters, digits and spaces
// A click of button (1 left, 3 right) at a share of the window's width and height.
void CLICK(Window window, double across, double down, unsigned button, int clicks);
void CLOSEBOX(Window window);  // what a window manager sends for the title bar's close box
// Whether the program's event loop answers the window within timeoutMs.
bool PING(Window window, int timeoutMs);

}  // namespace xd
