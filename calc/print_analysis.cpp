// The one-page analysis for the client, printed from the analysis the calculator shows.
#include "calc/print_analysis.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "base/text.h"
#include "calc/calculator_ids.h"
#include "calc/listeners.h"
#include "calc/shown_analysis.h"
#include "common/page_fit.h"
#include "gui/ezgui.h"
#include "print/ddoc.h"

namespace {

const std::string kForm = "RI";
constexpr int32_t kBold = 17;
constexpr int32_t kRegular = 16;
constexpr int32_t kLeft = 0;
constexpr int32_t kCentred = 1;
constexpr int32_t kRight = 2;
constexpr float kCentre = 4.25f;  // the middle of a page 8.5 inches wide
constexpr float kStep = 0.25f;
constexpr float kLineWidth = 7.5f;   // a centred line stays between 0.5 and 8.0 inches
constexpr float kFrameRight = 7.9f;  // inside the frame around the figures, whose edge is at 8.0
constexpr float kPaperRight = 8.0f;  // half an inch from the paper's edge
constexpr float kCommentsBottom = 10.5f;

// Values and station names pass through a fixed text of 200 characters: at most 199 print.
std::string HELD(const std::string& text) {
    constexpr size_t kHeld = 199;
    return std::string(UTF8FIRST(text, kHeld));
}

// A row of the figures: the caption of the label right-aligned at 3.75, the value left-aligned
// at 3.9, made to fit inside the frame. Returns the width of the value as printed.
double PRINTROW(int16_t job, float y, int32_t label, const std::string& value) {
    DD_FONT(job, kRegular, 14, kPageFace);
    DD_TEXT(job, 3.75f, y, kRight, EZ_GETTEXT(kForm, label));
    const std::string shown = FITTED(job, value, kRegular, 14, 8, kFrameRight - 3.9f);
    DD_TEXT(job, 3.9f, y, kLeft, shown);
    return DD_TEXTWIDTH(job, shown);
}

// A note after a figure, from x to the frame's right edge.
void PRINTNOTE(int16_t job, float x, float y, const std::string& note) {
    DD_TEXT(job, x, y, kLeft, FITTED(job, note, kRegular, 10, 6, kFrameRight - x));
}

// A result row followed by a note that starts 0.1 inch after the end of the value.
void PRINTNOTEDROW(int16_t job, float y, int32_t label, const std::string& value, const std::string& note) {
    const double width = PRINTROW(job, y, label, HELD(value));
    PRINTNOTE(job, 4.0f + static_cast<float>(width), y, note);
}

// The customer and the preparer, each in its size when it fits between the paper's margins.
void PRINTHEADING(int16_t job, const Analysis& a) {
    DD_FONT(job, kBold, 14, kPageFace);
    DD_TEXT(job, kCentre, 1.0f, kCentred, "Return On Investment Analysis for");
    DD_TEXT(job, kCentre, 1.4f, kCentred, FITTED(job, a.customer, kBold, 24, 10, kLineWidth));
    DD_FONT(job, kRegular, 12, kPageFace);
    DD_TEXT(job, kCentre, 1.8f, kCentred, "Prepared by");
    DD_TEXT(job, kCentre, 2.1f, kCentred, FITTED(job, a.salesRep, kBold, 14, 10, kLineWidth));
}

// The five inputs and the four results inside the frame, a quarter inch apart with a gap of two
// before the results. The note on the return moves right of a value too wide for its place.
void PRINTFIGURES(int16_t job, const Analysis& a) {
    PRINTROW(job, 3.0f, RI::BUDGET_CAPTION, a.budget);
    const double roi = PRINTROW(job, 3.25f, RI::ROI_CAPTION, a.roi + "%");
    PRINTNOTE(job, std::max(4.5f, 4.0f + static_cast<float>(roi)), 3.25f,
              "(Wall Street average 7%, bank CD's 1.5%)");
    PRINTROW(job, 3.5f, RI::MARGIN_CAPTION, a.margin + "%");
    PRINTROW(job, 3.75f, RI::AVERAGE_SALE_CAPTION, a.averageSale);
    PRINTROW(job, 4.0f, RI::CLOSING_RATIO_CAPTION, a.closingRatio + "%");
    PRINTNOTEDROW(job, 4.75f, RI::NET_RETURN_CAPTION, a.netReturn,
                  "Your ad investment plus a " + a.roi + "% return.");
    PRINTNOTEDROW(job, 5.0f, RI::GROSS_RETURN_CAPTION, a.grossReturn,
                  "Total sales this schedule must produce.");
    PRINTROW(job, 5.25f, RI::SALES_CAPTION, a.sales);
    PRINTROW(job, 5.5f, RI::RESPONSES_CAPTION, a.responses);
}

// The responses each ticked station must bring; returns the cursor below the last line.
float PRINTSTATIONS(int16_t job, const Analysis& a) {
    float y = 6.2f;
    DD_FONT(job, kRegular, 12, kPageFace);
    bool first = true;
    for (const SavedStation& station : a.stations) {
        if (!station.ticked) continue;
        if (first) {
            DD_TEXT(job, kCentre, y, kCentred, "Responses needed to achieve ROI target:");
            y += 1.5f * kStep;
            first = false;
        }
        DD_TEXT(job, 1.5f, y, kLeft, FITTED(job, HELD(station.name), kRegular, 12, 8, 2.55f - 1.5f));
        const std::string figure =
            PRINTEDSHARE(station.share, a.sales, a.closingRatio, station.cume, station.name);
        DD_TEXT(job, 2.6f, y, kLeft, FITTED(job, figure, kRegular, 12, 8, kPaperRight - 2.6f));
        y += kStep;
    }
    return y;
}

// The comments in the largest size from 10 down to 8 points at which they fit above 10.5 inches,
// with lines as far apart as the size needs; comments that do not fit even then are cut with
// "…", and the preview says so.
void PRINTCOMMENTS(int16_t job, float y, const std::string& comments) {
    for (double size = 10; size >= 8; size -= 0.5) {
        DD_FONT(job, kRegular, size, kPageFace);
        const double lineHeight = 0.167 * size / 10;
        if (y + DD_WRAPLINECOUNT(job, 1.0, 7.5, comments) * lineHeight <= kCommentsBottom + 0.001) {
            DD_WRAPTEXT(job, 1.0f, y, 7.5f, kCommentsBottom, lineHeight, comments);
            return;
        }
    }
    DD_WRAPTEXT(job, 1.0f, y, 7.5f, kCommentsBottom, 0.167 * 8 / 10, comments, true);
    DD_SETNOTICE(
        job, "The comments were too long for the page: they are printed smaller and shortened at the end.");
}

}  // namespace

void PRINTROUTINE() {
    const Analysis a = SHOWNANALYSIS();
    const int16_t job = static_cast<int16_t>(DD_STARTDOC("Return On Investment Calculator", a.customer));
    if (job < 1) {
        EZ_MSGBOX(EZ_CURRENTFORM(), "Unable to initialize document.{!}", "Print Engine Error", "OK");
        return;
    }
    PRINTHEADING(job, a);
    DD_RECTANGLE(job, 0.5f, 2.5f, 8.0f, 5.9f);
    PRINTFIGURES(job, a);
    PRINTCOMMENTS(job, PRINTSTATIONS(job, a) + kStep, a.comments);
    DD_ENDDOC(job);
}
