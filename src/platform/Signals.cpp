#include "platform/Signals.h"

#include <csignal>
#include <cstdlib>

namespace nelo {

void InstallSignalHandler(int signo, void (*handler)(int), bool restart) {
    struct sigaction old {};
    if (sigaction(signo, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) return;
    struct sigaction sa {};
    sa.sa_handler = handler;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = restart ? SA_RESTART : 0;
    sigaction(signo, &sa, nullptr);
}

void EndBySignal(int signo) {
    std::signal(signo, SIG_DFL);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signo);
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
    std::raise(signo);
    std::_Exit(128 + signo);
}

}  // namespace nelo
