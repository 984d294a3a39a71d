// One QApplication for every UI test of the program (Qt allows one per
// process). The offscreen platform is chosen when no other is set, with one
// screen of 800 x 600, the smallest the program is made for (the platform's
// own screen is 800 x 800).
#pragma once

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>

inline QApplication &TestApplication()
{
    static QApplication *app = [] {
        const char *platform = std::getenv("QT_QPA_PLATFORM");
        std::filesystem::path screens;
        if (!platform || std::string_view(platform) == "offscreen") {
            screens = std::filesystem::temp_directory_path() /
                      ("kyt-ui-screen-" + std::to_string(::getpid()) + ".json");
            std::ofstream(screens) << R"({"screens":[{"name":"s","x":0,"y":0,"width":800,"height":600,)"
                                      R"("logicalDpi":96}]})";
            setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + screens.string()).c_str(), 1);
        }
        static int argc = 1;
        static char name[] = "ui_tests";
        static char *argv[] = {name, nullptr};
        auto *application = new QApplication(argc, argv);
        // Read when the platform started.
        if (!screens.empty())
            std::filesystem::remove(screens);
        return application;
    }();
    return *app;
}
