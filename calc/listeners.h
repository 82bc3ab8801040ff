// What a station's share of its audience means in listeners: the tooltip, the screen reader's
// description and the printed line all say it from here.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct ListenersFigure {
    bool known = false;           // false when the responses round to no whole response or the cume is not above 0
    bool beyondAudience = false;  // the schedule needs more responses than the station's weekly listeners
    int64_t every = 0;            // 1 response from every this many listeners
    std::string audience;         // beyond the audience: the weekly listeners, grouped in thousands
};

// The cume and the responses shown, each read as a number and rounded to a whole number; the
// cume divided by the responses, truncated toward zero.
ListenersFigure LISTENERSFIGURE(std::string_view responsesText, std::string_view cumeText);

// "1 response from every N listeners.", or what a share above the audience means; empty when
// the figure is not known.
std::string LISTENERSTEXT(std::string_view responsesText, std::string_view cumeText, std::string_view station);

// The printed line after a station's name: its share and what it means in listeners; "—" when
// the share or the figure is not known.
std::string PRINTEDSHARE(std::string_view share, std::string_view responsesText, std::string_view cumeText,
                         std::string_view station);
