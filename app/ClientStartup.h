// Client mode: makes sure the display opens (otherwise says so in one line
// and exits with status 1), initialises GLUT with the real argument list,
// starts the local game server as a child process that is killed at exit
// and dies with the client however it ends, learns from the child's first
// lines which port it took, and runs the window client with that port for
// its local games. serverStatus is the process's status record (1024
// bytes). Does not return.
//
// Thread safety: called once, on the main thread. One background thread
// then passes on what the child writes after its launch line.
#ifndef VANTOR_APP_CLIENTSTARTUP_H_
#define VANTOR_APP_CLIENTSTARTUP_H_

#include "app/WindowOptions.h"

// The environment variable that marks the server child a client starts.
constexpr const char* kClientChildMarker = "VANTOR_CLIENT_CHILD";

// argc and argv: main's own, handed to glutInit, which takes out the options
// that options has read.
[[noreturn]] void runClient(int* argc, char** argv, const WindowOptions& options,
                            char* serverStatus);

#endif  // VANTOR_APP_CLIENTSTARTUP_H_
