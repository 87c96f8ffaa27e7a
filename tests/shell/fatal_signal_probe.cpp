// Stands in for the program in the fatal-signal test: installs the program's handler, then meets
// the signal named on its command line.
#include "message.h"

#include <csignal>
#include <cstring>

int main(int argc, char** argv)
{
    InstallSignalHandlers(OnFatalSignal);
    const char* which = argc > 1 ? argv[1] : "";
    if (strcmp(which, "int") == 0) raise(SIGINT);
    if (strcmp(which, "segv") == 0) *static_cast<volatile int*>(nullptr) = 1;  // a real access violation
    if (strcmp(which, "other") == 0) OnFatalSignal(99);
    return 0;
}
