// Client mode: makes sure a display can be opened (otherwise says so in one
// line and exits with status 1), starts the local game server as a child
// process that is killed at exit and dies with the client however it ends,
// and runs the window client. serverStatus is the process's status record
// (1024 bytes). Does not return.
//
// Thread safety: called once, on the main thread.
#ifndef VANTOR_APP_CLIENTSTARTUP_H_
#define VANTOR_APP_CLIENTSTARTUP_H_

// The environment variable that marks the server child a client starts.
constexpr const char* kClientChildMarker = "VANTOR_CLIENT_CHILD";

[[noreturn]] void runClient(char* serverStatus);

#endif  // VANTOR_APP_CLIENTSTARTUP_H_
