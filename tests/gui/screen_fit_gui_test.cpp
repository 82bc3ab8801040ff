// Forms on screens smaller than their design: 1280×1024 at twice the size and 1366×768 at 1.25
// leave 640×512 and 1093×614 logical pixels.
#include <QScrollArea>
#include <QScrollBar>

#include "calc/calculator_form.h"
#include "gui/ezgui.h"
#include "gui/registry.h"
#include "gui/test_driver.h"
#include "tests/support/fixture.h"

namespace {

// On a screen smaller than a form, the form opens inside the screen's area with its content
// scrolling, title bar, menus and buttons on the screen; a form that fits keeps its design size.
TEST_F(CalculatorTest, EveryFormOpensInsideTheScreen) {
    const QRect screens[] = {{0, 0, 640, 512}, {0, 0, 1093, 614}};
    const std::pair<const char*, std::function<void()>> dialogs[] = {
        {"SE", [] { driver::CHOOSEMENU("RI", 9005); }},
        {"AB", [] { driver::CHOOSEMENU("RI", 9225); }},
        {"DGMSGBOX1", [] { driver::CLICK("RI", 330); }},
    };
    for (const QRect& area : screens) {
        closeAllForms();
        driver::SCREENAREA(area.x(), area.y(), area.width(), area.height());
        EZ_RI_Display("");
        driver::SETTLE();
        QWidget* calculator = gui::findForm("RI")->window;
        EXPECT_TRUE(area.contains(calculator->geometry())) << area.width();
        auto* scroll = calculator->findChild<QScrollArea*>();
        ASSERT_NE(scroll, nullptr) << area.width();
        // All of it is reached by scrolling down, nothing is cut at the side.
        EXPECT_GT(scroll->verticalScrollBar()->maximum(), 0) << area.width();
        EXPECT_GE(scroll->viewport()->width(), scroll->widget()->width()) << area.width();
        for (const auto& [form, open] : dialogs) {
            QRect shown;
            bool scrolls = true;
            auto answer = driver::WHENOPEN(form, [&, name = std::string(form)] {
                QWidget* window = gui::findForm(name)->window;
                shown = window->geometry();
                scrolls = window->findChild<QScrollArea*>() != nullptr;
                EZ_UNLOADFORM(name);
            });
            open();
            EXPECT_TRUE(area.contains(shown)) << form;
            EXPECT_FALSE(scrolls) << form;
        }
    }
    driver::SCREENAREA(0, 0, 0, 0);
}

}  // namespace
