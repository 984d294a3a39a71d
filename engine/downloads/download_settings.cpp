#include "engine/downloads/download_settings.h"

#include "engine/files/internet_info.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <sys/socket.h>

RunningFlag DownloadStop{false};

DownloadSettings &DownloadConfig()
{
    static DownloadSettings settings = [] {
        DownloadSettings defaults;
        defaults.localNow = LocalClockDayCount;
        defaults.connected = HasNetworkConnection;
        return defaults;
    }();
    return settings;
}

bool HasNetworkConnection()
{
    ifaddrs *list = nullptr;
    if (::getifaddrs(&list) != 0)
        return false;
    bool connected = false;
    for (const ifaddrs *entry = list; entry && !connected; entry = entry->ifa_next) {
        if (!entry->ifa_addr || (entry->ifa_flags & IFF_UP) == 0 || (entry->ifa_flags & IFF_LOOPBACK) != 0)
            continue;
        const int family = entry->ifa_addr->sa_family;
        connected = family == AF_INET || family == AF_INET6;
    }
    ::freeifaddrs(list);
    return connected;
}
