// lullvane-probe COMMAND ARGUMENT...: the end-to-end tests' eyes and hands under Wine. TITLE is a
// window title as hex code page 932 bytes, so that any command line carries it unchanged; what a
// person reads comes back as hex UTF-8; MS is a time limit in milliseconds. Findings are printed
// as key=value pairs. Exit code 0: what the command waits for or checks holds; 1: it does not; 2:
// an unknown command or arguments that do not fit. Without arguments (as the host starts its
// renderer) it runs the command line in the environment variable LULLVANE_PROBE_COMMAND.
#include <windows.h>
// shellapi.h needs the types of windows.h first.
#include <shellapi.h>

#include <cstdint>
#include <cstdio>
#include <exception>

#include "probe_win32.h"

namespace {

// Name, fewest and most arguments, the command, and what it takes and prints.
constexpr struct Command {
    std::wstring_view name;
    size_t fewest, most;
    CommandFunction* run;
    const char* usage;
} kCommands[] = {
    {L"wait-window", 2, 2, WaitWindowCommand, "TITLE MS: once there, its class, styles, frames"},
    {L"wait-shown", 2, 2, WaitShownCommand, "TITLE MS: the same once it is visible too"},
    {L"wait-gone", 2, 2, WaitGoneCommand, "TITLE MS: no such window remains (gone=)"},
    {L"count", 1, 1, CountCommand, "TITLE: top-level windows with that title (count=)"},
    {L"keys", 2, SIZE_MAX, KeysCommand, "TITLE KEY...: types virtual-key codes into it"},
    {L"close", 1, 2, CloseCommand, "TITLE [box]: posts WM_CLOSE, or the close box's command"},
    {L"activate-other", 2, 2, ActivateOtherCommand, "TITLE MS: activates another until it ends"},
    {L"controls", 1, 1, ControlsCommand, "TITLE: its controls, frames in its client area"},
    {L"cover", 5, 5, CoverCommand, "X Y W H MS: covers that part of the screen for MS"},
    {L"message-box", 2, 2, MessageBoxCommand, "CAPTION MS: reads a message box, presses OK"},
    {L"file-dialog", 3, 3, FileDialogCommand, "TITLE MS PATH: reads an open-file dialog, opens"},
    {L"preview", 6, 8, PreviewCommand, "SCR W H X Y N [--capture DIR | --refused [ARGS]]"},
    {L"resources", 1, 1, ResourcesCommand, "FILE: its version resource and manifest"},
    {L"start-late", 2, 2, StartLateCommand, "MS PROGRAM: starts it after MS, its exit code"},
    {L"mci", 1, SIZE_MAX, MciCommand, "STEP...: music steps over the real winmm port"},
};

Arguments Split(const std::wstring& commandLine) {
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(commandLine.c_str(), &count);
    Arguments args(argv ? argv + 1 : argv, argv ? argv + count : argv);
    LocalFree(argv);
    return args;
}

// The command word and its arguments: from the command line, else from the environment.
Arguments CommandAndArguments() {
    if (Arguments args = Split(GetCommandLineW()); !args.empty()) return args;
    wchar_t command[1024] = {};
    const DWORD length = GetEnvironmentVariableW(L"LULLVANE_PROBE_COMMAND", command, 1024);
    return length > 0 && length < 1024 ? Split(std::wstring(L"probe ") + command) : Arguments{};
}

}  // namespace

int main() {
    Arguments args = CommandAndArguments();
    const std::wstring word = args.empty() ? L"" : args.front();
    if (!args.empty()) args.erase(args.begin());
    for (const Command& command : kCommands) {
        if (command.name == word && args.size() >= command.fewest && args.size() <= command.most) {
            try {
                return command.run(args);
            } catch (const std::exception& error) {
                std::fprintf(stderr, "lullvane-probe: %s\n", error.what());
                return 2;
            }
        }
    }
    for (const Command& command : kCommands)
        std::fprintf(stderr, "%ls %s\n", command.name.data(), command.usage);
    return 2;
}
