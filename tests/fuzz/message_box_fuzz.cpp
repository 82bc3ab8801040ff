// The message mark-up, the button list and the box's layout on any texts: never more than ten
// buttons, a box of finite size that holds what it places, and wrapping that loses no word.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <string>

#include "msgbox/layout.h"
#include "msgbox/markup.h"
#include "tests/fuzz/require.h"

namespace {

// A measurer of the kind the form uses: width grows with the text and the font, one row a line.
Measurer measurer() {
    Measurer measure;
    measure.text = [](int32_t font, const std::string& line, float& width, float& height) {
        width = float(line.size()) * (1.0f + float(std::abs(font % 4)) * 0.25f);
        height = 1.0f + float(std::abs(font % 3)) * 0.25f;
    };
    measure.columns = [](int32_t pixels) { return float(pixels) / 8.0f; };
    measure.rows = [](int32_t pixels) { return float(pixels) / 16.0f; };
    return measure;
}

bool finite(float value) { return std::isfinite(value); }

void requirePlaced(const TextBlock& block) {
    if (!block.present) return;
    REQUIRE(finite(block.x) && finite(block.y) && finite(block.width) && finite(block.height));
    REQUIRE(block.width >= 0 && block.height >= 0);
}

// The text's characters other than spaces and line marks, in order.
std::string words(std::string_view text) {
    std::string kept;
    for (char ch : text)
        if (ch != ' ' && ch != '|') kept += ch;
    return kept;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    BoxRequest request;
    request.title = input.ConsumeRandomLengthString(200);
    request.text1 = input.ConsumeRandomLengthString(2000);
    request.text2 = input.ConsumeRandomLengthString(2000);
    request.checkText = input.ConsumeRandomLengthString(200);
    request.flags = input.ConsumeRandomLengthString(16);
    request.pictureWidthPx = input.ConsumeIntegralInRange<int32_t>(0, 4096);
    request.pictureHeightPx = input.ConsumeIntegralInRange<int32_t>(0, 4096);
    request.result = input.ConsumeIntegral<int32_t>();
    const float wrapWidth = input.ConsumeFloatingPointInRange<float>(0.5f, 500.0f);
    request.buttons = input.ConsumeRemainingBytesAsString();

    const Marked marked = PARSEMARKUP(request.text1);
    for (const auto& [letter, number] : marked.codes) REQUIRE(std::isfinite(number));
    CODEINT(marked, 'F', 0);
    REQUIRE(PARSEBUTTONS(request.buttons).size() <= 10);

    const Measurer measure = measurer();
    const BoxLayout box = LAYOUTMSGBOX(request, measure);
    REQUIRE(finite(box.width) && finite(box.height) && box.width >= 0 && box.height >= 0);
    REQUIRE(box.buttons.size() <= 10);
    for (const PlacedButton& button : box.buttons) {
        REQUIRE(finite(button.x) && finite(button.y) && finite(button.width) && finite(button.height));
        REQUIRE(button.x >= 0 && button.y >= 0 && button.x + button.width <= box.width + 0.01f);
    }
    requirePlaced(box.text1);
    requirePlaced(box.text2);
    requirePlaced(box.checkbox);
    REQUIRE(box.focusButton >= 0 && box.focusButton <= 10);

    const std::string wrapped = WRAPTEXT(request.text1, wrapWidth, 0, measure);
    REQUIRE(wrapped.ends_with('|'));
    REQUIRE(words(wrapped) == words(request.text1));
    return 0;
}
