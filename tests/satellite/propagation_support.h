// Small helpers shared by the propagation tests.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "satellite.h"
#include "reference_element_sets.h"

inline element_set parse_set(const ElementLines& lines) {
    element_set elements{};
    EXPECT_GE(parse_elements(lines.line1, lines.line2, &elements), 0) << lines.line1;
    return elements;
}

struct Xyz {
    double x, y, z;
};

// Length of the difference between a result vector and an expected one.
inline double difference(const Vec4& v, const Xyz& expected) {
    return std::hypot(v.x - expected.x, v.y - expected.y, v.z - expected.z);
}

inline bool is_zero(const Vec4& v) { return v.x == 0.0 && v.y == 0.0 && v.z == 0.0 && v.w == 0.0; }

inline bool same_bits(const Vec4& a, const Vec4& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The fourth word must carry the length of the first three.
inline void expect_length_word(const Vec4& v) {
    EXPECT_NEAR(v.w, std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z), 1e-12 * v.w);
}

// One instant of an independent propagation of a reference set.
struct ReferencePosition {
    ElementLines set;
    double minutes;
    Xyz position;  // km
};

// One instant of the published test cases of the model's report.
struct ReportState {
    double minutes;
    Xyz position;  // km
    Xyz velocity;  // km/s
};
