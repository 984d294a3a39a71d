// The limits, trust store, clock and connection check every download obeys,
// in one record: the program runs with the defaults, tests set their own.
#pragma once

#include "engine/runtime/worker_tasks.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>

struct DownloadSettings {
    std::chrono::milliseconds connectTimeout{15000};
    // A transfer that brings fewer than lowSpeedBytes a second over the
    // last lowSpeedTime is given up: a silent or trickling server costs
    // that long, not the whole limit below.
    std::size_t lowSpeedBytes = 10;
    std::chrono::milliseconds lowSpeedTime{30000};
    // The longest one transfer may take.
    std::chrono::milliseconds totalTimeout{std::chrono::minutes(2)};
    // The most bytes a download may have, both as fetched and as unpacked.
    std::size_t maxBytes = std::size_t{64} << 20;
    int maxRedirects = 5;
    // Certificates that servers are checked against; empty: the system's.
    std::string caFile;
    // The local clock as a day count (the automatic download's period).
    std::function<double()> localNow;
    // Whether the computer has a network connection.
    std::function<bool()> connected;
};

// The settings in force. Each run copies them when it starts.
DownloadSettings &DownloadConfig();

// Set at shutdown and by the progress box's "Stop": a running download ends
// its transfer within a second and fetches nothing more. The progress box
// clears it when the run it stopped has ended.
extern RunningFlag DownloadStop;

// Whether some network interface other than the loopback one is up and has
// an address.
bool HasNetworkConnection();
