#include "analyses/saving.h"

#include "analyses/scenario_name.h"
#include "msgbox/message_box.h"

namespace {

// The folder of the store that is open, empty before the first use.
std::string openedFolder;

}  // namespace

void STOREREADY(const std::string& parent) {
    std::string notice;
    if (openedFolder.empty()) notice = OPENSTORE(openedFolder = STOREFOLDER());
    if (notice.empty()) notice = STORECHECKED(false);
    if (!notice.empty()) DISPLAYMESSAGE("Saved Analyses", SHOWNTEXT(notice) + "{f7}", "", parent);
}

void CLOSEANALYSES() {
    if (openedFolder.empty()) return;
    CLOSESTORE();
    openedFolder.clear();
}

std::optional<Analysis> SAVEANALYSISOVER(const std::string& parent, Analysis analysis) {
    if (analysis.customer.empty()) {
        DISPLAYMESSAGE("Analysis Not Saved", "Type the customer's name before you save the analysis.{f10}",
                       "Analyses are filed by customer.{f7}", parent);
        return std::nullopt;
    }
    STOREREADY(parent);
    if (const std::string why = STOREREADONLY(); !why.empty()) {
        DISPLAYMESSAGE("Analysis Not Saved", SHOWNTEXT(why) + "{f7}", "", parent);
        return std::nullopt;
    }
    analysis.scenario = ASKSCENARIO(parent, "Save Analysis", "Scenario name for " + analysis.customer + ":",
                                    analysis.scenario);
    if (analysis.scenario.empty()) return std::nullopt;
    if (ANALYSISEXISTS(analysis.customer, analysis.scenario)) {
        const int32_t answer =
            ASKUSER("Replace Analysis?",
                    SHOWNTEXT(analysis.customer + " already has a scenario named \"" + analysis.scenario + "\".") +
                        "{f7}",
                    "Replace it with this analysis?{f10}", "", "*{G,f7}|&Yes|&No", 2);
        if (answer != 1) return std::nullopt;
    }
    std::string why;
    const bool saved = SAVEANALYSIS(analysis, why);
    STOREREADY(parent);
    if (!saved) DISPLAYMESSAGE("Analysis Not Saved", SHOWNTEXT(why) + "{f7}", "", parent);
    return saved ? std::optional<Analysis>(analysis) : std::nullopt;
}

