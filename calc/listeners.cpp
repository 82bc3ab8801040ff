#include "calc/listeners.h"

#include "calc/number_kinds.h"
#include "calc/number_reader.h"

int64_t LISTENERSPERRESPONSE(std::string_view cumeText, std::string_view responsesText) {
    const int64_t listeners = TOWHOLE(READNUMBER(cumeText));
    const int64_t responses = TOWHOLE(READNUMBER(responsesText));
    if (responses == 0) return 0;
    return listeners / responses;
}
