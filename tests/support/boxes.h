// Answers the program's message boxes as they open, one after another, and keeps what each one
// showed, so that a test can check every question and notice of a longer course of events.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gui/test_driver.h"

struct ShownBox {
    std::string title, text1, text2, check, buttons;  // buttons' captions joined by "|"
    int32_t focus = 0;                                // the control with the focus as it opened
    std::string all() const { return title + "|" + text1 + "|" + text2; }
};

class Boxes {
public:
    // Each answer acts on one box, in the order they open; a box beyond them is escaped. A newer
    // Boxes takes over from this one.
    explicit Boxes(std::vector<std::function<void()>> answers);
    ~Boxes();
    std::vector<ShownBox> shown;

private:
    void expect(size_t index);
    std::vector<std::function<void()>> answers_;
    std::shared_ptr<driver::Answer> waiting_;
};

// Answers for Boxes: a click on button n (1 the first), and a tick of the check box before it.
std::function<void()> clickButton(int n);
std::function<void()> tickAndClick(int n);

// The web pages the program opened in the browser, caught instead of starting one.
class WebPages {
public:
    WebPages();
    ~WebPages();
    std::vector<std::string> opened() const;
};
