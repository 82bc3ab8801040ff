// The analyses the store writer saves, shared with the crash test that kills it: round n
// replaces one of 60 analyses (20 clients, 3 scenarios) with texts and stations fixed by n.
#pragma once

#include <string>

#include "analyses/store.h"

inline Analysis writerRound(long n) {
    const std::string tag = std::to_string(n);
    Analysis a;
    a.customer = "Client " + std::to_string(n % 20);
    a.salesRep = "Rep " + tag;
    a.scenario = "Plan " + std::to_string(n % 60 / 20);
    a.budget = tag;
    a.roi = tag + "%", a.margin = tag + ".0", a.averageSale = "$" + tag, a.closingRatio = "1" + tag;
    a.comments = std::string(static_cast<size_t>(n * 977 % 9000), static_cast<char>('a' + n % 26));
    a.netReturn = "n" + tag, a.grossReturn = "g" + tag, a.sales = "s" + tag, a.responses = "r" + tag;
    for (long i = 0; i < n % 9; ++i)
        a.stations.push_back({"W" + tag + "-" + std::to_string(i), std::to_string(1000 * i), i % 2 == 1, "0.1" + tag});
    return a;
}

// Every field of the analysis but its id and time of saving, for comparing two.
inline std::string fieldsOf(const Analysis& a) {
    std::string all = a.customer + "|" + a.salesRep + "|" + a.scenario + "|" + a.budget + "|" + a.roi + "|" +
                      a.margin + "|" + a.averageSale + "|" + a.closingRatio + "|" + a.comments + "|" + a.netReturn +
                      "|" + a.grossReturn + "|" + a.sales + "|" + a.responses;
    for (const SavedStation& s : a.stations) all += "|" + s.name + "," + s.cume + "," + (s.ticked ? "x" : "") + "," + s.share;
    return all;
}
