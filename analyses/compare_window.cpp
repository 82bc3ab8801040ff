#include "analyses/compare_window.h"

#include "analyses/compare_ids.h"
#include "analyses/comparison.h"
#include "analyses/comparison_page.h"
#include "common/help.h"
#include "gui/ezgui.h"

namespace {

const std::string kForm = "CA";
constexpr double kCaptionWidth = 22, kCellWidth = 17, kRowHeight = 1.125;
constexpr int32_t kHighlight = 30;  // a light yellow behind an input that differs

std::vector<Analysis> compared;

double cellLeft(int column) { return 2 + kCaptionWidth + 1 + (column - 1) * (kCellWidth + 1); }

}  // namespace

void COMPAREANALYSES(const std::string& parent, const std::vector<Analysis>& analyses) {
    compared.assign(analyses.begin(), analyses.begin() + std::min<size_t>(analyses.size(), CA::kMaxColumns));
    const double rows = static_cast<double>(COMPARISONROWS(compared).size());
    EZ_COLOR(-1, -1);
    EZ_FORM(kForm, parent, "Compare Analyses", 0, 0, cellLeft(static_cast<int>(compared.size()) + 1) + 1,
            rows * kRowHeight + 5.5, "CMR");
}

void EZ_CA_Design() {
    const std::vector<ComparisonRow> rows = COMPARISONROWS(compared);
    double y = 0.75;
    for (size_t r = 0; r < rows.size(); ++r) {
        const int row = static_cast<int>(r) + 1;
        const ComparisonRow& line = rows[r];
        EZ_COLOR(-1, -1);
        EZ_USEFONT(line.differs ? 7 : 6);
        EZ_LABEL(CA::ROWCAPTION(row), 2, y, kCaptionWidth, 1, line.caption + ":", "");
        for (size_t c = 0; c < line.cells.size(); ++c) {
            const int column = static_cast<int>(c) + 1;
            EZ_COLOR(-1, line.differs ? kHighlight : -1);
            EZ_LABEL(CA::CELL(row, column), cellLeft(column), y, kCellWidth, 1, line.cells[c], "L");
            EZ_SETACCESSNAME(kForm, CA::CELL(row, column),
                             line.caption + ", " + compared[c].scenario + (line.differs ? ", differs" : ""));
        }
        y += kRowHeight;
    }
    EZ_COLOR(-1, -1);
    EZ_USEFONT(6);
    EZ_LABEL(CA::LEGEND, 2, y + 0.5, cellLeft(static_cast<int>(compared.size()) + 1) - 3, 1,
             "Inputs that differ between the analyses are in bold on yellow.", "L");
    const double right = cellLeft(static_cast<int>(compared.size()) + 1) - 1;
    EZ_BUTTON(CA::PRINT_BUTTON, right - 17, y + 2.25, 8, 1.5, "&Print", "T");
    EZ_BUTTON(CA::CLOSE_BUTTON, right - 8, y + 2.25, 8, 1.5, "&Close", "T");
    EZ_SETFORMKEYS(kForm, 2);
}

void EZ_CA_ParseEvents(int32_t& id, int32_t& message, int32_t& value, int32_t&) {
    if (message == EZ_MSG_KEY && value == EZ_KEY_ESCAPE) {
        value = EZ_KEY_NONE;
        EZ_UNLOADFORM(kForm);
    } else if (id == EZ_FORMITSELF && message == EZ_MSG_STARTED) {
        EZ_FOCUS(kForm, CA::CLOSE_BUTTON);
        EZ_DEFACCEL(kForm, "F1," + std::to_string(HELP_KEY));
    } else if (id == HELP_KEY && message == EZ_MSG_CLICK) {
        GETHELP(HELP_CONTEXT, IDH_COMPARING);
    } else if (id == CA::PRINT_BUTTON && message == EZ_MSG_CLICK) {
        PRINTCOMPARISON(compared);
    } else if (id == CA::CLOSE_BUTTON && message == EZ_MSG_CLICK) {
        EZ_UNLOADFORM(kForm);
    }
}
