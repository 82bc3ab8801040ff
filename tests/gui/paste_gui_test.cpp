// What a paste or a drop puts into the calculator's text boxes: only plain text, bounded.
#include "gui/ezgui.h"
#include "gui/test_driver.h"
#include "tests/support/fixture.h"

namespace {

constexpr int32_t kComments = 310, kCustomer = 135;

struct Case {
    const char* what;
    int32_t box;
    driver::Carried carried;
    bool dropped;
    std::string shown;  // after "kept " was typed
};

class Paste : public CalculatorTest {};

TEST_F(Paste, OnlyThePlainTextOfWhatIsPastedOrDroppedGoesIn) {
    const std::string html = "<p><b>Bold</b> move</p>";
    const auto carry = [](std::optional<std::string> text, std::optional<std::string> html = {}, bool image = false) {
        return driver::Carried{std::move(text), std::move(html), image};
    };
    const driver::Carried nothing = carry({}), image = carry({}, {}, true);
    const Case cases[] = {
        {"empty clipboard", kComments, nothing, false, "kept "},
        {"empty clipboard", kCustomer, nothing, false, "kept "},
        {"image only", kComments, image, false, "kept "},
        {"HTML with its text", kComments, carry("Bold move", html), false, "kept Bold move"},
        {"HTML only", kComments, carry({}, html), false, "kept Bold move"},
        {"more than the box holds", kComments, carry(std::string(40000, 'x')), false, "kept " + std::string(32762, 'x')},
        {"lines into one line", kCustomer, carry("Acme\r\nRadio\nGroup"), false, "kept Acme Radio Group"},
        {"dropped text", kComments, carry("Dropped"), true, "kept Dropped"},
        {"dropped text", kCustomer, carry("Dropped"), true, "kept Dropped"},
        {"dropped image", kComments, image, true, "kept "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.what) + " into " + std::to_string(c.box));
        EZ_SETTEXT("RI", c.box, "");
        driver::TYPE("RI", c.box, "kept ");
        if (c.dropped) {
            driver::DROP("RI", c.box, c.carried);
        } else {
            driver::CLIPBOARD(c.carried);
            driver::PRESS("RI", c.box, "Ctrl+V");
        }
        EXPECT_EQ(EZ_GETTEXT("RI", c.box), c.shown);
    }
}

}  // namespace
