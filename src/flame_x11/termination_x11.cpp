#include "termination_x11.h"

#include <csignal>
#include <cstdio>

namespace {

volatile std::sig_atomic_t caughtSignal = 0;

void RecordSignal(int number) {
    caughtSignal = number;
}

void SetAction(int number, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    sigaction(number, &action, nullptr);
}

}  // namespace

void CatchTerminationSignals() {
    SetAction(SIGTERM, RecordSignal);
    SetAction(SIGINT, RecordSignal);
}

bool TerminationRequested() {
    return caughtSignal != 0;
}

void EndByCaughtSignal() {
    const int number = caughtSignal;
    if (number == 0) return;
    std::fflush(nullptr);  // a death by signal does not flush stdio's buffers
    SetAction(number, SIG_DFL);
    std::raise(number);
}
