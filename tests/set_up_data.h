// The program folder the set-up filled with the default data, for the tests
// that check against it: KYT_TEST_DATA_DIR when set, else this build's own
// program folder, so a plain ctest in a build the set-up prepared runs them.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

inline std::string SetUpDataFolder()
{
    const char *folder = std::getenv("KYT_TEST_DATA_DIR");
    return folder && *folder ? folder : KYT_TEST_PROGRAM_DIR;
}

// The set-up's folder when it holds file (relative to it), else empty.
inline std::string SetUpProgramFolder(const std::string &file)
{
    const std::string folder = SetUpDataFolder();
    return std::filesystem::exists(std::filesystem::path(folder) / file) ? folder : std::string();
}

// Whether a test without the set-up's data fails rather than skips
// (KYT_REQUIRE_DATA=1, as the full test command sets it).
inline bool SetUpDataRequired()
{
    const char *required = std::getenv("KYT_REQUIRE_DATA");
    return required && std::string_view(required) == "1";
}

// Declares folder as the set-up's program folder holding file; skips the
// test without it, or fails it when the run requires the data.
#define KYT_SETUP_FOLDER_OR_SKIP(folder, file)                                              \
    const std::string folder = SetUpProgramFolder(file);                                   \
    if (folder.empty()) {                                                                  \
        if (SetUpDataRequired())                                                           \
            FAIL() << "the set-up's " << (file) << " is missing in " << SetUpDataFolder(); \
        GTEST_SKIP() << "no set-up " << (file) << " in " << SetUpDataFolder();             \
    }
