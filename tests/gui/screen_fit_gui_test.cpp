// Forms on screens smaller than their design: 1280×1024 at twice the size and 1366×768 at 1.25
// leave 640×512 and 1093×614 logical pixels.
#include <QScrollArea>
#include <QScrollBar>

#include "calc/calculator_form.h"
#include "calc/calculator_ids.h"
#include "gui/ezgui.h"
#include "gui/registry.h"
#include "gui/test_driver.h"
#include "tests/support/fixture.h"

namespace {

// On a screen smaller than a form, the form opens inside the screen's area with its content
// scrolling, title bar, menus and buttons on the screen; a form that fits keeps its design size.
TEST_F(CalculatorTest, EveryFormOpensInsideTheScreen) {
    for (const QRect area : {QRect(0, 0, 640, 512), QRect(0, 0, 1093, 614)}) {
        closeAllForms();
        driver::SCREENAREA(area.x(), area.y(), area.width(), area.height());
        EZ_RI_Display("");
        driver::SETTLE();
        QWidget* calculator = gui::findForm("RI")->window;
        auto* scroll = calculator->findChild<QScrollArea*>();
        ASSERT_NE(scroll, nullptr);
        // All of it is reached by scrolling down, nothing is cut at the side.
        EXPECT_TRUE(area.contains(calculator->geometry()) && scroll->verticalScrollBar()->maximum() > 0 &&
                    scroll->viewport()->width() >= scroll->widget()->width()) << area.width();
        for (const auto& [form, menu] : {std::pair{"SE", 9005}, {"AB", 9225}, {"DGMSGBOX1", 0}}) {
            QWidget* window = nullptr;
            driver::WHENOPEN(form, [&, name = std::string(form)] {
                window = gui::findForm(name)->window;
                EXPECT_TRUE(area.contains(window->geometry()) && !window->findChild<QScrollArea*>()) << name;
                EZ_UNLOADFORM(name);
            });
            menu ? driver::CHOOSEMENU("RI", menu) : driver::CLICK("RI", RI::CLEAR_BUTTON);
            EXPECT_NE(window, nullptr) << form;
        }
    }
    driver::SCREENAREA(0, 0, 0, 0);
}

}  // namespace
