#include <gtest/gtest.h>

#include <cmath>

#include "satellite.h"
#include "propagation_support.h"

namespace {

Vec4 vec(double x, double y, double z) { return {x, y, z, std::sqrt(x * x + y * y + z * z)}; }
Vec4 scaled(const Vec4& v, double k) { return vec(k * v.x, k * v.y, k * v.z); }
Vec4 sum(const Vec4& a, const Vec4& b) { return vec(a.x + b.x, a.y + b.y, a.z + b.z); }
double dot(const Vec4& a, const Vec4& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// A satellite over the x axis moving along y: the orbit normal is z and the
// zenith x. Panel 1 faces forward, tilted 40 degrees toward the Earth (with
// the tilt's sine and cosine as the panel model fixes them).
const Vec4 kSatellite = vec(7000.0, 0.0, 0.0);
const Vec4 kVelocity = vec(0.0, 7.5, 0.0);
const Vec4 kPanel1Normal = vec(-0.6427876096865, 0.7660444431189, 0.0);
constexpr double kSunDistance = 1.496e8;

struct Flare {
    Vec4 reflection{-1.0, -1.0, -1.0, -1.0};
    double angle = -1.0;
    int32_t panel = -1;
};

Flare evaluate(const Vec4& observer, const Vec4& sun, int32_t which) {
    Flare f;
    iridiumcalc(&observer, &kSatellite, &kVelocity, &sun, &f.reflection, &f.angle, &f.panel, which);
    return f;
}

// Sun in the given direction from the satellite; the observer where the
// mirror law sends its light off panel 1.
struct Geometry {
    Vec4 sun, observer, ray;
};

Geometry exact_reflection_off_panel1(const Vec4& toward_sun, double observer_distance) {
    const Vec4 incoming = scaled(toward_sun, -1.0 / toward_sun.w);
    const Vec4 ray = sum(incoming, scaled(kPanel1Normal, -2.0 * dot(incoming, kPanel1Normal)));
    return {sum(kSatellite, scaled(incoming, -kSunDistance)), sum(kSatellite, scaled(ray, observer_distance)), ray};
}

TEST(MirrorFlare, ExactReflectionGivesAngleZeroOnThatPanel) {
    // Several geometries, so that rounding carries some cosines past 1.
    for (const Vec4& toward_sun : {vec(0.2, 1.0, 0.3), vec(-0.1, 1.0, -0.5), vec(0.5, 0.7, 0.1)}) {
        for (double distance : {800.0, 1000.0, 1234.5, 2000.0, 3333.3}) {
            const Geometry g = exact_reflection_off_panel1(toward_sun, distance);
            const Flare best = evaluate(g.observer, g.sun, 0);
            EXPECT_EQ(best.panel, 1);
            EXPECT_NEAR(best.angle, 0.0, 1e-5) << distance;
            const Flare one = evaluate(g.observer, g.sun, 1);
            EXPECT_NEAR(one.angle, 0.0, 1e-5);
            EXPECT_EQ(one.panel, -1);  // a single panel leaves the panel output alone
            EXPECT_NEAR(dot(one.reflection, g.ray) / (one.reflection.w * g.ray.w), 1.0, 1e-12);
            expect_length_word(one.reflection);
        }
    }
}

TEST(MirrorFlare, WhichSelectsPanelsAndBestKeepsTheLowestAngle) {
    const Geometry g = exact_reflection_off_panel1(vec(0.2, 1.0, 0.3), 1000.0);
    const Vec4 observer = sum(g.observer, vec(0.0, 0.0, 300.0));  // every angle positive
    double lowest = 1e9;
    int32_t lowest_panel = 0;
    for (int32_t p = 1; p <= 3; ++p) {
        const Flare single = evaluate(observer, g.sun, p);
        EXPECT_GT(single.angle, 0.0);
        if (single.angle < lowest) lowest = single.angle, lowest_panel = p;
    }
    const Flare best = evaluate(observer, g.sun, 0);
    EXPECT_EQ(best.angle, lowest);
    EXPECT_EQ(best.panel, lowest_panel);
    for (int32_t which : {-1, 4}) {
        const Flare none = evaluate(observer, g.sun, which);
        EXPECT_TRUE(none.angle == -1.0 && none.panel == -1 && none.reflection.w == -1.0);
    }
}

TEST(MirrorFlare, PanelsAwayFromTheSunAndTies) {
    // The Sun straight above the satellite lights only the panels' backs.
    Flare f = evaluate(vec(6378.0, 0.0, 0.0), sum(kSatellite, vec(kSunDistance, 0.0, 0.0)), 0);
    EXPECT_EQ(f.angle, 180.0);
    EXPECT_EQ(f.panel, 1);
    EXPECT_EQ(f.reflection.w, -1.0);
    // Sun behind the satellite, observer in the orbit plane: panel 1 faces
    // away, panels 2 and 3 mirror each other and tie; the lower one wins.
    f = evaluate(vec(6000.0, -2000.0, 0.0), vec(7000.0, -kSunDistance, 0.0), 0);
    EXPECT_LT(f.angle, 180.0);
    EXPECT_EQ(f.panel, 2);
}

TEST(MirrorFlare, RayMeetsTheSphereAndOutputMayAliasInputs) {
    const Vec4 origin = vec(7000.0, 0.0, 0.0);
    const Vec4 direction = vec(-1.0, 0.1, 0.05);
    Vec4 point;
    double distance = 0.0;
    ASSERT_TRUE(iridtrkvect(&direction, &origin, &point, 6378.0, &distance));
    EXPECT_NEAR(point.w, 6378.0, 1e-9);
    expect_length_word(point);
    const Vec4 expected = sum(origin, scaled(direction, distance / direction.w));
    EXPECT_LT(difference(point, {expected.x, expected.y, expected.z}), 1e-9);

    for (bool shared_is_direction : {true, false}) {
        Vec4 shared = shared_is_direction ? direction : origin;
        double shared_distance = 0.0;
        ASSERT_TRUE(iridtrkvect(shared_is_direction ? &shared : &direction, shared_is_direction ? &origin : &shared,
                                &shared, 6378.0, &shared_distance));
        EXPECT_TRUE(same_bits(shared, point));
        EXPECT_EQ(shared_distance, distance);
    }
}

TEST(MirrorFlare, RayAimedAtTheCentreHitsStraightBelow) {
    // Origins for which rounding carries the cosine of 0 degrees past 1.
    for (const Vec4& origin : {vec(4196.5, -7966.3, -873.8), vec(3544.6, -4339.8, 7124.3), vec(662.6, 7026.4, -1900.7)}) {
        const Vec4 direction = scaled(origin, -0.37);
        Vec4 point;
        double distance = 0.0;
        ASSERT_TRUE(iridtrkvect(&direction, &origin, &point, 6378.0, &distance));
        EXPECT_NEAR(distance, origin.w - 6378.0, 1e-6);
        EXPECT_NEAR(point.w, 6378.0, 1e-6);
    }
}

TEST(MirrorFlare, RayMissingOrHeadingAway) {
    const Vec4 origin = vec(7000.0, 0.0, 0.0);
    // Passing beside the Earth: the closest approach to the centre.
    const Vec4 beside = vec(-0.1, 1.0, 0.0);
    Vec4 point;
    double distance = 0.0;
    ASSERT_TRUE(iridtrkvect(&beside, &origin, &point, 6378.0, &distance));
    EXPECT_GT(point.w, 6378.0);
    EXPECT_NEAR(dot(point, beside), 0.0, 1e-6);  // perpendicular to the ray there
    // Pointing outward or sideways: false, outputs untouched.
    for (const Vec4& away : {vec(1.0, 0.3, 0.0), vec(0.0, 1.0, 0.0)}) {
        Vec4 untouched{1.0, 2.0, 3.0, 4.0};
        double unchanged = 42.0;
        EXPECT_FALSE(iridtrkvect(&away, &origin, &untouched, 6378.0, &unchanged));
        EXPECT_TRUE(untouched.w == 4.0 && unchanged == 42.0);
    }
}

}  // namespace
