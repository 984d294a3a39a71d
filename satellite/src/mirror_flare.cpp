// Iridium mirror flares: how close the Sun's reflection off one of the three
// main mission antenna panels comes to the observer, and where a reflected
// ray meets a sphere around the Earth's centre.
#include <cmath>

#include "satellite.h"

namespace {

struct V3 {
    double x, y, z;
};

V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 operator*(double k, V3 a) { return {k * a.x, k * a.y, k * a.z}; }
double dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V3 cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double length(V3 a) { return std::sqrt(dot(a, a)); }
V3 unit(V3 a) { return (1.0 / length(a)) * a; }
V3 xyz(const Vec4& v) { return {v.x, v.y, v.z}; }

// Panel normals lean 40 degrees out of the plane of velocity and orbit
// normal, toward the Earth.
constexpr double kCosTilt = 0.7660444431189;
constexpr double kSinTilt = 0.6427876096865;
// Azimuth of each panel's normal from the velocity direction.
constexpr double kPanelAzimuth[4] = {0.0, 0.0, 2.09439510239, -2.09439510239};

constexpr double kDegreesPerRadian = 57.29577951308232;

}  // namespace

extern "C" {

void iridiumcalc(const Vec4* observer, const Vec4* sat_position, const Vec4* sat_velocity,
                 const Vec4* sun, Vec4* reflection, double* angle, int32_t* panel, int32_t which) {
    if (which < 0 || which > 3) return;
    const V3 s = xyz(*sat_position) - xyz(*sun);  // incoming light
    const V3 q = xyz(*observer) - xyz(*sat_position);
    const double q_length = length(q);

    // Frame of the satellite's motion: along-track, orbit normal, and the
    // third axis pointing away from the Earth.
    const V3 v = (1.0 / sat_velocity->w) * xyz(*sat_velocity);
    const V3 h = unit(cross(xyz(*sat_position), xyz(*sat_velocity)));
    const V3 u = unit(cross(v, h));

    const int first = which == 0 ? 1 : which;
    const int last = which == 0 ? 3 : which;
    double best_angle = 0.0;
    int32_t best_panel = 0;
    for (int p = first; p <= last; ++p) {
        const double ca = std::cos(kPanelAzimuth[p]);
        const double sa = std::sin(kPanelAzimuth[p]);
        const V3 along = ca * v - sa * h;
        const V3 n = kCosTilt * along - kSinTilt * u;
        const V3 e2 = ca * h + sa * v;
        const V3 e3 = kSinTilt * along + kCosTilt * u;
        const double sn = dot(s, n);
        double panel_angle = 180.0;
        if (sn <= 0.0) {  // the panel faces the Sun
            const V3 r = -sn * n + dot(s, e2) * e2 + dot(s, e3) * e3;
            const double r_length = length(r);
            *reflection = Vec4{r.x, r.y, r.z, r_length};
            // Rounding can carry the cosine of an exact reflection just past
            // 1, where acos has no value.
            const double c = std::fmin(1.0, std::fmax(-1.0, dot(q, r) / (q_length * r_length)));
            panel_angle = std::acos(c) * kDegreesPerRadian;
        }
        if (p == first || panel_angle < best_angle) {
            best_angle = panel_angle;
            best_panel = p;
        }
    }
    *angle = best_angle;
    if (which == 0) *panel = best_panel;
}

bool iridtrkvect(const Vec4* direction, const Vec4* origin, Vec4* point, double radius, double* distance) {
    // Everything the result needs is read before the first write, because
    // the point may be the direction or the origin itself.
    const V3 d = xyz(*direction);
    const V3 o = xyz(*origin);
    const double d_length = direction->w;
    const double b = origin->w;
    // Clamped like the reflection angle: a ray aimed straight at the centre
    // must not lose its cosine of 1 to rounding.
    const double theta = std::acos(std::fmin(1.0, std::fmax(-1.0, dot(-1.0 * d, o) / (b * d_length))));
    if (!(theta < 1.5707963267948966)) return false;  // heading away from the sphere's side

    double w = b * std::sin(theta) / radius;
    if (w >= 1.0) w = 1.0;  // a miss: the closest approach to the centre
    const double dist = b * std::cos(theta) - radius * std::cos(std::asin(w));
    *distance = dist;
    const V3 p = o + (dist / d_length) * d;
    *point = Vec4{p.x, p.y, p.z, length(p)};
    return true;
}

}  // extern "C"
