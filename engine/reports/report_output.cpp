#include "engine/reports/report_output.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "engine/files/data_files.h"
#include "engine/runtime/ui_hooks.h"

bool CheckFileExists(const std::string &fileName, bool raise)
{
    std::error_code error;
    if (std::filesystem::is_regular_file(ResolvePath(fileName), error))
        return true;
    if (raise)
        throw std::runtime_error("File: " + fileName + " not found");
    return false;
}

int ReportPageCount(std::size_t lineCount)
{
    return static_cast<int>((lineCount + ReportLinesPerPage - 1) / ReportLinesPerPage);
}

std::span<const std::string> ReportPageLines(std::span<const std::string> lines, int fromPage,
                                             int toPage)
{
    long long first = (static_cast<long long>(std::max(fromPage, 1)) - 1) * ReportLinesPerPage;
    long long end = std::min(static_cast<long long>(toPage) * ReportLinesPerPage,
                             static_cast<long long>(lines.size()));
    if (first >= end)
        return {};
    return lines.subspan(static_cast<std::size_t>(first), static_cast<std::size_t>(end - first));
}

void PrintReport(const std::vector<std::string> &lines)
{
    if (const auto &print = Hooks().printReport)
        print(lines, "Print Sidrela");
}

double EstimateDecayDays(double ndot2, double meanMotion)
{
    if (!(ndot2 > 0.0))
        return 0.0;
    // 2 pi / 1440^2 turns rad/min^2 into revolutions a day squared.
    double days = (16.666666666666 - meanMotion) / (10.0 * std::fabs(ndot2 / 3.0300855069346e-6));
    if (!std::isfinite(days) || days < 0.0)
        return 0.0;
    return days;
}
