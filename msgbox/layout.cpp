#include "msgbox/layout.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "base/text.h"

namespace {

// Space between adjacent buttons, and what a button needs beside its caption.
constexpr float BUTTON_GAP = 1.0f;
constexpr float CAPTION_PADDING = 1.0f;
// Room beside a label's widest line, and the checkbox's tick and its extra height.
constexpr float LABEL_PADDING = 1.0f;
constexpr float CHECK_PADDING = 3.0f;
constexpr float CHECK_EXTRA_HEIGHT = 0.5f;
// A picture is given two columns more than its pixels convert to.
constexpr float PICTURE_PADDING = 2.0f;
constexpr int32_t MAX_BUTTONS = 10;
// The title bar shows the caption in a bold face beside the window's icon and buttons.
constexpr int32_t TITLE_FONT = 7;
constexpr float TITLE_BAR_ROOM = 10.0f;

// Flag letters count anywhere in the flags and in either case.
bool HASFLAG(std::string_view flags, char letter) {
    return std::any_of(flags.begin(), flags.end(),
                       [letter](char c) { return std::toupper(static_cast<unsigned char>(c)) == letter; });
}

float LINEWIDTH(const std::string& line, int32_t font, const Measurer& measure) {
    float width = 0, height = 0;
    measure.text(font, line, width, height);
    return width;
}

// The widest of the "|"-lines of text and the sum of their heights; empty lines count too.
void MEASURELINES(std::string_view text, int32_t font, const Measurer& measure, float& widest, float& total) {
    widest = 0;
    total = 0;
    for (const std::string& line : SEGMENTS(text, '|')) {
        float width = 0, height = 0;
        measure.text(font, line, width, height);
        widest = std::max(widest, width);
        total += height;
    }
}

// A text block below the cursor y, which moves below it; absent when its display text is empty.
// A label wraps at its "W" width; a checkbox keeps its lines and needs room for its tick.
TextBlock STACKBLOCK(std::string_view marked, const Measurer& measure, float& y, bool checkbox) {
    const Marked block = PARSEMARKUP(marked);
    TextBlock stacked;
    stacked.font = CODEINT(block, 'F', 0);
    stacked.colour = CODEINT(block, 'T', 0);
    if (block.text.empty()) return stacked;

    const float wrap = checkbox ? 0 : static_cast<float>(CODEVALUE(block, 'W', 0));
    stacked.text = wrap > 0 ? WRAPTEXT(block.text, wrap, stacked.font, measure) : block.text;
    float widest = 0, total = 0;
    MEASURELINES(stacked.text, stacked.font, measure, widest, total);
    stacked.present = true;
    stacked.width = widest + (checkbox ? CHECK_PADDING : LABEL_PADDING);
    stacked.height = total + (checkbox ? CHECK_EXTRA_HEIGHT : 0);
    stacked.y = y;
    y += stacked.height;
    return stacked;
}

// Each button as wide as its caption needs, at least its own width; with flag W all as wide as the widest.
std::vector<PlacedButton> SIZEBUTTONS(std::string_view buttons, bool sameWidth, const Measurer& measure) {
    std::vector<PlacedButton> placed;
    for (const ButtonSpec& parsed : PARSEBUTTONS(buttons)) {
        PlacedButton button{parsed, 0, 0, parsed.width, parsed.height};
        const float captionWidth = LINEWIDTH(parsed.caption, std::max(parsed.font, 0), measure);
        if (captionWidth + CAPTION_PADDING > button.width) button.width = captionWidth + CAPTION_PADDING;
        placed.push_back(button);
    }
    if (sameWidth) {
        float widest = 0;
        for (const PlacedButton& button : placed) widest = std::max(widest, button.width);
        for (PlacedButton& button : placed) button.width = widest;
    }
    return placed;
}

}  // namespace

BoxLayout LAYOUTMSGBOX(const BoxRequest& request, const Measurer& measure) {
    BoxLayout box;
    const bool centre = HASFLAG(request.flags, 'C');
    const float hmargin = HASFLAG(request.flags, 'L') ? 2.0f : 1.0f;
    const float vmargin = HASFLAG(request.flags, 'L') ? 1.0f : 0.5f;

    const Marked title = PARSEMARKUP(request.title);
    box.caption = title.text;
    box.background = CODEINT(title, 'B', -1);
    box.textBackground = CODEINT(title, 'B', 750);
    const int32_t minWidth = CODEINT(title, 'W', 0);
    const int32_t minHeight = CODEINT(title, 'H', 0);

    float pictureWidth = 0, pictureHeight = 0;
    if (request.pictureWidthPx > 0 || request.pictureHeightPx > 0) {
        pictureWidth = measure.columns(request.pictureWidthPx) + PICTURE_PADDING;
        pictureHeight = measure.rows(request.pictureHeightPx);
    }

    box.buttons = SIZEBUTTONS(request.buttons, HASFLAG(request.flags, 'W'), measure);
    float rowWidth = 0, rowHeight = 0;
    for (const PlacedButton& button : box.buttons) {
        rowWidth += button.width;
        rowHeight = std::max(rowHeight, button.height);
    }
    if (!box.buttons.empty()) rowWidth += BUTTON_GAP * static_cast<float>(box.buttons.size() - 1);

    float y = vmargin;
    box.text1 = STACKBLOCK(request.text1, measure, y, false);
    box.text2 = STACKBLOCK(request.text2, measure, y, false);
    box.checkbox = STACKBLOCK(request.checkText, measure, y, true);

    float contentWidth = std::max({box.text1.width, box.text2.width, box.checkbox.width, rowWidth});
    box.width = pictureWidth + hmargin + contentWidth + hmargin;
    if (static_cast<float>(minWidth) > box.width) {
        contentWidth += static_cast<float>(minWidth) - box.width;
        box.width = static_cast<float>(minWidth);
    }
    // A box is never narrower than its caption needs, so that the title is never cut.
    const float captionWidth = box.caption.empty() ? 0 : LINEWIDTH(box.caption, TITLE_FONT, measure) + TITLE_BAR_ROOM;
    if (captionWidth > box.width) {
        contentWidth += captionWidth - box.width;
        box.width = captionWidth;
    }

    // One vertical margin between the last block and the row, one below the row.
    box.height = std::max(pictureHeight + 2 * vmargin, rowHeight + y + 2 * vmargin);
    if (static_cast<float>(minHeight) > box.height) {
        const float shift = (static_cast<float>(minHeight) - box.height) / 2;
        box.text1.y += shift;
        box.text2.y += shift;
        box.checkbox.y += shift;
        box.height = static_cast<float>(minHeight);
    }

    // The text column starts right of the picture's room even when the picture is too small to show.
    const float textX = pictureWidth + hmargin;
    if (pictureWidth > PICTURE_PADDING) {
        box.picture = true;
        box.pictureX = hmargin;
        box.pictureY = vmargin;
        box.pictureWidth = pictureWidth;
        box.pictureHeight = pictureHeight;
        for (const char letter : {'F', 'R', 'S'}) {
            if (HASFLAG(request.flags, letter)) box.pictureProps += letter;
        }
    }

    for (TextBlock* label : {&box.text1, &box.text2}) {
        if (!label->present) continue;
        label->x = textX;
        label->width = contentWidth;
        label->align = centre ? "C" : "L";
    }
    if (box.checkbox.present) {
        box.checkbox.x = centre ? textX + (contentWidth / 2 - box.checkbox.width / 2) : textX;
        box.checked = request.result < 0;
    }

    float rowX = textX;
    if (HASFLAG(request.flags, 'J')) {
        rowX = box.width - hmargin - rowWidth;
    } else if (centre) {
        rowX = textX + contentWidth / 2 - rowWidth / 2;
    }
    const float rowTop = box.height - rowHeight - vmargin;
    for (PlacedButton& button : box.buttons) {
        button.x = rowX;
        button.y = rowTop + rowHeight - button.height;
        rowX += button.width + BUTTON_GAP;
    }

    const int64_t focus = std::llabs(static_cast<int64_t>(request.result));
    box.focusButton = focus >= 1 && focus <= MAX_BUTTONS ? static_cast<int32_t>(focus) : 0;
    return box;
}

std::string WRAPTEXT(std::string_view text, float width, int32_t font, const Measurer& measure) {
    std::string wrapped;
    for (const std::string& segment : SEGMENTS(text, '|')) {
        std::string line, word;
        for (const char ch : segment) {
            // A space ends a word: it joins the line, or the line is full and the word starts the next.
            if (ch == ' ' && !TRIMSPACES(word).empty()) {
                const std::string candidate = TRIMSPACES(line + word);
                if (LINEWIDTH(candidate, font, measure) > width) {
                    wrapped += TRIMSPACES(line) + "|";
                    line = word;
                } else {
                    line = candidate;
                }
                word.clear();
            }
            word += ch;
        }
        const std::string candidate = TRIMSPACES(line + word);
        if (LINEWIDTH(candidate, font, measure) > width) {
            wrapped += TRIMSPACES(line) + "|" + TRIMSPACES(word) + "|";
        } else {
            wrapped += candidate + "|";
        }
    }
    return wrapped;
}
