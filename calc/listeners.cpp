#include "calc/listeners.h"

#include "calc/number_format.h"
#include "calc/number_kinds.h"
#include "calc/number_reader.h"

ListenersFigure LISTENERSFIGURE(std::string_view responsesText, std::string_view cumeText) {
    const long double responses = READNUMBER(responsesText);
    const int64_t wholeResponses = TOWHOLE(responses);
    const int64_t listeners = TOWHOLE(READNUMBER(cumeText));
    ListenersFigure figure;
    if (!(responses > 0) || wholeResponses == 0 || listeners <= 0) return figure;
    figure.known = true;
    figure.beyondAudience = responses > listeners;
    if (figure.beyondAudience) figure.audience = FORMATNUMBER(static_cast<long double>(listeners), "#,");
    figure.every = listeners / wholeResponses;
    return figure;
}

namespace {

std::string MORETHANAUDIENCE(const ListenersFigure& figure, std::string_view station) {
    return "more responses than " + std::string(station) + "'s " + figure.audience + " weekly listeners";
}

}  // namespace

std::string LISTENERSTEXT(std::string_view responsesText, std::string_view cumeText, std::string_view station) {
    const ListenersFigure figure = LISTENERSFIGURE(responsesText, cumeText);
    if (!figure.known) return "";
    if (figure.beyondAudience) return "The schedule needs " + MORETHANAUDIENCE(figure, station) + ".";
    return "1 response from every " + std::to_string(figure.every) + " listeners.";
}

std::string PRINTEDSHARE(std::string_view share, std::string_view responsesText, std::string_view cumeText,
                         std::string_view station) {
    const ListenersFigure figure = LISTENERSFIGURE(responsesText, cumeText);
    if (share.empty() || !figure.known) return "\u2014";
    if (figure.beyondAudience)
        return std::string(share) + " percent of audience: " + MORETHANAUDIENCE(figure, station) + ".";
    return std::string(share) + " percent of audience or 1 out of each " + std::to_string(figure.every) +
           " listeners.";
}
