#include "util/dates.h"

#include <optional>

#include "msgbox/message_box.h"
#include "platform/local_date.h"

int32_t Date2JulianDate(std::string dateText, std::string& order) {
    if (dateText.empty()) {
        int32_t year = 0, month = 0, day = 0;
        OS_TODAY(year, month, day);
        dateText = TODAYTEXT(year, month, day);
        order = "MDY";
    }
    std::optional<int32_t> number = DAYNUMBER(dateText, order);
    if (!number) {
        DISPLAYMESSAGE("Invalid Date", "Date values in Date2JulianDate are invalid.{f6}", "");
        return 0;
    }
    return *number;
}

std::string GETBUILDDATE() {
    int32_t year = 0, month = 0, day = 0;
    OS_STAMPDATE(OS_BUILDSTAMP(), year, month, day);
    return BUILDDATETEXT(OS_SHORTDATE(year, month, day), year, month, day);
}
