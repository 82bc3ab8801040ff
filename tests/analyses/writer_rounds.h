// The analyses the store writer saves, shared with the crash test that kills it: round n
// replaces one of 60 analyses (20 clients, 3 scenarios) with texts and stations fixed by n.
#pragma once

#include <string>

#include "analyses/store.h"

inline Analysis writerRound(long n) {
    const std::string t = std::to_string(n);
    Analysis a{0, "Client " + std::to_string(n % 20), "Rep " + t, "Plan " + std::to_string(n % 60 / 20), "", t,
               t + "%", t + ".0", "$" + t, "1" + t, std::string(size_t(n * 977 % 9000), char('a' + n % 26)),
               "n" + t, "g" + t, "s" + t, "r" + t, {}};
    for (long i = 0; i < n % 9; ++i)
        a.stations.push_back({"W" + t + "-" + std::to_string(i), std::to_string(1000 * i), i % 2 == 1, "0.1" + t});
    return a;
}

// Every field of the analysis but its id and time of saving, for comparing two.
inline std::string fieldsOf(const Analysis& a) {
    std::string all;
    for (const std::string* text : {&a.customer, &a.salesRep, &a.scenario, &a.budget, &a.roi, &a.margin,
                                    &a.averageSale, &a.closingRatio, &a.comments, &a.netReturn, &a.grossReturn,
                                    &a.sales, &a.responses})
        all += *text + "|";
    for (const SavedStation& s : a.stations) all += s.name + "," + s.cume + "," + (s.ticked ? "x," : ",") + s.share + "|";
    return all;
}
