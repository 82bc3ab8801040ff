#include "platform/local_date.h"

#include <QDate>
#include <QLocale>
#include <QRegularExpression>

// The default locale is the system's unless a test has chosen another.
std::string OS_SHORTDATE(int32_t year, int32_t month, int32_t day) {
    const QLocale locale;
    QString format = locale.dateFormat(QLocale::ShortFormat);
    static const QRegularExpression shortYear("(?<!y)yy(?!y)");
    format.replace(shortYear, "yyyy");
    return locale.toString(QDate(year, month, day), format).toStdString();
}
