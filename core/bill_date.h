#pragma once

// The date of a bill (出票日期) in capitals, as bills are filled in so that the date cannot be
// altered: the year digit by digit (2026 -> 贰零贰陆年); months 1, 2 and 10 and days 1-10, 20 and
// 30 get 零 before them; tens are always written with their digit (壹拾).
//   2026-01-15 -> 贰零贰陆年零壹月壹拾伍日, 2026-10-20 -> 贰零贰陆年零壹拾月零贰拾日,
//   2026-03-09 -> 贰零贰陆年叁月零玖日, 2026-12-31 -> 贰零贰陆年壹拾贰月叁拾壹日.
//
// Finding the date in a text: the first place where one of these forms stands, with blanks
// (space, tab, U+3000) allowed around the separators:
//   2026-12-07, 2026/12/7, 2026.12.7 (the same separator twice), 2026年12月7日 (日 or 号 optional),
//   20261207 (exactly eight digits).
// The year has four digits and month and day one or two, none of them running on into further
// digits; full-width digits and separators count as ASCII ones. "账期2026-12，出票2026-12-07" finds
// 2026-12-07: a year and month alone are not a date. A complete form that names no real day
// (2026-02-29, 2026-13-01, 20261301, day 0) is refused, not skipped.

#include "refusal.h"

#include <string>
#include <string_view>

namespace core {

struct BillDate {
    int year;
    int month;
    int day;
    bool operator==(const BillDate &) const = default;
};

// True for a day of the Gregorian calendar in years 1 to 9999 (leap years: 2024 and 2000, not 1900).
bool billDateExists(const BillDate &date);

// The first date in `text` (forms above). Refused at position 0 when there is none, or at the
// 1-based code point where a date that does not exist starts.
Outcome<BillDate> findBillDate(std::u16string_view text);

// The capitals of `date`; empty when the date does not exist.
std::u16string billDateCapitals(const BillDate &date);

// The capitals of the first date in `text`, or its refusal.
Outcome<std::u16string> billDateText(std::u16string_view text);

} // namespace core
