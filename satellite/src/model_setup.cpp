// Initialisation shared by SGP4_init and SDP4_init.
#include <cmath>

#include "model_constants.h"
#include "model_setup.h"

namespace satellite {

MeanMotion recover_mean_motion(const element_set& elements) {
    MeanMotion m;
    const double n = elements.mean_motion;
    const double a1 = std::pow(kXke / n, kTwoThirds);
    m.cosio = std::cos(elements.inclination);
    m.theta2 = m.cosio * m.cosio;
    m.x3thm1 = 3.0 * m.theta2 - 1.0;
    m.eosq = elements.eccentricity * elements.eccentricity;
    m.betao2 = 1.0 - m.eosq;
    m.betao = std::sqrt(m.betao2);
    const double factor = 1.5 * kCk2 * m.x3thm1 / (m.betao * m.betao2);
    const double del1 = factor / (a1 * a1);
    const double ao = a1 * (1.0 - del1 * (0.5 * kTwoThirds + del1 * (1.0 + 1.654320987654321 * del1)));
    const double delo = factor / (ao * ao);
    m.xnodp = n / (1.0 + delo);
    m.aodp = ao / (1.0 - delo);
    return m;
}

ModelBasics init_model_basics(const element_set& elements) {
    ModelBasics b;
    b.mm = recover_mean_motion(elements);
    const MeanMotion& m = b.mm;
    const double eo = elements.eccentricity;

    // Low perigees get a lower atmosphere reference height.
    b.s4 = kS;
    double qoms24 = kQoms2t;
    const double perigee = ((1.0 - eo) * m.aodp - 1.0) * kXkmper;
    if (perigee < 156.0) {
        const double sstar = perigee <= 98.0 ? 20.0 : perigee - 78.0;
        qoms24 = std::pow((120.0 - sstar) / kXkmper, 4.0);
        b.s4 = sstar / kXkmper + 1.0;
    }

    const double pinvsq = 1.0 / (m.aodp * m.aodp * m.betao2 * m.betao2);
    b.tsi = 1.0 / (m.aodp - b.s4);
    b.eta = m.aodp * eo * b.tsi;
    b.etasq = b.eta * b.eta;
    b.eeta = eo * b.eta;
    const double psisq = std::fabs(1.0 - b.etasq);
    b.coef = qoms24 * std::pow(b.tsi, 4.0);
    b.coef1 = b.coef / std::pow(psisq, 3.5);
    b.c2 = b.coef1 * m.xnodp *
           (m.aodp * (1.0 + 1.5 * b.etasq + b.eeta * (4.0 + b.etasq)) +
            0.75 * kCk2 * b.tsi / psisq * m.x3thm1 * (8.0 + 3.0 * b.etasq * (8.0 + b.etasq)));
    b.c1 = elements.bstar * b.c2;
    b.sinio = std::sin(elements.inclination);
    const double x1mth2 = 1.0 - m.theta2;
    b.c4 = 2.0 * m.xnodp * b.coef1 * m.aodp * m.betao2 *
           (b.eta * (2.0 + 0.5 * b.etasq) + eo * (0.5 + 2.0 * b.etasq) -
            2.0 * kCk2 * b.tsi / (m.aodp * psisq) *
                (-3.0 * m.x3thm1 * (1.0 - 2.0 * b.eeta + b.etasq * (1.5 - 0.5 * b.eeta)) +
                 0.75 * x1mth2 * (2.0 * b.etasq - b.eeta * (1.0 + b.etasq)) *
                     std::cos(2.0 * elements.arg_perigee)));

    const double theta4 = m.theta2 * m.theta2;
    const double temp1 = 3.0 * kCk2 * pinvsq * m.xnodp;
    const double temp2 = temp1 * kCk2 * pinvsq;
    const double temp3 = 1.25 * kCk4 * pinvsq * pinvsq * m.xnodp;
    b.xmdot = m.xnodp + 0.5 * temp1 * m.betao * m.x3thm1 +
              0.0625 * temp2 * m.betao * (13.0 - 78.0 * m.theta2 + 137.0 * theta4);
    const double x1m5th = 1.0 - 5.0 * m.theta2;
    b.omgdot = -0.5 * temp1 * x1m5th + 0.0625 * temp2 * (7.0 - 114.0 * m.theta2 + 395.0 * theta4) +
               temp3 * (3.0 - 36.0 * m.theta2 + 49.0 * theta4);
    const double xhdot1 = -temp1 * m.cosio;
    b.xnodot = xhdot1 + (0.5 * temp2 * (4.0 - 19.0 * m.theta2) + 2.0 * temp3 * (3.0 - 7.0 * m.theta2)) * m.cosio;
    b.xnodcf = 3.5 * m.betao2 * xhdot1 * b.c1;
    b.t2cof = 1.5 * b.c1;
    return b;
}

}  // namespace satellite
