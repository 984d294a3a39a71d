// Inputs of the prediction searches for the tests: element sets shipped with
// Debian's gpredict (epoch 2018 January 20), observers, and a snapshot with
// the window's default settings over a span from 2018-01-21 0h UTC.
#pragma once

#include <string>
#include <vector>

#include "engine/astronomy/astro_time.h"
#include "engine/astronomy/constants.h"
#include "engine/text/text_format.h"
#include "engine/satellite_test_support.h"
#include "engine/searches/pass_steps.h"
#include "engine/searches/prediction_inputs.h"

struct ElementLines {
    const char *name;
    const char *number;
    const char *line1;
    const char *line2;
};

inline const ElementLines Iss{"ISS (ZARYA)", "25544",
                              "1 25544U 98067A   18020.89808844  .00002078  00000-0  38550-4 0  9992",
                              "2 25544  51.6424  32.9776 0003646  28.7227  39.5332 15.54190080 95614"};
inline const ElementLines Noaa15{"NOAA 15", "25338",
                                 "1 25338U 98030A   18020.96742132  .00000016  00000-0  25641-4 0  9995",
                                 "2 25338  98.7766  37.2459 0009629 297.3801  62.6398 14.25835947 23784"};
inline const ElementLines Gps{"GPS BIIR-2  (PRN 13)", "24876",
                              "1 24876U 97035A   18020.44858769  .00000075  00000-0  00000-0 0  9995",
                              "2 24876  55.5099 218.5673 0034717  93.9876 266.4418  2.00565175150387"};
inline const ElementLines Molniya214{"MOLNIYA 2-14", "08195",
                                     "1 08195U 75081A   18020.11717079  .00000613  00000-0  48520-3 0  9990",
                                     "2 08195  61.8340  64.8958 7506200 280.7056  10.1985  2.00802691310416"};
inline const ElementLines Galileo{"GSAT0104 (PRN E20)", "38858",
                                  "1 38858U 12055B   18018.46647772  .00000063  00000-0  00000-0 0  9995",
                                  "2 38858  54.9078 186.0749 0000915 186.0384 173.9265  1.70473797 32796"};
inline const ElementLines FlockE2{"FLOCK 2E-2", "41484",
                                  "1 41484U 98067JE  18021.15208568  .01880589  37433-2  11688-2 0  9995",
                                  "2 41484  51.6306 327.5459 0007627 168.7534 191.4617 16.18089724 96162"};
inline const ElementLines No84{"NO-84", "40654",
                               "1 40654U 15025D   18018.36924391  .00007293  00000-0  12554-3 0 01989",
                               "2 40654 054.9932 351.7822 0169835 089.2179 272.8263 15.37930017032774"};
inline const ElementLines Meteosat8{"METEOSAT-8 (MSG-1)", "27509",
                                    "1 27509U 02040B   18020.71102232  .00000142  00000-0  00000-0 0  9995",
                                    "2 27509   5.2147  57.5227 0001399 335.0795  24.9792  1.00263613 56484"};
// Deep-space satellites that cross the horizon slowly.
inline const ElementLines Sdo{"SDO", "36395",
                              "1 36395U 10005A   18020.33778907 -.00000065  00000-0  00000-0 0  9999",
                              "2 36395  29.0206 136.5544 0001256 127.2906 235.3825  1.00269353 29251"};
inline const ElementLines Molniya1S{"MOLNIYA 1-S", "07392",
                                    "1 07392U 74060A   18021.11660400 -.00000056  00000-0  00000+0 0  9999",
                                    "2 07392   8.7604 304.8931 0006031 176.3544 115.3015  1.00198728103383"};
inline const ElementLines Polar{"POLAR", "23802",
                                "1 23802U 96013A   18020.16868681  .00000078  00000-0  00000-0 0  9994",
                                "2 23802  78.5400 265.0030 7211991 314.0702   6.0170  1.29843448104994"};
inline const ElementLines Goes16{"GOES 16", "41866",
                                 "1 41866U 16071A   18019.87773469 -.00000245  00000-0  00000-0 0  9992",
                                 "2 41866   0.0069 115.0916 0001074 269.6956 335.2025  1.00271237  4322"};

// A selected record as the working set holds it, heights included.
inline TleRecord WorkingRecord(const ElementLines &lines)
{
    TleRecord record;
    EXPECT_GE(ParseSatElements(lines.line1, lines.line2, record, true), 0);
    InitSatelliteModel(record);
    record.Name.assign(lines.name);
    record.Number.assign(lines.number);
    record.Selected = 1;
    return record;
}

inline ObserverRecord NamedObserver(const char *name, double latitudeDegrees, double longitudeDegrees)
{
    ObserverRecord observer = MakeObserver(DegToRad(latitudeDegrees), DegToRad(longitudeDegrees));
    observer.Name.assign(name);
    return observer;
}

inline ObserverRecord LondonObserver() { return NamedObserver("London", 51.5074, -0.1278); }
inline ObserverRecord SydneyObserver() { return NamedObserver("Sydney", -33.8688, 151.2093); }
inline ObserverRecord CapeTownObserver() { return NamedObserver("Cape Town", -33.9258, 18.4232); }

inline double SpanStart() { return MakeInstant(2018, 1, 21); }

// The set of the first pass above inputs.MinElevation from inputs.Start,
// and the rise of the pass after it.
struct SetAndNextRise {
    double set;
    double nextRise;
};
inline SetAndNextRise FirstSetAndNextRise(TleRecord record, const PredictionInputs &inputs)
{
    ObserverRecord observer = inputs.Observer;
    TargetState state;
    const double rise = FindRiseSecond(record, state, inputs.MinElevation, inputs.Start, inputs.End, observer);
    const double set = FindSetSecond(record, state, inputs.MinElevation, rise, inputs.End, observer);
    return {set, FindRiseSecond(record, state, inputs.MinElevation, set, inputs.End, observer)};
}

// The window's defaults (Sun below -6, satellites above 10 degrees, "Revs >"
// 13, "In Sun Light" on), UTC, over `days` from SpanStart, produced at 12h.
inline PredictionInputs DefaultInputs(const ObserverRecord &observer, double days,
                                      const std::vector<ElementLines> &satellites)
{
    PredictionInputs inputs;
    inputs.Start = inputs.StartShown = SpanStart();
    inputs.End = inputs.EndShown = SpanStart() + days;
    inputs.Produced = MakeInstant(2018, 1, 20, 12);
    inputs.MinElevation = DegToRad(10.0);
    inputs.SunAltitude = DegToRad(-6.0);
    inputs.Observer = observer;
    for (const ElementLines &lines : satellites)
        inputs.Satellites.push_back(WorkingRecord(lines));
    return inputs;
}
