// Numbers as the console reads them from its boxes and writes them back.
//
// Two readings exist side by side: the lenient leading-number reading (exponent and
// address-like boxes, Smart Battery values), which never fails, and the strict
// whole-text reading in the user's number format (engineering values of the PMBus
// formats), which refuses anything that is not entirely a number.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::formats {

// The user's regional number format, as the window reads it from the system locale.
// Separators are UTF-8 texts because some locales group with a non-ASCII space.
struct NumberFormat {
    std::string decimal = ".";
    std::string group = ",";
};

// The leading number of a text: blanks (space, tab, CR, LF) are skipped wherever they
// stand, then an optional sign, digits with at most one ".", an optional exponent ("E" or
// "D", either case, optional sign, digits), up to the first character that does not fit.
// "&H" / "&O" (either case) at the start introduce a hexadecimal / octal integer, read
// as its plain unsigned value. No number reads as 0. Huge values read as +-infinity,
// which every later rounding reports as an overflow.
double leading_number(std::string_view text);

// The whole text as a decimal number in the user's format: surrounding blanks allowed,
// optional sign, digits grouped by `group` in threes (or not grouped at all), optional
// `decimal` part, optional exponent "E". At least one digit. Anything else is nothing.
// Groups must sit every three digits so that "1,5" typed for one and a half in a locale
// grouping with "," is refused instead of silently read as 15.
std::optional<double> whole_number(std::string_view text, const NumberFormat& format = {});

// One or two hexadecimal digits of either case and nothing else (no blanks, sign or
// prefix; the empty text is nothing): the form every hex entry box of the console takes.
// The link layer's converter applies the same rule; this copy keeps the console's rules
// and formats free of the link.
std::optional<uint8_t> hex_byte(std::string_view text);

// Nearest integer, a half going to the even neighbour.
double round_half_even(double v);

// Rounding to a target width; nothing means overflow (NaN counts as overflow too).
std::optional<int16_t> round_to_int16(double v);
std::optional<int32_t> round_to_int32(double v);

// A real value as text of at most 15 significant digits without trailing zeros.
// The decimal separator is the user's (`format.decimal`), so that a shown value reads
// back through `whole_number` unchanged. Magnitudes from 1E-05 up to below 1E+15 are
// written plainly; outside that range (never reached by a 16-bit word in the panel
// formats) exponent form "1.5E-07" / "2E+15" is used. Infinity and NaN give "".
std::string real_to_text(double v, const NumberFormat& format = {});

}  // namespace velmora::formats
