#include "analyses/comparison_page.h"

#include <algorithm>
#include <cstdint>

#include "analyses/comparison.h"
#include "common/page_fit.h"
#include "gui/ezgui.h"
#include "print/ddoc.h"

namespace {

constexpr int32_t kBold = 17, kRegular = 16;
constexpr int32_t kLeft = 0, kCentred = 1;
constexpr float kCentre = 4.25f, kLineWidth = 7.5f, kCaptionLeft = 0.5f, kCellsLeft = 2.6f, kRight = 8.0f;
// Rows from 1.75 inches down to 10.5, a quarter inch apart, closer when there are more than 35
// (a comparison has at most 13 + 4 × 8).
constexpr float kTop = 1.75f, kBottom = 10.5f, kStep = 0.25f;

}  // namespace

void PRINTCOMPARISON(const std::vector<Analysis>& analyses) {
    if (analyses.empty()) return;
    const std::string customers = COMPARISONCUSTOMERS(analyses);
    const int16_t job = static_cast<int16_t>(DD_STARTDOC("Compare Analyses", customers));
    if (job < 1) {
        EZ_MSGBOX(EZ_CURRENTFORM(), "Unable to initialize document.{!}", "Print Engine Error", "OK");
        return;
    }
    DD_FONT(job, kBold, 16, kPageFace);
    DD_TEXT(job, kCentre, 0.75f, kCentred, "Comparison of Advertising Packages");
    DD_TEXT(job, kCentre, 1.1f, kCentred, FITTED(job, customers, kBold, 14, 7, kLineWidth));
    const std::vector<ComparisonRow> rows = COMPARISONROWS(analyses);
    const float cellWidth = (kRight - kCellsLeft) / static_cast<float>(analyses.size());
    const float step = std::min(kStep, (kBottom - kTop) / static_cast<float>(rows.size() + 2));
    const double points = step < kStep ? 8 : 10;
    float y = kTop;
    for (const ComparisonRow& row : rows) {
        const int32_t style = row.differs ? kBold : kRegular;
        DD_TEXT(job, kCaptionLeft, y, kLeft, FITTED(job, row.caption, style, points, 7, kCellsLeft - kCaptionLeft - 0.1));
        for (size_t c = 0; c < row.cells.size(); ++c) {
            const float x = kCellsLeft + cellWidth * static_cast<float>(c);
            DD_TEXT(job, x, y, kLeft, FITTED(job, row.cells[c], style, points, 7, cellWidth - 0.1f));
        }
        y += step;
    }
    DD_FONT(job, kRegular, 9, kPageFace);
    DD_TEXT(job, kCaptionLeft, y + step, kLeft, "Inputs that differ between the packages are printed in bold.");
    DD_ENDDOC(job);
}
