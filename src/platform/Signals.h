// Signal handling both programs share: installing a handler that leaves a signal ignored
// at start (nohup, a background job) ignored, and ending the process as a signal would.
#pragma once

namespace nelo {

/// Installs handler for signo unless the signal was ignored when the program started.
/// restart: interrupted system calls resume (SA_RESTART) instead of failing with EINTR.
void InstallSignalHandler(int signo, void (*handler)(int), bool restart);

/// Ends the process the way the signal itself would have (after the program's own work).
[[noreturn]] void EndBySignal(int signo);

}  // namespace nelo
