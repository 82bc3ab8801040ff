// The one-page analysis for the client, printed from the texts the calculator shows.
#include "calc/print_analysis.h"

#include <cstdint>
#include <string>

#include "calc/listeners.h"
#include "gui/ezgui.h"
#include "print/ddoc.h"
#include "stations/tables.h"

namespace {

const std::string kForm = "RI";
const std::string kFace = "Arial";
constexpr int32_t kBold = 17;
constexpr int32_t kRegular = 16;
constexpr int32_t kLeft = 0;
constexpr int32_t kCentred = 1;
constexpr int32_t kRight = 2;
constexpr float kCentre = 4.25f;  // the middle of a page 8.5 inches wide
constexpr float kStep = 0.25f;

// Values and station names pass through a fixed text of 200 characters: at most 199 print.
std::string HELD(const std::string& text) {
    constexpr size_t kHeld = 199;
    size_t characters = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool startsCharacter = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
        if (startsCharacter && characters++ == kHeld) return text.substr(0, i);
    }
    return text;
}

// A row of the figures: the caption of the label right-aligned at 3.75, the value left-aligned at 3.9.
void PRINTROW(int16_t job, float y, int32_t label, const std::string& value) {
    DD_TEXT(job, 3.75f, y, kRight, EZ_GETTEXT(kForm, label));
    DD_TEXT(job, 3.9f, y, kLeft, value);
}

// A result row followed by a note that starts 0.1 inch after the end of the value.
void PRINTNOTEDROW(int16_t job, float y, int32_t label, int32_t field, const std::string& note) {
    const std::string value = HELD(EZ_GETTEXT(kForm, field));
    PRINTROW(job, y, label, value);
    const float noteX = 4.0f + static_cast<float>(DD_TEXTWIDTH(job, value));
    DD_FONT(job, kRegular, 10, kFace);
    DD_TEXT(job, noteX, y, kLeft, note);
    DD_FONT(job, kRegular, 14, kFace);
}

void PRINTHEADING(int16_t job) {
    DD_FONT(job, kBold, 14, kFace);
    DD_TEXT(job, kCentre, 1.0f, kCentred, "Return On Investment Analysis for");
    DD_FONT(job, kBold, 24, kFace);
    DD_TEXT(job, kCentre, 1.4f, kCentred, EZ_GETTEXT(kForm, 135));
    DD_FONT(job, kRegular, 12, kFace);
    DD_TEXT(job, kCentre, 1.8f, kCentred, "Prepared by");
    DD_FONT(job, kBold, 14, kFace);
    DD_TEXT(job, kCentre, 2.1f, kCentred, EZ_GETTEXT(kForm, 140));
}

// The five inputs and the four results inside the frame.
void PRINTFIGURES(int16_t job) {
    float y = 3.0f;
    DD_FONT(job, kRegular, 14, kFace);
    PRINTROW(job, y, 110, EZ_GETTEXT(kForm, 145));
    y += kStep;
    PRINTROW(job, y, 115, EZ_GETTEXT(kForm, 150) + "%");
    DD_FONT(job, kRegular, 10, kFace);
    DD_TEXT(job, 4.5f, y, kLeft, "(Wall Street average 7%, bank CD's 1.5%)");
    DD_FONT(job, kRegular, 14, kFace);
    y += kStep;
    PRINTROW(job, y, 120, EZ_GETTEXT(kForm, 155) + "%");
    y += kStep;
    PRINTROW(job, y, 125, EZ_GETTEXT(kForm, 160));
    y += kStep;
    PRINTROW(job, y, 130, EZ_GETTEXT(kForm, 165) + "%");
    y += 3 * kStep;
    PRINTNOTEDROW(job, y, 195, 345, "Your ad investment plus a " + EZ_GETTEXT(kForm, 150) + "% return.");
    y += kStep;
    PRINTNOTEDROW(job, y, 200, 350, "Total sales this schedule must produce.");
    y += kStep;
    PRINTROW(job, y, 205, EZ_GETTEXT(kForm, 355));
    y += kStep;
    PRINTROW(job, y, 210, EZ_GETTEXT(kForm, 215));
}

// The responses each ticked station must bring; returns the cursor below the last line.
float PRINTSTATIONS(int16_t job) {
    float y = 6.2f;
    DD_FONT(job, kRegular, 12, kFace);
    bool first = true;
    for (int row = 1; row <= kStationRows; ++row) {
        const int32_t tickBox = 225 + 10 * (row - 1);
        if (EZ_GETCHECK(kForm, tickBox) == 0) continue;
        if (first) {
            DD_TEXT(job, kCentre, y, kCentred, "Responses needed to achieve ROI target:");
            y += 1.5f * kStep;
            first = false;
        }
        DD_TEXT(job, 1.5f, y, kLeft, HELD(StationCalls[row - 1]));
        const int64_t listeners = LISTENERSPERRESPONSE(StationCume[row - 1], EZ_GETTEXT(kForm, 215));
        DD_TEXT(job, 2.6f, y, kLeft,
                EZ_GETTEXT(kForm, tickBox + 5) + " percent of audience or 1 out of each " +
                    std::to_string(listeners) + " listeners.");
        y += kStep;
    }
    return y;
}

}  // namespace

void PRINTROUTINE() {
    const int16_t job =
        static_cast<int16_t>(DD_STARTDOC("Return On Investment Calculator", EZ_GETTEXT(kForm, 135)));
    if (job < 1) {
        EZ_MSGBOX(EZ_CURRENTFORM(), "Unable to initialize document.{!}", "Print Engine Error", "OK");
        return;
    }
    PRINTHEADING(job);
    DD_RECTANGLE(job, 0.5f, 2.5f, 8.0f, 5.9f);
    PRINTFIGURES(job);
    float y = PRINTSTATIONS(job);
    y += kStep;
    DD_FONT(job, kRegular, 10, kFace);
    DD_WRAPTEXT(job, 1.0f, y, 7.5f, 10.5f, 0.167f, EZ_GETTEXT(kForm, 310));
    DD_ENDDOC(job);
}
