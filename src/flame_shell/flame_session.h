#pragma once

#include "flame.h"
#include "flame_options.h"

// What the window system tells a running flame, in the platform's own terms translated by the
// shell; and what the flame makes of it.
enum class ShellEvent {
    Key,             // a typed character
    FocusLost,       // another window took the keyboard focus for good (not a passing grab)
    CloseRequested,  // the window manager or another program asked the window to close
    WindowGone,      // the window we draw into was destroyed
    Terminated,      // SIGTERM or SIGINT
};

enum class SessionStep { Continue, Quit };

// The rules of a mode: which events it answers and which end it.
struct SessionRules {
    bool answersKeys = false;
    bool closesOnFocusLoss = false;
};

SessionRules RulesFor(FlameMode mode);

// Applies one event to the flame; `code` is the character of a Key event.
SessionStep HandleShellEvent(Flame& flame, const SessionRules& rules, ShellEvent event,
                             unsigned code = 0);
