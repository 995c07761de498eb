#include "core/index/created_on.h"
#include "core/platform/time_locale.h"

#include <gtest/gtest.h>

#include "index_fixture.h"

namespace restash::test {
namespace {

std::tm At(int year, int month, int day, int hour, int minute) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    std::tm copy = t;
    const std::time_t s = timegm(&copy);  // fills in the weekday
    gmtime_r(&s, &t);
    return t;
}

TEST(CreatedOn, TwelveHourClockWithTwoDigitsAndNoLeadingZeroDay) {
    const std::locale c = std::locale::classic();
    EXPECT_EQ(CreatedOnText(At(1997, 1, 3, 14, 5), c), "Created on Friday, January 3, 1997 - 02:05 PM");
    EXPECT_EQ(CreatedOnText(At(2001, 11, 12, 0, 7), c), "Created on Monday, November 12, 2001 - 12:07 AM");
    EXPECT_EQ(CreatedOnText(At(1999, 12, 31, 12, 0), c), "Created on Friday, December 31, 1999 - 12:00 PM");
    EXPECT_EQ(CreatedOnText(At(2000, 2, 29, 11, 59), c), "Created on Tuesday, February 29, 2000 - 11:59 AM");
    EXPECT_EQ(CreatedOnText(At(2000, 3, 1, 23, 59), c), "Created on Wednesday, March 1, 2000 - 11:59 PM");
}

TEST(CreatedOn, FollowsTheClockInLocalTime) {
    UseUtc();
    EXPECT_EQ(CreatedOnText(kFriday, std::locale::classic()), "Created on Friday, January 3, 1997 - 02:05 PM");
    ::setenv("TZ", "EST5", 1);  // five hours west, no summer time
    ::tzset();
    EXPECT_EQ(CreatedOnText(kFriday, std::locale::classic()), "Created on Friday, January 3, 1997 - 09:05 AM");
    UseUtc();
}

// A locale whose time facet speaks another language and writes "." between
// hours and minutes.
class DottedTime final : public std::time_put<char> {
protected:
    iter_type do_put(iter_type out, std::ios_base&, char, const std::tm* t, char format, char) const override {
        static const char* const kDays[] = {"dimanche", "lundi", "mardi", "mercredi", "jeudi", "vendredi", "samedi"};
        static const char* const kMonths[] = {"janvier", "f\xe9vrier", "mars", "avril", "mai", "juin",
                                              "juillet", "ao\xfbt", "septembre", "octobre", "novembre", "d\xe9" "cembre"};
        std::string text;
        if (format == 'A') text = kDays[t->tm_wday];
        else if (format == 'B') text = kMonths[t->tm_mon];
        else if (format == 'X') text = std::to_string(t->tm_hour) + "." + std::to_string(t->tm_min) + "." + std::to_string(t->tm_sec);
        for (char ch : text) *out++ = ch;
        return out;
    }
};

TEST(CreatedOn, NamesAndTimeSeparatorComeFromTheLocale) {
    const std::locale dotted(std::locale::classic(), new DottedTime);
    EXPECT_EQ(CreatedOnText(At(1997, 2, 3, 14, 5), dotted), "Created on lundi, f\xe9vrier 3, 1997 - 02.05 PM");
}

TEST(CreatedOn, TheUserLocaleAlwaysYieldsAUsableText) {
    // Whatever LANG holds on this machine, the date text is made.
    const std::string text = CreatedOnText(At(1997, 1, 3, 14, 5), UserTimeLocale());
    EXPECT_EQ(text.rfind("Created on ", 0), 0u);
    EXPECT_NE(text.find(", 1997 - 02"), std::string::npos);
}

}  // namespace
}  // namespace restash::test
