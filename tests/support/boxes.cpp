#include "tests/support/boxes.h"

#include <QDesktopServices>
#include <QObject>
#include <QUrl>

#include "gui/ezgui.h"
#include "msgbox/message_box_ids.h"
#include "tests/support/web_page_catcher.h"

namespace {

const std::string kBox = "DGMSGBOX1";

ShownBox read() {
    ShownBox box{EZ_GETTEXT(kBox, 0),
                 EZ_GETTEXT(kBox, MSGBOX::TEXT1),
                 EZ_GETTEXT(kBox, MSGBOX::TEXT2),
                 EZ_GETTEXT(kBox, MSGBOX::CHECKBOX),
                 "",
                 EZ_GETFOCUS(kBox)};
    for (int32_t id = MSGBOX::BUTTON(1); id <= MSGBOX::BUTTON(10); ++id) {
        if (!EZ_ISVISIBLE(kBox, id)) break;
        box.buttons += (id > 11 ? "|" : "") + EZ_GETTEXT(kBox, id);
    }
    return box;
}

}  // namespace

// Only the newest Boxes answers: an earlier one, still in scope, stops waiting.
std::shared_ptr<driver::Answer> newest;

Boxes::Boxes(std::vector<std::function<void()>> answers) : answers_(std::move(answers)) {
    if (newest) newest->withdrawn = true;
    expect(0);
}

Boxes::~Boxes() {
    if (waiting_) waiting_->withdrawn = true;
}

void Boxes::expect(size_t index) {
    waiting_ = driver::WHENOPEN(
        kBox,
        [this, index] {
            shown.push_back(read());
            if (index < answers_.size())
                answers_[index]();
            else
                driver::PRESS(kBox, 0, "Escape");
            expect(index + 1);
        },
        60000);
    newest = waiting_;
}

std::function<void()> clickButton(int n) {
    return [n] { driver::CLICK(kBox, MSGBOX::BUTTON(n)); };
}

std::function<void()> tickAndClick(int n) {
    return [n] {
        driver::CLICK(kBox, MSGBOX::CHECKBOX);
        driver::CLICK(kBox, MSGBOX::BUTTON(n));
    };
}

WebPages::WebPages() {
    QDesktopServices::setUrlHandler("http", &webPageCatcher(), "open");
    QDesktopServices::setUrlHandler("https", &webPageCatcher(), "open");
    webPageCatcher().pages.clear();
}

WebPages::~WebPages() {
    QDesktopServices::unsetUrlHandler("http");
    QDesktopServices::unsetUrlHandler("https");
}

std::vector<std::string> WebPages::opened() const { return webPageCatcher().pages; }

WebPageCatcher& webPageCatcher() {
    static WebPageCatcher catcher;
    return catcher;
}
