// The message box's geometry: where its picture, texts, checkbox and buttons
// go and how big the box is, worked out from the request alone so the form
// only has to create the controls.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "msgbox/markup.h"

// Measures one line of text in a font, in character units (columns, rows).
struct Measurer {
    std::function<void(int32_t font, const std::string& line, float& width, float& height)> text;
    std::function<float(int32_t pixels)> columns;  // pixels -> columns
    std::function<float(int32_t pixels)> rows;     // pixels -> rows
};

// What the caller asks the box to show; texts already stripped, picture size 0 = none.
struct BoxRequest {
    std::string title, text1, text2, checkText, buttons;
    int32_t pictureWidthPx = 0, pictureHeightPx = 0;
    int32_t result = 0;
    std::string flags;
};

// A label or the checkbox; text keeps its "|" line breaks (wrapped when the block asks for it).
struct TextBlock {
    bool present = false;
    float x = 0, y = 0, width = 0, height = 0;
    std::string text;
    int32_t font = 0;
    int32_t colour = 0;
    std::string align;  // "C" or "L" for labels
};

struct PlacedButton {
    ButtonSpec parsed;
    float x = 0, y = 0, width = 0, height = 0;
};

struct BoxLayout {
    std::string caption;           // the title's display text
    int32_t background = -1;       // title code B, -1 when absent (box uses the library default)
    int32_t textBackground = 750;  // title code B or 750, for labels and the checkbox
    float width = 0, height = 0;
    bool picture = false;
    float pictureX = 0, pictureY = 0, pictureWidth = 0, pictureHeight = 0;
    std::string pictureProps;  // "F", "R", "S" in that order, as the flags hold them
    TextBlock text1, text2, checkbox;
    bool checked = false;  // the checkbox starts ticked
    std::vector<PlacedButton> buttons;
    int32_t focusButton = 0;  // button that has the focus at first, 0 = none
};

// Sizes the box around its texts and buttons and places every control.
BoxLayout LAYOUTMSGBOX(const BoxRequest& request, const Measurer& measure);

// Breaks each "|"-line of text into lines no wider than width where spaces allow; ends with "|".
std::string WRAPTEXT(std::string_view text, float width, int32_t font, const Measurer& measure);
