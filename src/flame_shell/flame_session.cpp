#include "flame_session.h"

SessionRules RulesFor(FlameMode mode) {
    switch (mode) {
        case FlameMode::FullScreen:
            return {.answersKeys = true, .closesOnFocusLoss = true};
        case FlameMode::Windowed:
            return {.answersKeys = true};
        case FlameMode::Hosted:     // the screen saver owns the keyboard
        case FlameMode::Still:      // runs its frames whatever is typed
        case FlameMode::Benchmark:  // likewise
            return {};
    }
    return {};
}

SessionStep HandleShellEvent(Flame& flame, const SessionRules& rules, ShellEvent event,
                             unsigned code) {
    switch (event) {
        case ShellEvent::Key:
            if (!rules.answersKeys) return SessionStep::Continue;
            return OnChar(flame, code) == KeyAction::Close ? SessionStep::Quit
                                                           : SessionStep::Continue;
        case ShellEvent::FocusLost:
            return rules.closesOnFocusLoss ? SessionStep::Quit : SessionStep::Continue;
        case ShellEvent::CloseRequested:
        case ShellEvent::WindowGone:
        case ShellEvent::Terminated:
            return SessionStep::Quit;
    }
    return SessionStep::Continue;
}
