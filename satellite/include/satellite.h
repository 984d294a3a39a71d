/* Satellite: two-line element parsing, SGP4/SDP4 propagation and Iridium
 * mirror-flare geometry. Plain C interface over caller-owned memory: the
 * library allocates nothing and keeps no state between calls.
 *
 * The records below are stored whole inside the program's satellite set
 * files, so every size and offset is fixed and checked at compile time. */
#ifndef SATELLITE_H
#define SATELLITE_H

#include <stddef.h>
#include <stdint.h>
#ifndef __cplusplus
#include <stdbool.h>
#endif

#if defined(SATELLITE_BUILDING)
#define SATELLITE_API __attribute__((visibility("default")))
#else
#define SATELLITE_API
#endif

#ifdef __cplusplus
#define SATELLITE_STATIC_ASSERT(condition, message) static_assert(condition, message)
#else
#define SATELLITE_STATIC_ASSERT(condition, message) _Static_assert(condition, message)
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* x, y, z and the vector's length; km or km/s. Every producer writes the
 * length, and consumers may read it instead of recomputing it. */
typedef struct Vec4 {
    double x, y, z, w;
} Vec4;

/* One parsed two-line element set (104 bytes, little-endian). */
typedef struct element_set {
    double epoch;        /* Julian date (UTC) */
    double ndot2;        /* first derivative of mean motion / 2, rad/min^2 */
    double nddot6;       /* second derivative of mean motion / 6, rad/min^3 */
    double bstar;        /* B* drag term, per Earth radius */
    double inclination;  /* rad */
    double raan;         /* right ascension of the ascending node, rad */
    double eccentricity;
    double arg_perigee;  /* rad */
    double mean_anomaly; /* rad */
    double mean_motion;  /* rad/min */
    int32_t catnum;
    int32_t elset_num;
    int32_t rev_num;
    char classification;
    char ephem_type;
    char intl_desig[9];  /* 8 characters as written, then a NUL */
    char unused;         /* never written by parse_elements */
} element_set;

/* Near-earth model work array: 30 words of 8 bytes, filled by SGP4_init and
 * only read by SGP4. Words 0-5 and 10-16 have the same meaning and position
 * in sdp4_params. */
typedef struct sgp4_params {
    double c2;          /*  0 */
    double unused1;     /*  1 */
    double c1;          /*  2: BSTAR * C2 */
    double c4;          /*  3: without the BSTAR factor */
    double xnodcf;      /*  4 */
    double t2cof;       /*  5: 1.5 * C1 */
    double unused6[4];  /*  6-9 */
    double aodp;        /* 10: semi-major axis, Earth radii */
    double cosio;       /* 11 */
    double sinio;       /* 12 */
    double omgdot;      /* 13: rad/min */
    double xmdot;       /* 14: rad/min */
    double xnodot;      /* 15: rad/min */
    double xnodp;       /* 16: mean motion, rad/min */
    double c5;          /* 17 */
    double d2;          /* 18 */
    double d3;          /* 19 */
    double d4;          /* 20 */
    double delmo;       /* 21 */
    double eta;         /* 22 */
    double omgcof;      /* 23 */
    double sinmo;       /* 24 */
    double t3cof;       /* 25 */
    double t4cof;       /* 26 */
    double t5cof;       /* 27 */
    double xmcof;       /* 28: mean-anomaly drag coefficient */
    int32_t isimp;      /* 29: 1 simplified drag, 0 full */
    int32_t unused29;
} sgp4_params;

/* Deep-space model work array: 776 bytes (97 words), filled by SDP4_init and
 * updated by every SDP4 call (integrator, periodics cache, working values).
 * No pointers: a record copied whole keeps propagating. */
typedef struct sdp4_params {
    /* words 0-16: as in sgp4_params */
    double c2;          /*  0 */
    double unused1;     /*  1 */
    double c1;          /*  2 */
    double c4;          /*  3 */
    double xnodcf;      /*  4 */
    double t2cof;       /*  5 */
    double unused6[4];  /*  6-9 */
    double aodp;        /* 10 */
    double cosio;       /* 11 */
    double sinio;       /* 12 */
    double omgdot;      /* 13 */
    double xmdot;       /* 14 */
    double xnodot;      /* 15 */
    double xnodp;       /* 16 */
    double eosq;        /* 17: epoch eccentricity squared */
    double betao;       /* 18: sqrt(1 - e0^2) */
    double theta2;      /* 19: cos^2 i0 */
    double betao2;      /* 20: 1 - e0^2 */
    double sinomo;      /* 21: sin of the epoch argument of perigee */
    double cosomo;      /* 22 */
    /* epoch values taken at initialisation */
    double thgr;        /* 23: Greenwich sidereal angle at epoch, rad */
    double xqncl;       /* 24: inclination */
    double eqo;         /* 25: eccentricity */
    double omegaq;      /* 26: argument of perigee */
    /* lunar-solar secular rates, per minute */
    double sse, ssi, ssl, ssg, ssh;                  /* 27-31 */
    /* solar periodic coefficients */
    double se2, se3, si2, si3, sl2, sl3, sl4;        /* 32-38 */
    double sgh2, sgh3, sgh4, sh2, sh3;               /* 39-43 */
    /* lunar periodic coefficients */
    double ee2, e3, xi2, xi3, xl2, xl3, xl4;         /* 44-50 */
    double xgh2, xgh3, xgh4, xh2, xh3;               /* 51-55 */
    double zmos;        /* 56: solar mean anomaly at epoch */
    double zmol;        /* 57: lunar mean anomaly at epoch */
    int32_t iresfl;     /* 58: 1 when a resonance is integrated */
    int32_t isynfl;     /* 58: 1 one-day, 0 half-day resonance */
    double del1, del2, del3;                         /* 59-61: one-day */
    double d2201, d2211, d3210, d3222, d4410;        /* 62-66: half-day */
    double d4422, d5220, d5232, d5421, d5433;        /* 67-71 */
    double xlamo;       /* 72 */
    double xfact;       /* 73 */
    double xnq;         /* 74 */
    /* integrator state */
    double xli;         /* 75 */
    double xni;         /* 76 */
    double atime;       /* 77: minutes since epoch */
    /* periodics cache */
    double savtsn;      /* 78: time of the last evaluation (1e20: none) */
    double pe, pinc, pl, pgh, ph;                    /* 79-83 */
    /* working values of the last call */
    double xn;          /* 84: mean motion, rad/min */
    double em;          /* 85: eccentricity */
    double xinc;        /* 86: inclination */
    double omgadf;      /* 87: argument of perigee */
    double xnode;       /* 88: node */
    double xmam;        /* 89: mean anomaly */
    double unused90[7]; /* 90-96 */
} sdp4_params;

SATELLITE_STATIC_ASSERT(sizeof(Vec4) == 32, "Vec4 is four doubles");

SATELLITE_STATIC_ASSERT(sizeof(element_set) == 104, "element_set size");
SATELLITE_STATIC_ASSERT(offsetof(element_set, epoch) == 0, "epoch offset");
SATELLITE_STATIC_ASSERT(offsetof(element_set, ndot2) == 8, "ndot2 offset");
SATELLITE_STATIC_ASSERT(offsetof(element_set, nddot6) == 16, "nddot6 offset");
SATELLITE_STATIC_ASSERT(offsetof(element_set, bstar) == 24, "bstar offset");
SATELLITE_STATIC_ASSERT(offsetof(element_set, inclination) == 32, "inclination offset");
SATELLITE_STATIC_ASSERT(offsetof(element_set, raan) == 40, "raan offset");
SATELLITE_STATIC_ASSERT(offsetof(element_set, eccentricity) == 48, "eccentricity offset");
SATELLITE_STATIC_ASSERT(offsetof(element_set, arg_perigee) == 56, "arg_perigee offset");
SATELLITE_STATIC_ASSERT(offsetof(element_set, mean_anomaly) == 64, "mean_anomaly offset");
SATELLITE_STATIC_ASSERT(offsetof(element_set, mean_motion) == 72, "mean_motion offset");
SATELLITE_STATIC_ASSERT(offsetof(element_set, catnum) == 80, "catnum offset");
SATELLITE_STATIC_ASSERT(offsetof(element_set, elset_num) == 84, "elset_num offset");
SATELLITE_STATIC_ASSERT(offsetof(element_set, rev_num) == 88, "rev_num offset");
SATELLITE_STATIC_ASSERT(offsetof(element_set, classification) == 92, "classification offset");
SATELLITE_STATIC_ASSERT(offsetof(element_set, ephem_type) == 93, "ephem_type offset");
SATELLITE_STATIC_ASSERT(offsetof(element_set, intl_desig) == 94, "intl_desig offset");
SATELLITE_STATIC_ASSERT(offsetof(element_set, unused) == 103, "element_set padding");

SATELLITE_STATIC_ASSERT(sizeof(sgp4_params) == 240, "sgp4_params is 30 words");
SATELLITE_STATIC_ASSERT(offsetof(sgp4_params, c2) == 0, "C2 word");
SATELLITE_STATIC_ASSERT(offsetof(sgp4_params, c1) == 16, "C1 word");
SATELLITE_STATIC_ASSERT(offsetof(sgp4_params, c4) == 24, "C4 word");
SATELLITE_STATIC_ASSERT(offsetof(sgp4_params, xnodcf) == 32, "XNODCF word");
SATELLITE_STATIC_ASSERT(offsetof(sgp4_params, t2cof) == 40, "T2COF word");
SATELLITE_STATIC_ASSERT(offsetof(sgp4_params, aodp) == 80, "AODP word");
SATELLITE_STATIC_ASSERT(offsetof(sgp4_params, cosio) == 88, "COSIO word");
SATELLITE_STATIC_ASSERT(offsetof(sgp4_params, sinio) == 96, "SINIO word");
SATELLITE_STATIC_ASSERT(offsetof(sgp4_params, omgdot) == 104, "OMGDOT word");
SATELLITE_STATIC_ASSERT(offsetof(sgp4_params, xmdot) == 112, "XMDOT word");
SATELLITE_STATIC_ASSERT(offsetof(sgp4_params, xnodot) == 120, "XNODOT word");
SATELLITE_STATIC_ASSERT(offsetof(sgp4_params, xnodp) == 128, "XNODP word");
SATELLITE_STATIC_ASSERT(offsetof(sgp4_params, c5) == 136, "C5 word");
SATELLITE_STATIC_ASSERT(offsetof(sgp4_params, d2) == 144, "D2 word");
SATELLITE_STATIC_ASSERT(offsetof(sgp4_params, d3) == 152, "D3 word");
SATELLITE_STATIC_ASSERT(offsetof(sgp4_params, d4) == 160, "D4 word");
SATELLITE_STATIC_ASSERT(offsetof(sgp4_params, delmo) == 168, "DELMO word");
SATELLITE_STATIC_ASSERT(offsetof(sgp4_params, eta) == 176, "ETA word");
SATELLITE_STATIC_ASSERT(offsetof(sgp4_params, omgcof) == 184, "OMGCOF word");
SATELLITE_STATIC_ASSERT(offsetof(sgp4_params, sinmo) == 192, "SINMO word");
SATELLITE_STATIC_ASSERT(offsetof(sgp4_params, t3cof) == 200, "T3COF word");
SATELLITE_STATIC_ASSERT(offsetof(sgp4_params, t4cof) == 208, "T4COF word");
SATELLITE_STATIC_ASSERT(offsetof(sgp4_params, t5cof) == 216, "T5COF word");
SATELLITE_STATIC_ASSERT(offsetof(sgp4_params, xmcof) == 224, "XMCOF word");
SATELLITE_STATIC_ASSERT(offsetof(sgp4_params, isimp) == 232, "ISIMP word");

SATELLITE_STATIC_ASSERT(sizeof(sdp4_params) == 776, "sdp4_params is 776 bytes");
SATELLITE_STATIC_ASSERT(offsetof(sdp4_params, c2) == 0, "C2 word");
SATELLITE_STATIC_ASSERT(offsetof(sdp4_params, c1) == 16, "C1 word");
SATELLITE_STATIC_ASSERT(offsetof(sdp4_params, c4) == 24, "C4 word");
SATELLITE_STATIC_ASSERT(offsetof(sdp4_params, xnodcf) == 32, "XNODCF word");
SATELLITE_STATIC_ASSERT(offsetof(sdp4_params, t2cof) == 40, "T2COF word");
SATELLITE_STATIC_ASSERT(offsetof(sdp4_params, aodp) == 80, "AODP word");
SATELLITE_STATIC_ASSERT(offsetof(sdp4_params, xnodp) == 128, "XNODP word");
SATELLITE_STATIC_ASSERT(offsetof(sdp4_params, cosomo) == 22 * 8, "COSOMO word");
SATELLITE_STATIC_ASSERT(offsetof(sdp4_params, thgr) == 23 * 8, "THGR word");
SATELLITE_STATIC_ASSERT(offsetof(sdp4_params, omegaq) == 26 * 8, "OMEGAQ word");
SATELLITE_STATIC_ASSERT(offsetof(sdp4_params, sse) == 27 * 8, "SSE word");
SATELLITE_STATIC_ASSERT(offsetof(sdp4_params, ssh) == 31 * 8, "SSH word");
SATELLITE_STATIC_ASSERT(offsetof(sdp4_params, se2) == 32 * 8, "SE2 word");
SATELLITE_STATIC_ASSERT(offsetof(sdp4_params, sh3) == 43 * 8, "SH3 word");
SATELLITE_STATIC_ASSERT(offsetof(sdp4_params, ee2) == 44 * 8, "EE2 word");
SATELLITE_STATIC_ASSERT(offsetof(sdp4_params, xh3) == 55 * 8, "XH3 word");
SATELLITE_STATIC_ASSERT(offsetof(sdp4_params, zmos) == 56 * 8, "ZMOS word");
SATELLITE_STATIC_ASSERT(offsetof(sdp4_params, zmol) == 57 * 8, "ZMOL word");
SATELLITE_STATIC_ASSERT(offsetof(sdp4_params, iresfl) == 58 * 8, "IRESFL word");
SATELLITE_STATIC_ASSERT(offsetof(sdp4_params, isynfl) == 58 * 8 + 4, "ISYNFL half word");
SATELLITE_STATIC_ASSERT(offsetof(sdp4_params, del1) == 59 * 8, "DEL1 word");
SATELLITE_STATIC_ASSERT(offsetof(sdp4_params, d2201) == 62 * 8, "D2201 word");
SATELLITE_STATIC_ASSERT(offsetof(sdp4_params, d5433) == 71 * 8, "D5433 word");
SATELLITE_STATIC_ASSERT(offsetof(sdp4_params, xlamo) == 72 * 8, "XLAMO word");
SATELLITE_STATIC_ASSERT(offsetof(sdp4_params, xnq) == 74 * 8, "XNQ word");
SATELLITE_STATIC_ASSERT(offsetof(sdp4_params, xli) == 75 * 8, "XLI word");
SATELLITE_STATIC_ASSERT(offsetof(sdp4_params, atime) == 77 * 8, "ATIME word");
SATELLITE_STATIC_ASSERT(offsetof(sdp4_params, savtsn) == 78 * 8, "periodics time word");
SATELLITE_STATIC_ASSERT(offsetof(sdp4_params, ph) == 83 * 8, "PH word");
SATELLITE_STATIC_ASSERT(offsetof(sdp4_params, xn) == 84 * 8, "working mean motion word");
SATELLITE_STATIC_ASSERT(offsetof(sdp4_params, xmam) == 89 * 8, "working mean anomaly word");
SATELLITE_STATIC_ASSERT(offsetof(sdp4_params, unused90) == 90 * 8, "spare words");

/* Format and checksum of one element line: -1, -2, -3 format errors, else
 * the checksum difference modulo 10 (0 = the checksum digit matches). */
SATELLITE_API int tle_checksum(const char* line);

/* Checks both lines and fills *elements. Negative: format error, record
 * untouched (-101..-104 line 1, -1..-3 line 2; a letter in the catalogue
 * number other than the leading one of "A0000".."Z9999", I and O not used,
 * is -102). 0..3: filled; bit 0 set when line 1's checksum digit is wrong,
 * bit 1 for line 2. */
SATELLITE_API int parse_elements(const char* line1, const char* line2, element_set* elements);

/* 1 when the deep-space model applies (period 225 minutes or more), 0 for the
 * near-earth model, -1 when the mean motion or eccentricity is unusable. */
SATELLITE_API int select_ephemeris(const element_set* elements);

/* Propagation results: 0 success; -1 eccentricity out of range and -2 orbit
 * decayed or undefined (both with zeroed vectors); -4 perigee or apogee below
 * the Earth's surface (vectors valid); -5 (SDP4 only) negative mean motion,
 * vectors untouched. SDP4 also gives -2 for a resonant orbit more than 1e8
 * minutes (some 190 years) from its epoch. The velocity pointer may be null. */
SATELLITE_API void SGP4_init(sgp4_params* params, const element_set* elements);
SATELLITE_API int SGP4(double tsince, const element_set* elements, const sgp4_params* params,
                       Vec4* position, Vec4* velocity);

/* SDP4 updates *params; calls sharing one array must not overlap. */
SATELLITE_API void SDP4_init(sdp4_params* params, const element_set* elements);
SATELLITE_API int SDP4(double tsince, const element_set* elements, sdp4_params* params,
                       Vec4* position, Vec4* velocity);

/* Angle in degrees between the Sun's reflection off a mirror panel and the
 * direction to the observer. which 0: best of panels 1-3 (angle and panel
 * written); 1-3: that panel only (angle written); else nothing written. The
 * reflection output receives the ray of every lit panel evaluated. */
SATELLITE_API void iridiumcalc(const Vec4* observer, const Vec4* sat_position,
                               const Vec4* sat_velocity, const Vec4* sun, Vec4* reflection,
                               double* angle, int32_t* panel, int32_t which);

/* Where the ray from origin along direction meets the sphere of the radius
 * (or its closest approach to the centre when it misses). False, outputs
 * untouched, when the ray heads away from the sphere's side. The point may be
 * the same vector as the direction or the origin. */
SATELLITE_API bool iridtrkvect(const Vec4* direction, const Vec4* origin, Vec4* point,
                               double radius, double* distance);

#ifdef __cplusplus
}
#endif

#endif /* SATELLITE_H */
