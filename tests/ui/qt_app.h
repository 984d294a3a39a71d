// One QApplication for every UI test of the program (Qt allows one per
// process); the offscreen platform is chosen when none is set.
#pragma once

#include <QApplication>
#include <cstdlib>

inline QApplication &TestApplication()
{
    static QApplication *app = [] {
        if (!std::getenv("QT_QPA_PLATFORM"))
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "ui_tests";
        static char *argv[] = {name, nullptr};
        return new QApplication(argc, argv);
    }();
    return *app;
}
