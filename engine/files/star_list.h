// The transit-target star list "star.dat" in the data folder: one star per
// fixed-column line (right ascension 1-9 and declination 11-20 in degrees,
// J2000; magnitude 22-26; designation 27-35; common name 38-57).
#pragma once

#include <string>
#include <string_view>
#include <vector>

inline constexpr char StarListFileName[] = "star.dat";

struct StarListEntry {
    std::string commonName;  // trimmed
    std::string designation; // as written
    std::string magnitude;   // as written
    double rightAscension;   // rad, J2000; 0 when the text is no number
    double declination;      // rad, J2000; 0 when the text is no number
};

StarListEntry ReadStarLine(std::string_view line);

// The stars of the file in file order, blank lines left out. False with a
// message in *error when the file is missing, unreadable or holds no star.
bool ReadStarList(const std::string &path, std::vector<StarListEntry> &stars,
                  std::string *error = nullptr);
