#include "platform/local_date.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>

#ifndef TARVEX_BUILD_EPOCH
#error "The build sets TARVEX_BUILD_EPOCH, the time of the build in seconds since 1970."
#endif

namespace {

// Seconds from 1 January 1601, where the stamp counts from, to 1 January 1970.
constexpr int64_t kEpochOffset = 11644473600;
constexpr int64_t kTicksPerSecond = 10000000;

}  // namespace

void OS_TODAY(int32_t& year, int32_t& month, int32_t& day) {
    const QDate today = QDate::currentDate();
    year = today.year();
    month = today.month();
    day = today.day();
}

// The default locale is the system's unless a test has chosen another.
std::string OS_SHORTDATE(int32_t year, int32_t month, int32_t day) {
    const QLocale locale;
    QString format = locale.dateFormat(QLocale::ShortFormat);
    static const QRegularExpression shortYear("(?<!y)yy(?!y)");
    format.replace(shortYear, "yyyy");
    return locale.toString(QDate(year, month, day), format).toStdString();
}

int64_t OS_BUILDSTAMP() { return (int64_t{TARVEX_BUILD_EPOCH} + kEpochOffset) * kTicksPerSecond; }

void OS_STAMPDATE(int64_t stamp, int32_t& year, int32_t& month, int32_t& day) {
    const QDate date = QDateTime::fromSecsSinceEpoch(stamp / kTicksPerSecond - kEpochOffset).date();
    year = date.year();
    month = date.month();
    day = date.day();
}
