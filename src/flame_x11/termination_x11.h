#pragma once

// SIGTERM and SIGINT, by which a screen saver or a terminal ends the program. A caught signal
// only asks the frame loop to stop; once the program has released its window and display it
// ends by that same signal, so that whoever waits for it learns how it ended.

// Installs the handlers. Without SA_RESTART a sleep between frames is cut short, so the end is
// prompt.
void CatchTerminationSignals();

// True once SIGTERM or SIGINT has arrived.
bool TerminationRequested();

// After the cleanup: if a termination signal arrived, ends the process by it with its default
// action and does not return; otherwise returns at once.
void EndByCaughtSignal();
