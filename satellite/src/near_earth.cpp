// SGP4: the near-earth model (period below 225 minutes).
#include <cmath>

#include "model_constants.h"
#include "model_setup.h"

using namespace satellite;

extern "C" {

void SGP4_init(sgp4_params* p, const element_set* elements) {
    const ModelBasics b = init_model_basics(*elements);
    store_model_basics(*p, b);
    const double eo = elements->eccentricity;
    const double aodp = b.mm.aodp;

    p->eta = b.eta;
    p->c5 = 2.0 * b.coef1 * aodp * b.mm.betao2 * (1.0 + 2.75 * (b.etasq + b.eeta) + b.eeta * b.etasq);

    // Perigee below 220 km: drag truncated to linear variation in sqrt(a)
    // and quadratic in mean anomaly; the higher-order words are then unused.
    p->isimp = (1.0 - eo) * aodp < 1.034492841559484 ? 1 : 0;
    if (p->isimp) return;

    const double bstar = elements->bstar;
    // The C3 term divides by e0; nearly circular orbits go without it.
    if (eo < 1e-4) {
        p->omgcof = 0.0;
        p->xmcof = 0.0;
    } else {
        const double c3 = b.coef * b.tsi * kA3ovk2 * b.mm.xnodp * b.sinio / eo;
        p->omgcof = bstar * c3 * std::cos(elements->arg_perigee);
        p->xmcof = -kTwoThirds * b.coef * bstar / b.eeta;
    }
    const double delmo = 1.0 + b.eta * std::cos(elements->mean_anomaly);
    p->delmo = delmo * delmo * delmo;
    p->sinmo = std::sin(elements->mean_anomaly);

    const double c1 = b.c1;
    const double c1sq = c1 * c1;
    p->d2 = 4.0 * aodp * b.tsi * c1sq;
    const double temp = p->d2 * b.tsi * c1 / 3.0;
    p->d3 = (17.0 * aodp + b.s4) * temp;
    p->d4 = 0.5 * temp * aodp * b.tsi * (221.0 * aodp + 31.0 * b.s4) * c1;
    p->t3cof = p->d2 + 2.0 * c1sq;
    p->t4cof = 0.25 * (3.0 * p->d3 + c1 * (12.0 * p->d2 + 10.0 * c1sq));
    p->t5cof = 0.2 * (3.0 * p->d4 + 12.0 * c1 * p->d3 + 6.0 * p->d2 * p->d2 + 15.0 * c1sq * (2.0 * p->d2 + c1sq));
}

int SGP4(double t, const element_set* elements, const sgp4_params* p, Vec4* position, Vec4* velocity) {
    // Secular gravity and drag.
    const double xmdf = elements->mean_anomaly + p->xmdot * t;
    const double omgadf = elements->arg_perigee + p->omgdot * t;
    const double tsq = t * t;
    const double xnode = elements->raan + p->xnodot * t + p->xnodcf * tsq;
    double omega = omgadf;
    double xmp = xmdf;
    double tempa = 1.0 - p->c1 * t;
    double tempe = elements->bstar * p->c4 * t;
    double templ = p->t2cof * tsq;
    if (p->isimp == 0) {
        const double delomg = p->omgcof * t;
        const double cube = 1.0 + p->eta * std::cos(xmdf);
        const double delm = p->xmcof * (cube * cube * cube - p->delmo);
        const double temp = delomg + delm;
        xmp = xmdf + temp;
        omega = omgadf - temp;
        const double tcube = tsq * t;
        const double tfour = t * tcube;
        tempa = tempa - p->d2 * tsq - p->d3 * tcube - p->d4 * tfour;
        tempe += elements->bstar * p->c5 * (std::sin(xmp) - p->sinmo);
        templ += p->t3cof * tcube + tfour * (p->t4cof + t * p->t5cof);
    }
    MeanState s;
    // Negative once drag has run its course, which the position routine reports.
    s.a = p->aodp * tempa * tempa;
    if (tempa < 0.0) s.a = -s.a;
    s.e = elements->eccentricity - tempe;
    if (s.e < 1e-6) s.e = 1e-6;
    s.cosi = p->cosio;
    s.sini = p->sinio;
    s.omega = omega;
    s.xl = xmp + omega + xnode + p->xnodp * templ;
    s.xnode = xnode;
    return position_velocity(s, position, velocity);
}

}  // extern "C"
