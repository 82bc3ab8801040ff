// The stored station list: eight comma-separated fields.
#include "stations/fields.h"

#include <gtest/gtest.h>

namespace {

StationTable rows(std::initializer_list<const char*> texts) {
    StationTable table;
    int i = 0;
    for (const char* text : texts) table[i++] = text;
    return table;
}

TEST(StationFields, SplitsByTheStoredRules) {
    EXPECT_EQ(SPLITFIELDS(""), StationTable{});
    EXPECT_EQ(SPLITFIELDS("WAAA, WBBB"), rows({"WAAA", "WBBB"}));
    EXPECT_EQ(SPLITFIELDS("900,85"), rows({"900", "85"}));
    EXPECT_EQ(SPLITFIELDS("WAAA,WBBB,,,,,,"), rows({"WAAA", "WBBB"}));
    EXPECT_EQ(SPLITFIELDS("a,b,c,d,e,f,g,h,i,j"), rows({"a", "b", "c", "d", "e", "f", "g", "h"}));
    EXPECT_EQ(SPLITFIELDS("  KX 1  ,\"W,Q\" junk,\"open"), rows({"KX 1", "W,Q", "open"}));
    // A thousands comma in a hand-edited cume splits it and shifts the rows after it.
    EXPECT_EQ(SPLITFIELDS("12,000,900"), rows({"12", "000", "900"}));
}

TEST(StationFields, JoinedListsReadBackExactly) {
    StationTable saved = rows({"WAAA", "WDDD", "", "", "", "", "", ""});
    EXPECT_EQ(JOINFIELDS(saved), "WAAA,WDDD,,,,,,");
    EXPECT_EQ(JOINFIELDS(rows({"900", "700", "0", "0", "0", "0", "0", "0"})), "900,700,0,0,0,0,0,0");
    StationTable names = rows({"K-LOVE", "WABC FM", "Z 100", "X", "", "", "", "LAST"});
    EXPECT_EQ(SPLITFIELDS(JOINFIELDS(names)), names);

    // A row that only a quoted field gives keeps its quotes, so the rows after it stay in place.
    const StationTable quoted = SPLITFIELDS("\"W,Q\", \" KX 1 \",say \"hi\",LAST");
    EXPECT_EQ(quoted, rows({"W,Q", " KX 1 ", "say \"hi\"", "LAST"}));
    EXPECT_EQ(JOINFIELDS(quoted), "\"W,Q\",\" KX 1 \",say \"hi\",LAST,,,,");
    EXPECT_EQ(SPLITFIELDS(JOINFIELDS(quoted)), quoted);
}

}  // namespace
