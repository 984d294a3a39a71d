#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstring>
#include <string>

#include "satellite.h"
#include "reference_element_sets.h"

namespace {

constexpr double kDeg = 0.017453292519943295;
constexpr double kTwoPi = 6.283185307179586;

const std::string kLine1 = reference_sets::k00005.line1;
const std::string kLine2 = reference_sets::k00005.line2;

std::string with(std::string line, size_t column, char c) {
    line[column - 1] = c;
    return line;
}

std::string with(std::string line, size_t column, const char* text) {
    return line.replace(column - 1, std::strlen(text), text);
}

int parse(const std::string& l1, const std::string& l2, element_set* e) {
    return parse_elements(l1.c_str(), l2.c_str(), e);
}

TEST(ElementLines, ParsesEveryFieldOfAWellFormedPair) {
    element_set e;
    std::memset(&e, 0xAB, sizeof e);
    ASSERT_EQ(parse(kLine1, kLine2, &e), 0);
    EXPECT_DOUBLE_EQ(e.epoch, 2451544.5 + 178.78495062);  // 2000, day 179.78495062
    EXPECT_DOUBLE_EQ(e.ndot2, 0.00000023 * kTwoPi / (1440.0 * 1440.0));
    EXPECT_EQ(e.nddot6, 0.0);  // " 00000-0"
    EXPECT_DOUBLE_EQ(e.bstar, 0.28098e-4);
    EXPECT_DOUBLE_EQ(e.inclination, 34.2682 * kDeg);
    EXPECT_DOUBLE_EQ(e.raan, 348.7242 * kDeg);
    EXPECT_DOUBLE_EQ(e.eccentricity, 0.1859667);
    EXPECT_DOUBLE_EQ(e.arg_perigee, 331.7664 * kDeg);
    EXPECT_DOUBLE_EQ(e.mean_anomaly, 19.3264 * kDeg);
    EXPECT_DOUBLE_EQ(e.mean_motion, 10.82419157 * kTwoPi / 1440.0);
    EXPECT_EQ(e.catnum, 5);
    EXPECT_EQ(e.elset_num, 475);
    EXPECT_EQ(e.rev_num, 41366);
    EXPECT_EQ(e.classification, 'U');
    EXPECT_EQ(e.ephem_type, '0');
    EXPECT_STREQ(e.intl_desig, "58002B  ");
    EXPECT_EQ(static_cast<unsigned char>(e.unused), 0xAB);  // the caller's padding

    ASSERT_EQ(parse(reference_sets::k88888.line1, reference_sets::k88888.line2, &e), 0);
    EXPECT_DOUBLE_EQ(e.nddot6, 0.13844e-3 * kTwoPi / (1440.0 * 1440.0 * 1440.0));
    ASSERT_EQ(parse(reference_sets::k21897.line1, reference_sets::k21897.line2, &e), 0);
    EXPECT_DOUBLE_EQ(e.bstar, -0.13525e-3);
}

TEST(ElementLines, EpochCenturyEccentricityAndBlankExponentField) {
    element_set e;
    ASSERT_GE(parse(with(kLine1, 19, "56001.00000000"), kLine2, &e), 0);
    EXPECT_DOUBLE_EQ(e.epoch, 2471998.5);  // 2056 January 1, 0h
    ASSERT_GE(parse(with(kLine1, 19, "57001.00000000"), kLine2, &e), 0);
    EXPECT_DOUBLE_EQ(e.epoch, 2435839.5);  // 1957 January 1, 0h
    ASSERT_GE(parse(with(kLine1, 19, "00001.00000000"), kLine2, &e), 0);
    EXPECT_DOUBLE_EQ(e.epoch, 2451544.5);
    ASSERT_GE(parse(kLine1, with(kLine2, 27, "0006703"), &e), 0);
    EXPECT_DOUBLE_EQ(e.eccentricity, 0.0006703);
    // A blank second column means zero, whatever the other columns hold.
    ASSERT_GE(parse(with(kLine1, 54, "- 9999-9"), kLine2, &e), 0);
    EXPECT_EQ(e.bstar, 0.0);
    EXPECT_FALSE(std::signbit(e.bstar));
}

TEST(ElementLines, ChecksumAndFormatOfOneLine) {
    const struct {
        std::string line;
        int result;
    } cases[] = {
        {kLine1, 0}, {kLine2, 0},
        // Column 64 is a blank: '+' and letters count nothing, '-' counts one.
        {with(kLine1, 64, '+'), 0}, {with(kLine1, 64, 'Z'), 0}, {with(kLine1, 64, '-'), 1},
        {with(kLine1, 64, '7'), 7}, {with(kLine2, 69, '8'), 9},
        {with(kLine1, 1, '3'), -1}, {with(kLine1, 2, '0'), -1}, {"", -1},
        {kLine1.substr(0, 68), -2}, {kLine1.substr(0, 30), -2}, {with(kLine1, 10, '\x80'), -2},
        {with(kLine1, 68, '{'), -2}, {with(kLine1, 30, '\t'), -2},
        // Column 70 may hold a blank, a control character or a high byte.
        {kLine1 + "X", -3}, {kLine1 + " trailing", 0}, {kLine1 + "\r\n", 0}, {kLine1 + "\xC3", 0},
        // The checksum alone accepts either line number.
        {with(kLine1, 1, '2'), 1},
    };
    for (const auto& c : cases) EXPECT_EQ(tle_checksum(c.line.c_str()), c.result) << c.line;
}

TEST(ElementLines, ChecksumMismatchesAreFlagsWithTheRecordFilled) {
    element_set good, bad;
    ASSERT_EQ(parse(kLine1, kLine2, &good), 0);
    EXPECT_EQ(parse(kLine1, with(kLine2, 69, '8'), &bad), 2);
    EXPECT_EQ(std::memcmp(&good, &bad, offsetof(element_set, unused)), 0);
    EXPECT_EQ(parse(with(kLine1, 69, '4'), kLine2, &bad), 1);
    EXPECT_EQ(parse(with(kLine1, 69, '4'), with(kLine2, 69, '8'), &bad), 3);
}

TEST(ElementLines, FormatErrorsLeaveTheRecordUntouched) {
    const struct {
        std::string line1, line2;
        int result;
    } cases[] = {
        {with(kLine1, 1, '2'), kLine2, -104}, {kLine1, with(kLine2, 1, '1'), -104},
        {with(kLine1, 2, 'x'), kLine2, -101}, {kLine1.substr(0, 68), kLine2, -102},
        {with(kLine1, 40, '\x80'), kLine2, -102}, {kLine1 + "!", kLine2, -103},
        {kLine1, with(kLine2, 2, 'x'), -1}, {kLine1, kLine2.substr(0, 50), -2}, {kLine1, kLine2 + "9", -3},
        // The line numbers are looked at first, then line 1, then line 2.
        {kLine1.substr(0, 30), with(kLine2, 1, '1'), -104}, {with(kLine1, 2, 'x'), kLine2.substr(0, 50), -101},
    };
    for (const auto& c : cases) {
        element_set e, before;
        std::memset(&e, 0x5A, sizeof e);
        before = e;
        EXPECT_EQ(parse(c.line1, c.line2, &e), c.result) << c.line1 << " / " << c.line2;
        EXPECT_EQ(std::memcmp(&e, &before, sizeof e), 0) << c.result;
    }
}

// line 1 with another catalogue number in columns 3-7, checksum made right.
std::string with_catalogue_number(const char* number) {
    std::string line = with(with(kLine1, 3, number), 69, '0');
    return with(line, 69, static_cast<char>('0' + tle_checksum(line.c_str())));
}

TEST(ElementLines, FiveCharacterCatalogueNumbers) {
    const struct {
        const char* text;
        int32_t number;
    } numbers[] = {{"00005", 5}, {"A0000", 100000}, {"A0001", 100001}, {"H9999", 179999},
                   {"J0000", 180000}, {"P0000", 230000}, {"Z9999", 339999}};
    for (const auto& n : numbers) {
        element_set e;
        ASSERT_EQ(parse(with_catalogue_number(n.text), kLine2, &e), 0) << n.text;
        EXPECT_EQ(e.catnum, n.number) << n.text;
    }
    // I and O are not used, lower case is no number, and a letter goes only
    // first: format errors, the record untouched.
    for (const char* text : {"I0001", "O0001", "a0001", "0A001", "A000B", "AB001"}) {
        element_set e, before;
        std::memset(&e, 0x5A, sizeof e);
        before = e;
        EXPECT_EQ(parse(with_catalogue_number(text), kLine2, &e), -102) << text;
        EXPECT_EQ(std::memcmp(&e, &before, sizeof e), 0) << text;
    }
}

TEST(ElementLines, NumbersIgnoreACommaDecimalLocale) {
    element_set expected, e;
    ASSERT_EQ(parse(kLine1, kLine2, &expected), 0);
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "locale de_DE.UTF-8 is not installed";
    const bool comma = std::localeconv()->decimal_point[0] == ',';
    const int result = parse(kLine1, kLine2, &e);
    std::setlocale(LC_ALL, previous.c_str());
    ASSERT_TRUE(comma);
    ASSERT_EQ(result, 0);
    EXPECT_EQ(std::memcmp(&e, &expected, offsetof(element_set, unused)), 0);
}

}  // namespace
