// Two-line element sets: format and checksum of one line, and conversion of
// a checked pair into an element_set. Numbers are read with '.' as decimal
// separator whatever the process locale is (the program runs under the
// user's locale), so no locale-bound C library reader is used.
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "model_constants.h"
#include "satellite.h"

namespace {

using satellite::kTwoPi;

constexpr int kLineColumns = 70;  // a line is read up to column 70 at most

// Characters compare as signed bytes, so every byte of 0x80 or more counts as
// lying below the blank.
int signed_code(char c) { return static_cast<signed char>(c); }

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// A line's first 70 columns, NUL-terminated, so that no field reader runs
// past column 70 however the line continues.
struct LineCopy {
    char text[kLineColumns + 1];
    explicit LineCopy(const char* line) {
        size_t n = 0;
        while (n < kLineColumns && line[n] != '\0') {
            text[n] = line[n];
            ++n;
        }
        std::memset(text + n, 0, sizeof text - n);
    }
    const char* column(int one_based) const { return text + one_based - 1; }
};

// Skips leading blanks and an optional sign; tells whether the sign was '-'.
const char* skip_blanks_and_sign(const char* p, bool* negative) {
    while (*p == ' ') ++p;
    *negative = (*p == '-');
    if (*p == '+' || *p == '-') ++p;
    return p;
}

// Reads a decimal number at the start of text: leading blanks, an optional
// sign, digits with at most one point, an optional exponent. Stops at the
// first character that cannot continue it; no number reads as 0. Only this
// plain decimal form is accepted (no "inf", "nan" or hexadecimal).
double read_decimal(const char* text) {
    bool negative = false;
    const char* p = skip_blanks_and_sign(text, &negative);
    const char* start = p;
    int digits = 0;
    while (is_digit(*p)) { ++p; ++digits; }
    if (*p == '.') {
        ++p;
        while (is_digit(*p)) { ++p; ++digits; }
    }
    if (digits == 0) return 0.0;
    bool negative_exponent = false;
    if (*p == 'e' || *p == 'E') {
        const char* q = p + 1;
        if (*q == '+' || *q == '-') {
            negative_exponent = (*q == '-');
            ++q;
        }
        if (is_digit(*q)) {
            while (is_digit(*q)) ++q;
            p = q;
        }
    }
    double value = 0.0;
    const std::errc error = std::from_chars(start, p, value, std::chars_format::general).ec;
    if (error == std::errc::result_out_of_range) {
        // Only a huge or tiny exponent gets here (the mantissa is at most 70
        // characters): saturate the way the C library's reader does.
        value = negative_exponent ? 0.0 : HUGE_VAL;
    } else if (error != std::errc()) {
        value = 0.0;
    }
    return negative ? -value : value;
}

// Reads an integer at the start of text: leading blanks, an optional sign,
// digits; saturates at the int32 range instead of overflowing.
int32_t read_integer(const char* text) {
    bool negative = false;
    const char* p = skip_blanks_and_sign(text, &negative);
    long long value = 0;
    while (is_digit(*p)) {
        if (value <= INT32_MAX) value = value * 10 + (*p - '0');
        ++p;
    }
    if (negative) value = -value;
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

// Catalogue number from columns 3-7 of line 1: digits, or for numbers from
// 100000 on a letter and four digits, the letter standing for 10..33 in
// alphabetical order without I and O ("A0000" = 100000, "Z9999" = 339999).
// False for any other letter in those columns, which no number is.
bool read_catalogue_number(const LineCopy& line, int32_t* number) {
    const char* field = line.column(3);
    auto is_letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    const char first = field[0];
    for (int i = 1; i < 5; ++i) {
        if (is_letter(field[i])) return false;
    }
    if (!is_letter(first)) {
        *number = read_integer(field);
        return true;
    }
    if (first < 'A' || first > 'Z' || first == 'I' || first == 'O') return false;
    int32_t value = 10 + (first - 'A') - (first > 'I' ? 1 : 0) - (first > 'O' ? 1 : 0);
    for (int i = 1; i < 5; ++i) {
        if (!is_digit(field[i])) return false;
        value = value * 10 + (field[i] - '0');
    }
    *number = value;
    return true;
}

// Columns first..last copied out and terminated, so reading stops there.
struct Span {
    char text[16];
    Span(const LineCopy& line, int first, int last) {
        const int n = last - first + 1;
        std::memcpy(text, line.column(first), n);
        text[n] = '\0';
    }
};

// An 8-column field with an assumed point before five mantissa digits and a
// one-digit exponent: " 12345-3" is 0.12345e-3, "-12345-3" its negative.
double parse_exp_field(const char* field) {
    if (field[1] == ' ') return 0.0;
    char text[16];
    int n = 0;
    if (field[0] == '-') text[n++] = '-';
    text[n++] = '.';
    for (int i = 1; i <= 5; ++i) text[n++] = field[i];
    text[n++] = 'E';
    if (field[6] == '-') text[n++] = '-';
    text[n++] = field[7];
    text[n] = '\0';
    return read_decimal(text);
}

// Epoch as a Julian date from the two-digit year (57-99 are 1957-1999, 00-56
// 2000-2056) and the day of year with fraction. Every fourth year counts as a
// leap year, which holds for the whole range.
double parse_epoch(const LineCopy& line) {
    int year = *line.column(20) - '0';
    const char tens = *line.column(19);
    if (tens >= '0') year += 10 * (tens - '0');
    if (year < 57) year += 100;
    const double day = read_decimal(line.column(21));
    return day + 2415019.5 + 365.0 * year + (year - 1) / 4;
}

constexpr double kDegrees = 0.017453292519943295;

void fill_elements(const LineCopy& l1, const LineCopy& l2, int32_t catnum, element_set* elements) {
    element_set e;
    e.epoch = parse_epoch(l1);
    e.ndot2 = read_decimal(l1.column(34)) * (kTwoPi / 2073600.0);
    e.nddot6 = parse_exp_field(l1.column(45)) * (kTwoPi / 2985984000.0);
    e.bstar = parse_exp_field(l1.column(54));
    e.inclination = read_decimal(l2.column(9)) * kDegrees;
    e.raan = read_decimal(l2.column(18)) * kDegrees;
    {
        // The seven digits of columns 27-33 are a fraction with an assumed
        // point; the number ends at the blank of column 34.
        char text[12];
        text[0] = '.';
        std::memcpy(text + 1, l2.column(27), 10);
        text[11] = '\0';
        e.eccentricity = read_decimal(text);
    }
    e.arg_perigee = read_decimal(l2.column(35)) * kDegrees;
    e.mean_anomaly = read_decimal(l2.column(44)) * kDegrees;
    e.mean_motion = read_decimal(Span(l2, 53, 63).text) * (kTwoPi / 1440.0);
    e.catnum = catnum;
    e.elset_num = read_integer(Span(l1, 65, 68).text);
    e.rev_num = read_integer(Span(l2, 64, 68).text);
    e.classification = *l1.column(8);
    e.ephem_type = *l1.column(63);
    std::memcpy(e.intl_desig, l1.column(10), 8);
    e.intl_desig[8] = '\0';
    // Everything but the trailing padding byte, which stays as it was.
    std::memcpy(elements, &e, offsetof(element_set, unused));
}

}  // namespace

extern "C" {

int tle_checksum(const char* line) {
    if ((line[0] != '1' && line[0] != '2') || line[1] != ' ') return -1;
    int sum = 0;
    for (int i = 0; i < 68; ++i) {
        const int c = signed_code(line[i]);
        if (c < ' ' || c > 'z') return -2;  // also the NUL of a short line
        if (c >= '1' && c <= '9') {
            sum += c - '0';
        } else if (c == '-') {
            sum += 1;
        }
    }
    if (line[68] == '\0') return -2;
    if (signed_code(line[69]) > ' ') return -3;
    int difference = (sum - (signed_code(line[68]) - '0')) % 10;
    if (difference < 0) difference += 10;
    return difference;
}

int parse_elements(const char* line1, const char* line2, element_set* elements) {
    if (line1[0] != '1' || line2[0] != '2') return -104;
    int flags = 0;
    const int check1 = tle_checksum(line1);
    if (check1 < 0) return check1 - 100;
    if (check1 > 0) flags |= 1;
    const int check2 = tle_checksum(line2);
    if (check2 < 0) return check2;
    if (check2 > 0) flags |= 2;
    const LineCopy l1(line1);
    int32_t catnum = 0;
    if (!read_catalogue_number(l1, &catnum)) return -102;
    fill_elements(l1, LineCopy(line2), catnum, elements);
    return flags;
}

}  // extern "C"
