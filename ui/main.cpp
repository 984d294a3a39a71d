#include "ui/program_main.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    const int code = ProgramMain(argc, argv);
    // Worker tasks may still run (a download, a search): the shared data they
    // use must stay alive, so the process ends without running destructors.
    std::fflush(nullptr);
    std::_Exit(code);
}
