/* Satellite: two-line element parsing, SGP4/SDP4 propagation and Iridium
 * mirror-flare geometry. Plain C interface over caller-owned memory: the
 * library allocates nothing and keeps no state between calls. */
#ifndef SATELLITE_H
#define SATELLITE_H

#include <stddef.h>
#include <stdint.h>

#if defined(SATELLITE_BUILDING)
#define SATELLITE_API __attribute__((visibility("default")))
#else
#define SATELLITE_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* x, y, z and the vector's length; km or km/s. Every producer writes the
 * length, and consumers may read it instead of recomputing it. */
typedef struct Vec4 {
    double x, y, z, w;
} Vec4;

#ifdef __cplusplus
}
#endif

#endif /* SATELLITE_H */
