// A fresh program folder (with "data/" and "tle/") in the temporary folder
// for each test, so tests never touch the build's own data files.
#pragma once

#include "engine/files/data_files.h"
#include "set_up_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

class ProgramFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "kyt-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        std::filesystem::create_directory(root_ / "data");
        std::filesystem::create_directory(root_ / "tle");
        SetProgramFolders(root_.string());
    }

    void TearDown() override { std::filesystem::remove_all(root_); }

    static void WriteFile(const std::string &path, const std::string &bytes)
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << bytes;
    }

    static std::string ReadFile(const std::string &path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // Names of the entries of a folder, for checking that nothing stray is left.
    static std::vector<std::string> FolderEntries(const std::string &folder)
    {
        std::vector<std::string> names;
        for (const auto &entry : std::filesystem::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::filesystem::path root_;
};
