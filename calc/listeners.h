// What a station's share of its audience means in listeners: the tooltip, the screen reader's
// description and the printed line all say it from here.
#pragma once

#include <string>
#include <string_view>

// "1 response from every N listeners.", N the cume over the exact responses to the nearest
// listener, or what a share of half the audience or more means; empty when there is no figure.
// The responses come from the number of sales shown and the closing ratio.
std::string LISTENERSTEXT(std::string_view sales, std::string_view closingRatio, std::string_view cume,
                          std::string_view station);

// The printed line after a station's name: its share and what it means in listeners; "—" when
// the share or the figure is not known.
std::string PRINTEDSHARE(std::string_view share, std::string_view sales, std::string_view closingRatio,
                         std::string_view cume, std::string_view station);
