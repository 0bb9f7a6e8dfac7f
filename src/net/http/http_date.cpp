#include "net/http/http_date.h"

#include <cstdio>

namespace statvane {

std::string httpDate(std::chrono::sys_seconds moment) {
    using namespace std::chrono;
    static constexpr const char* weekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static constexpr const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                             "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const sys_days day = floor<days>(moment);
    const year_month_day date(day);
    const hh_mm_ss time(moment - day);
    char text[32];
    std::snprintf(text, sizeof text, "%s, %02u %s %04d %02d:%02d:%02d GMT",
                  weekdays[weekday(day).c_encoding()], static_cast<unsigned>(date.day()),
                  months[static_cast<unsigned>(date.month()) - 1], static_cast<int>(date.year()),
                  static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()));
    return text;
}

} // namespace statvane
