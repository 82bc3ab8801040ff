#include "calc/listeners.h"

#include "calc/results.h"

namespace {

// A share of half the audience or more is said in words: "1 from every 1 or 2" says nothing.
std::string LARGESHARE(const Audience& audience, std::string_view station) {
    const std::string of = std::string(station) + "'s " + audience.listeners + " weekly listeners";
    return audience.beyondAudience ? "more responses than " + of : "responses from half or more of " + of;
}

}  // namespace

std::string LISTENERSTEXT(std::string_view sales, std::string_view closingRatio, std::string_view cume,
                          std::string_view station) {
    const Audience audience = AUDIENCEPERRESPONSE(sales, closingRatio, cume);
    if (!audience.known) return "";
    if (audience.halfOrMore) return "The schedule needs " + LARGESHARE(audience, station) + ".";
    return "1 response from every " + audience.every + " listeners.";
}

std::string PRINTEDSHARE(std::string_view share, std::string_view sales, std::string_view closingRatio,
                         std::string_view cume, std::string_view station) {
    const Audience audience = AUDIENCEPERRESPONSE(sales, closingRatio, cume);
    if (share.empty() || !audience.known) return "\u2014";
    if (audience.halfOrMore)
        return std::string(share) + " percent of audience: " + LARGESHARE(audience, station) + ".";
    return std::string(share) + " percent of audience or 1 out of each " + audience.every + " listeners.";
}
