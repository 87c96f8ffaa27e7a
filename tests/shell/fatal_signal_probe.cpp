// A stand-in process for the fatal-signal test: installs the program's handler and then meets the
// signal named on its command line, so the test can watch the message and the exit code.
#include "message.h"

#include <csignal>
#include <cstring>

int main(int argc, char** argv)
{
    InstallSignalHandlers(OnFatalSignal);
    const char* which = argc > 1 ? argv[1] : "";
    if (strcmp(which, "int") == 0) raise(SIGINT);
    if (strcmp(which, "term") == 0) raise(SIGTERM);
    if (strcmp(which, "segv") == 0) {
        volatile int* nowhere = nullptr;
        *nowhere = 1;  // a real access violation, not a raised signal
    }
    if (strcmp(which, "other") == 0) OnFatalSignal(99);
    return 0;
}
