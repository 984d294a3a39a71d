// Delta T: terrestrial (dynamical) time minus universal time.
#pragma once

// Delta T in seconds for a Julian date: a table every two years from 1620,
// extrapolated after 2014, with long-term polynomials before 1620.
double CalcDeltaT(double jd);
