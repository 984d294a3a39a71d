// Initialisation steps shared by the near-earth and deep-space models, and
// the position and velocity routine both of them end in.
#pragma once

#include "satellite.h"

namespace satellite {

// The model's mean motion and semi-major axis recovered from the element
// mean motion (the elements carry the Kozai mean motion).
struct MeanMotion {
    double cosio, theta2, x3thm1;
    double eosq, betao2, betao;
    double xnodp;  // rad/min
    double aodp;   // Earth radii
};
MeanMotion recover_mean_motion(const element_set& elements);

// Everything the two models' initialisations compute alike: drag
// coefficients and secular rates.
struct ModelBasics {
    MeanMotion mm;
    double sinio;
    double s4, tsi, eta, etasq, eeta, coef, coef1;
    double c2, c1, c4;
    double xmdot, omgdot, xnodot, xnodcf, t2cof;
};
ModelBasics init_model_basics(const element_set& elements);

// Writes the words that sgp4_params and sdp4_params hold at the same place.
template <typename Params>
void store_model_basics(Params& p, const ModelBasics& b) {
    p.c2 = b.c2;
    p.c1 = b.c1;
    p.c4 = b.c4;
    p.xnodcf = b.xnodcf;
    p.t2cof = b.t2cof;
    p.aodp = b.mm.aodp;
    p.cosio = b.mm.cosio;
    p.sinio = b.sinio;
    p.omgdot = b.omgdot;
    p.xmdot = b.xmdot;
    p.xnodot = b.xnodot;
    p.xnodp = b.mm.xnodp;
}

// Mean elements after the secular (and, for deep space, lunar-solar) update.
struct MeanState {
    double a;      // semi-major axis, Earth radii; negative once drag ran its course
    double e;
    double cosi, sini;  // of the inclination
    double omega;  // argument of perigee
    double xl;     // mean longitude
    double xnode;
};

// Long- and short-period periodics, Kepler's equation and the orientation
// vectors: position in km, velocity (when asked for) in km/s, each with its
// length. Returns 0, -1, -2 (vectors zeroed) or -4 (vectors valid).
int position_velocity(const MeanState& state, Vec4* position, Vec4* velocity);

// Zeroes the position and, when present, the velocity; returns code.
int propagation_failure(int code, Vec4* position, Vec4* velocity);

}  // namespace satellite
