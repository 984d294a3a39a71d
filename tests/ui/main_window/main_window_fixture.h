// A main window on a program folder of its own in the temporary folder: the
// default ephemeris and world image linked in from the set-up's program
// folder, the toolbar image list of this build, and the user's messages
// recorded instead of shown.
#pragma once

#include "ui/qt_app.h"

#include "engine/files/data_files.h"
#include "engine/files/element_files.h"
#include "engine/runtime/program_state.h"
#include "engine/files/settings.h"
#include "engine/runtime/ui_hooks.h"
#include "ui/main_window/main_window.h"
#include "set_up_data.h"

#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

struct ShownMessage {
    std::string text;
    std::string caption;
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApplication();
        KYT_SETUP_FOLDER_OR_SKIP(dataDir, "de_files/1957_2050.423");
        const std::filesystem::path ephemeris = std::filesystem::path(dataDir) / "de_files" / "1957_2050.423";
        std::string pattern = (std::filesystem::temp_directory_path() / "kyt-ui-XXXXXX").string();
        if (folderLength_ > pattern.size())
            pattern.insert(pattern.size() - 6, folderLength_ - pattern.size(), 'x');
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        ASSERT_TRUE(folderLength_ == 0 || pattern.size() == folderLength_) << pattern;
        root_ = pattern;
        for (const char *folder : {"data", "tle", "de_files", "map"})
            std::filesystem::create_directory(root_ / folder);
        setUpData_ = dataDir;
        std::filesystem::create_symlink(ephemeris, root_ / "de_files" / "1957_2050.423");
        LinkSetUpFile("map/default.jpg");
        LinkSetUpFile("map/Real_Color_x.jpg");
        const std::filesystem::path glyphary = std::filesystem::path(KYT_TEST_PROGRAM_DIR) / "Glyphary.dll";
        if (std::filesystem::exists(glyphary))
            std::filesystem::copy_file(glyphary, root_ / "Glyphary.dll");
        Hooks().showMessage = [this](const std::string &text, const std::string &caption, MessageKind) {
            std::lock_guard lock(messagesMutex_);
            messages_.push_back({text, caption});
            return true;
        };
    }

    void TearDown() override
    {
        window_.reset();
        Hooks().showMessage = nullptr;
        if (!root_.empty())
            std::filesystem::remove_all(root_);
    }

    // Links a file of the set-up's program folder into this one, if there is
    // one and this folder has none yet.
    void LinkSetUpFile(const std::string &relativePath)
    {
        const std::filesystem::path source = setUpData_ / relativePath;
        if (std::filesystem::exists(source) && !std::filesystem::exists(root_ / relativePath))
            std::filesystem::create_symlink(source, root_ / relativePath);
    }

    std::string ProgramFolder() const { return root_.string() + "/"; }
    std::string DataFile(const std::string &name) const { return (root_ / "data" / name).string(); }

    // Creates, shows and starts the window; waits until its first view is drawn.
    TfrMainWnd &Start()
    {
        window_ = std::make_unique<TfrMainWnd>(ProgramFolder());
        // The next pass is shown when its action ends, however busy the
        // machine; the test of the hand-over from its task sets its own limit.
        window_->NextPassWaitLimit = std::chrono::minutes(1);
        window_->resize(1280, 800);
        window_->show();
        window_->StartInitialization();
        const bool drawn = QTest::qWaitFor(
            [this] { return window_->ClosingWithoutSave() || (window_->Ready && !window_->ViewBusy); },
            60000);
        EXPECT_TRUE(drawn) << "the start-up did not end";
        return *window_;
    }

    // Runs a view command and waits for its task's first full redraw.
    void SwitchView(void (TfrMainWnd::*command)())
    {
        (window_.get()->*command)();
        EXPECT_TRUE(QTest::qWaitFor([this] { return !window_->ViewBusy; }, 30000));
    }

    void Close()
    {
        window_->close();
        window_.reset();
    }

    // Puts the pickers on the instant and presses SET.
    void SetInstant(double instant)
    {
        window_->SetPickersToInstant(instant);
        window_->menu_setusertimeClick();
    }

    std::vector<ShownMessage> Messages()
    {
        std::lock_guard lock(messagesMutex_);
        return messages_;
    }

    static void WriteSatFile(const std::string &path, const tlearray &set)
    {
        ASSERT_TRUE(SaveSatFile(set, path));
    }

    static std::string ReadFile(const std::string &path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // The length of the program folder's path (without its final '/'), set
    // before SetUp; 0 for the shortest the temporary folder gives.
    std::size_t folderLength_ = 0;
    std::filesystem::path root_;
    std::filesystem::path setUpData_;
    std::unique_ptr<TfrMainWnd> window_;
    std::mutex messagesMutex_;
    std::vector<ShownMessage> messages_;
};
