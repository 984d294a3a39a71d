// Real two-line element sets of the public SGP4 verification collection,
// grouped by the branch of the models they exercise. Shared by the library
// tests and the propagation benchmark.
#pragma once

struct ElementLines {
    const char* line1;
    const char* line2;
};

namespace reference_sets {

// Near-earth: full drag model (00005 eccentric, 06251 typical low orbit, 28057
// eccentricity below 1e-4, 29141 decays within a day).
inline constexpr ElementLines k00005{"1 00005U 58002B   00179.78495062  .00000023  00000-0  28098-4 0  4753",
                                    "2 00005  34.2682 348.7242 1859667 331.7664  19.3264 10.82419157413667"};
inline constexpr ElementLines k06251{"1 06251U 62025E   06176.82412014  .00008885  00000-0  12808-3 0  3985",
                                    "2 06251  58.0579  54.0425 0030035 139.1568 221.1854 15.56387291  6774"};
inline constexpr ElementLines k28057{"1 28057U 03049A   06177.78615833  .00000060  00000-0  35940-4 0  1836",
                                    "2 28057  98.4283 247.6961 0000884  88.1964 271.9322 14.35478080140550"};
inline constexpr ElementLines k29141{"1 29141U 85108AA  06170.26783845  .99999999  00000-0  13519-0 0   718",
                                    "2 29141  82.4288 273.4882 0015848 277.2124  83.9133 15.93343074  6828"};

// Near-earth: simplified drag (perigee below 220 km); 28350 perigee between 98
// and 156 km, 22312 and 28872 at or below 98 km (28872 below the surface),
// 29238 high drag, 88888 the published test case.
inline constexpr ElementLines k29238{"1 29238U 06022G   06177.28732010  .00766286  10823-4  13334-2 0   101",
                                    "2 29238  51.5595 213.7903 0202579  95.2503 267.9010 15.73823839  1061"};
inline constexpr ElementLines k28350{"1 28350U 04020A   06167.21788666  .16154492  76267-5  18678-3 0  8894",
                                    "2 28350  64.9977 345.6130 0024870 260.7578  99.9590 16.47856722116490"};
inline constexpr ElementLines k22312{"1 22312U 93002D   06094.46235912  .99999999  81888-5  49949-3 0  3953",
                                    "2 22312  62.1486  77.4698 0308723 267.9229  88.7392 15.95744531 98783"};
inline constexpr ElementLines k28872{"1 28872U 05037B   05333.02012661  .25992681  00000-0  24476-3 0  1534",
                                    "2 28872  96.4736 157.9986 0303955 244.0492 110.6523 16.46015938 10708"};
inline constexpr ElementLines k88888{"1 88888U          80275.98708465  .00073094  13844-3  66816-4 0    87",
                                    "2 88888  72.8435 115.9689 0086731  52.6988 110.5714 16.05824518  1058"};

// Deep space, half-day resonance (e >= 0.5) across the eccentricity bands of
// the resonance coefficients: 26975 e <= 0.65, 08195 and 09880 up to 0.715,
// 21897 and 22674 above.
inline constexpr ElementLines k26975{"1 26975U 78066F   06174.85818871  .00000620  00000-0  10000-3 0  6809",
                                    "2 26975  68.4714 236.1303 5602877 123.7484 302.5767  2.05657553 67521"};
inline constexpr ElementLines k08195{"1 08195U 75081A   06176.33215444  .00000099  00000-0  11873-3 0   813",
                                    "2 08195  64.1586 279.0717 6877146 264.7651  20.2257  2.00491383225656"};
inline constexpr ElementLines k09880{"1 09880U 77021A   06176.56157475  .00000421  00000-0  10000-3 0  9814",
                                    "2 09880  64.5968 349.3786 7069051 270.0229  16.3320  2.00813614112380"};
inline constexpr ElementLines k21897{"1 21897U 92011A   06176.02341244 -.00001273  00000-0 -13525-3 0  3044",
                                    "2 21897  62.1749 198.0096 7421690 253.0462  20.1561  2.01269994104880"};
inline constexpr ElementLines k22674{"1 22674U 93035D   06176.55909107  .00002121  00000-0  29868-3 0  6569",
                                    "2 22674  63.5035 354.4452 7541712 253.3264  18.7754  1.96679808 93877"};

// Deep space, one-day resonance: 28626, 25954 and 26900 below 3 degrees of
// inclination, 24208, 09998 and 14128 below 0.2 rad.
inline constexpr ElementLines k28626{"1 28626U 05008A   06176.46683397 -.00000205  00000-0  10000-3 0  2190",
                                    "2 28626   0.0019 286.9433 0000335  13.7918  55.6504  1.00270176  4891"};
inline constexpr ElementLines k25954{"1 25954U 99060A   04039.68057285 -.00000108  00000-0  00000-0 0  6847",
                                    "2 25954   0.0004 243.8136 0001765  15.5294  22.7134  1.00271289 15615"};
inline constexpr ElementLines k26900{"1 26900U 01039A   06106.74503247  .00000045  00000-0  10000-3 0  8290",
                                    "2 26900   0.0164 266.5378 0003319  86.1794 182.2590  1.00273847 16981"};
inline constexpr ElementLines k24208{"1 24208U 96044A   06177.04061740 -.00000094  00000-0  10000-3 0  1600",
                                    "2 24208   3.8536  80.0121 0026640 311.0977  48.3000  1.00778054 36119"};
inline constexpr ElementLines k09998{"1 09998U 74033F   05148.79417928 -.00000112  00000-0  00000+0 0  4480",
                                    "2 09998   9.4958 313.1750 0270971 327.5225  30.8097  1.16186785 45878"};
inline constexpr ElementLines k14128{"1 14128U 83058A   06176.02844893 -.00000158  00000-0  10000-3 0  9627",
                                    "2 14128  11.4384  35.2134 0011562  26.4582 333.5652  0.98870114 46093"};

// Deep space without resonance: 11801 the published test case, 16925 and
// 28623 high drag with perigees below 156 km, 23177 below 0.2 rad, 28129 a
// half-day orbit with e below 0.5 and 20413 a five-day orbit.
inline constexpr ElementLines k11801{"1 11801U          80230.29629788  .01431103  00000-0  14311-1      13",
                                    "2 11801  46.7916 230.4354 7318036  47.4722  10.4117  2.28537848    13"};
inline constexpr ElementLines k16925{"1 16925U 86065D   06151.67415771  .02550794 -30915-6  18784-3 0  4486",
                                    "2 16925  62.0906 295.0239 5596327 245.1593  47.9690  4.88511875148616"};
inline constexpr ElementLines k23177{"1 23177U 94040C   06175.45752052  .00000386  00000-0  76590-3 0    95",
                                    "2 23177   7.0496 179.8238 7258491 296.0482   8.3061  2.25906668 97438"};
inline constexpr ElementLines k28623{"1 28623U 05006B   06177.81079184  .00637644  69054-6  96390-3 0  6000",
                                    "2 28623  28.5200 114.9834 6249053 170.2550 212.8965  3.79477162 12753"};
inline constexpr ElementLines k28129{"1 28129U 03058A   06175.57071136 -.00000104  00000-0  10000-3 0   459",
                                    "2 28129  54.7298 324.8098 0048506 266.2640  93.1663  2.00562768 18443"};
inline constexpr ElementLines k20413{"1 20413U 83020D   05363.79166667  .00000000  00000-0  00000+0 0  7041",
                                    "2 20413  12.3514 187.4253 7864447 196.3027 356.5478  0.24690082  7978"};

}  // namespace reference_sets
