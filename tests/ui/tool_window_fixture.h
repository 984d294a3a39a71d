// A tool window's surroundings: a program folder of its own in the temporary
// folder, the engine's shared state restored afterwards, the user's messages
// recorded instead of shown and, when the set-up has one, the default
// ephemeris loaded.
#pragma once

#include "ui/qt_app.h"

#include "engine/astronomy/de_reader.h"
#include "engine/files/data_files.h"
#include "engine/files/settings.h"
#include "engine/runtime/program_state.h"
#include "engine/runtime/ui_hooks.h"
#include "views/view_state.h"
#include "set_up_data.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

class ToolWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApplication();
        std::string pattern = (std::filesystem::temp_directory_path() / "kyt-tool-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        std::filesystem::create_directory(root_ / "data");
        SetProgramFolders(root_.string() + "/");
        savedOptions_ = Options;
        savedObserver_ = Observer;
        savedTime_ = CurrentTime;
        savedHorizon_ = MainView.HorizonAltitude;
        Hooks().showMessage = [this](const std::string &text, const std::string &caption, MessageKind) {
            std::lock_guard lock(mutex_);
            messages_.push_back(caption + ": " + text);
            return true;
        };
    }

    void TearDown() override
    {
        Hooks().showMessage = nullptr;
        Options = savedOptions_;
        Observer = savedObserver_;
        CurrentTime = savedTime_;
        MainView.HorizonAltitude = savedHorizon_;
        FreeDEFile();
        std::filesystem::remove_all(root_);
    }

    // Loads the set-up's ephemeris; false (the test skipped or failed) without one.
    bool LoadEphemeris()
    {
        const std::string folder = SetUpProgramFolder("de_files/1957_2050.423");
        if (!folder.empty())
            return LoadDEFile(folder + "/de_files/1957_2050.423");
        if (SetUpDataRequired())
            ADD_FAILURE() << "no set-up ephemeris in " << SetUpDataFolder();
        return false;
    }

    std::vector<std::string> Messages()
    {
        std::lock_guard lock(mutex_);
        return messages_;
    }

    std::filesystem::path root_;

private:
    OptionsRecord savedOptions_{};
    ObserverRecord savedObserver_{};
    double savedTime_ = 0.0;
    double savedHorizon_ = 0.0;
    std::mutex mutex_;
    std::vector<std::string> messages_;
};
