// The search of the saved analyses' list: every word of the search, in any case, in the
// customer, rep or scenario.
#include <gtest/gtest.h>

#include "analyses/store.h"

TEST(AnalysesSearch, EveryWordMustBeFoundInAnyCase) {
    const std::string text = SEARCHTEXT({1, "Main Street MOTORS", "Jo Smith", "Heavy Schedule", "", "", "", ""});
    EXPECT_EQ(text, "main street motors jo smith heavy schedule");
    struct Case {
        const char* search;
        bool matches;
    } cases[] = {{"", true},           {"   ", true},          {"m", true},          {"MOTORS", true},
                 {"street heavy", true}, {"  jo   heavy ", true}, {"heavy light", false}, {"z", false},
                 {"motorsjo", false},  {"s j", true},         {"schedule!", false}, {"é", false}};
    for (const Case& c : cases) EXPECT_EQ(MATCHESSEARCH(text, c.search), c.matches) << "\"" << c.search << "\"";
}
