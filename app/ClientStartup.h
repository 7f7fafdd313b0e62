// Client mode: starts the local game server as a child process and runs the
// window client. serverStatus is the process's status record (1024 bytes).
// Does not return.
//
// Thread safety: called once, on the main thread.
#ifndef VANTOR_APP_CLIENTSTARTUP_H_
#define VANTOR_APP_CLIENTSTARTUP_H_

void runClient(char* serverStatus);

#endif  // VANTOR_APP_CLIENTSTARTUP_H_
