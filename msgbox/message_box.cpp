// The message box form: its request, its layout turned into controls, and its answers.
#include "msgbox/message_box.h"

#include <cstdlib>

#include "base/text.h"
#include "gui/ezgui.h"
#include "msgbox/layout.h"
#include "msgbox/markup.h"
#include "msgbox/message_box_ids.h"

namespace {

const std::string kForm = "DGMSGBOX1";
constexpr int32_t kWaiting = 1000;  // no answer given yet
constexpr int32_t kClosed = 99;     // closed without a button: Escape or the close box

// The one box request; it lives until the next box is asked for.
struct Request {
    std::string parent, picture;
    BoxRequest request;  // its result is the default button
    int32_t result = 0;
    int32_t rememberedButton = 0;
    BoxLayout layout;
};
Request box;

Measurer libraryMeasurer() {
    Measurer measure;
    measure.text = [](int32_t font, const std::string& line, float& width, float& height) {
        double w = 0, h = 0;
        EZ_GETTEXTSIZE(font < 0 ? 0 : font, line, w, h);
        width = static_cast<float>(w);
        height = static_cast<float>(h);
    };
    measure.columns = [](int32_t pixels) { return static_cast<float>(EZ_CX(pixels)); };
    measure.rows = [](int32_t pixels) { return static_cast<float>(EZ_CY(pixels)); };
    return measure;
}

int32_t sign() { return EZ_GETCHECK(kForm, MSGBOX::CHECKBOX) != 0 ? -1 : 1; }

// Escape and the close box answer as "Cancel" does in a question that has one, else 99.
int32_t closedAnswer() {
    for (size_t n = 0; n < box.layout.buttons.size(); ++n) {
        std::string caption = ASCIILOWER(TRIMSPACES(box.layout.buttons[n].parsed.caption));
        std::erase(caption, '&');
        if (caption == "cancel") return static_cast<int32_t>(n) + 1;
    }
    return kClosed;
}

void answer(int32_t number) {
    box.result = number * sign();
    EZ_UNLOADFORM(kForm);
}

// The mark-up breaks lines with "|"; a label does so itself, a check box needs line feeds.
std::string lines(std::string text) {
    for (char& ch : text)
        if (ch == '|') ch = '\n';
    return text;
}

// A label, or the checkbox when id is its id.
void createBlock(int32_t id, const TextBlock& block, int32_t background) {
    if (!block.present) return;
    EZ_COLOR(block.colour, background);
    EZ_USEFONT(block.font);
    if (id == MSGBOX::CHECKBOX)
        EZ_CHECKBOX(id, block.x, block.y, block.width, block.height, lines(block.text), "T");
    else
        EZ_LABEL(id, block.x, block.y, block.width, block.height, block.text, block.align);
}

void paintButton(int32_t n) {
    if (n < 1 || n > static_cast<int32_t>(box.layout.buttons.size())) return;
    const ButtonSpec& parsed = box.layout.buttons[n - 1].parsed;
    switch (parsed.style) {
        case '3': EZ_DRAW3DBUTTON(parsed.face, parsed.captionColour, parsed.font); break;
        case 'R': EZ_DRAW3DBUTTONRR(parsed.face, parsed.captionColour, parsed.font); break;
        case 'E': EZ_DRAW3DBUTTONE(parsed.face, parsed.captionColour, parsed.font); break;
        default: EZ_DRAWCOLORBUTTON(parsed.face, parsed.captionColour, parsed.font); break;
    }
}

}  // namespace

int32_t DGMSGBOX(const std::string& parent, const std::string& title, const std::string& text1,
                 const std::string& text2, const std::string& checkText, const std::string& buttons,
                 const std::string& picture, int32_t result, const std::string& flags) {
    box = Request{};
    box.parent = parent;
    box.request.title = TRIMSPACES(title);
    box.request.text1 = TRIMSPACES(text1);
    box.request.text2 = TRIMSPACES(text2);
    box.request.checkText = TRIMSPACES(checkText);
    box.request.buttons = TRIMSPACES(buttons);
    box.picture = TRIMSPACES(picture);
    box.request.flags = TRIMSPACES(flags);
    box.result = result;
    box.request.result = result;
    EZ_DEFSYSTEMCOLOR(750, 15);
    Marked caption = PARSEMARKUP(box.request.title);
    EZ_COLOR(-1, CODEINT(caption, 'B', -1));
    EZ_FORM(kForm, box.parent, caption.text, 0, 0, 20, 20, "CMR");
    return box.result;
}

int32_t ASKUSER(const std::string& title, const std::string& text1, const std::string& text2,
                const std::string& checkText, const std::string& buttons, int32_t defaultButton) {
    return DGMSGBOX(EZ_CURRENTFORM(), title, text1, text2, checkText, buttons, "", defaultButton, "C");
}

void DISPLAYMESSAGE(const std::string& title, const std::string& text1, const std::string& text2,
                    const std::string& parent) {
    DGMSGBOX(parent.empty() ? EZ_CURRENTFORM() : parent, title, text1, text2, "", "&OK{G,f7}", "", 1, "C");
}

std::string SHOWNTEXT(const std::string& text) {
    std::string shown = text;
    for (char& c : shown) {
        if (c == '{') c = '(';
        else if (c == '}') c = ')';
        else if (c == '|') c = '/';
    }
    return shown;
}

void DESIGN_DGMSGBOX(const std::string& formName) {
    box.rememberedButton = std::abs(box.request.result);
    if (!box.picture.empty())
        EZ_PICTURESIZE(box.picture, box.request.pictureWidthPx, box.request.pictureHeightPx);
    box.layout = LAYOUTMSGBOX(box.request, libraryMeasurer());
    const BoxLayout& layout = box.layout;

    EZ_RESIZEFORM(formName, 0, 0, layout.width, layout.height);
    if (layout.picture)
        EZ_PICTURE(MSGBOX::PICTURE, layout.pictureX, layout.pictureY, layout.pictureWidth, layout.pictureHeight,
                   box.picture, layout.pictureProps);
    createBlock(MSGBOX::TEXT1, layout.text1, layout.textBackground);
    createBlock(MSGBOX::TEXT2, layout.text2, layout.textBackground);
    createBlock(MSGBOX::CHECKBOX, layout.checkbox, layout.textBackground);
    if (layout.checked) EZ_SETCHECK(formName, MSGBOX::CHECKBOX, 1);
    EZ_COLOR(-1, -1);
    for (size_t i = 0; i < layout.buttons.size(); ++i) {
        const PlacedButton& button = layout.buttons[i];
        const int32_t id = MSGBOX::BUTTON(static_cast<int>(i) + 1);
        if (button.parsed.style == 'G') {
            EZ_USEFONT(button.parsed.font);
            EZ_BUTTON(id, button.x, button.y, button.width, button.height, button.parsed.caption, "TA");
        } else {
            EZ_ODBUTTON(id, button.x, button.y, button.width, button.height, button.parsed.caption, "TA");
        }
    }
    EZ_SETFORMKEYS(formName, 2);
}

void EVENTS_DGMSGBOX(const std::string& formName, int32_t& id, int32_t& message, int32_t& value, int32_t&) {
    const int button = MSGBOX::BUTTONNUMBER(id);
    switch (message) {
        case EZ_MSG_SHOWN:
            if (id != EZ_FORMITSELF) break;
            if (box.layout.focusButton != 0) EZ_FOCUS(formName, MSGBOX::BUTTON(box.layout.focusButton));
            box.result = kWaiting;
            EZ_BRINGTOFRONT(formName);
            break;
        case EZ_MSG_KEY:
            if (value == EZ_KEY_ESCAPE) {
                answer(closedAnswer());
            } else if (value == EZ_KEY_ENTER) {
                const int focused = MSGBOX::BUTTONNUMBER(EZ_GETFOCUS(formName));
                if (focused > 0) answer(focused);
            }
            break;
        case EZ_MSG_CLOSE:
            if (id == EZ_FORMITSELF && box.result == kWaiting) box.result = closedAnswer() * sign();
            break;
        case EZ_MSG_CLICK:
            if (id == MSGBOX::CHECKBOX && box.rememberedButton != 0)
                EZ_FOCUS(formName, MSGBOX::BUTTON(box.rememberedButton));
            else if (button != 0)
                answer(button);
            break;
        case EZ_MSG_FOCUS:
            if (button != 0) box.rememberedButton = button;
            break;
        case EZ_MSG_OWNERDRAW:
            if (button != 0) paintButton(button);
            break;
        default: break;
    }
}
