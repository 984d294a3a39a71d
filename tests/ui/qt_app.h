// One QApplication for every UI test of the program (Qt allows one per
// process); when no platform is set, the one ctest sets: offscreen, on an
// 800 x 600 screen, the smallest the program is made for (the platform's own
// screen is 800 x 800).
#pragma once

#include <QApplication>
#include <cstdlib>

inline QApplication &TestApplication()
{
    static QApplication *app = [] {
        if (!std::getenv("QT_QPA_PLATFORM"))
            setenv("QT_QPA_PLATFORM", KYT_TEST_PLATFORM, 1);
        static int argc = 1;
        static char name[] = "ui_tests";
        static char *argv[] = {name, nullptr};
        return new QApplication(argc, argv);
    }();
    return *app;
}
