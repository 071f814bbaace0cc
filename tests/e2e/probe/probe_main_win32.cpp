// lullvane-probe: the end-to-end tests' eyes and hands on the Windows side, one program for every
// test that drives Lullvane under Wine.
//
//   lullvane-probe COMMAND ARGUMENT...
//
// TITLE is a window title as hex code page 932 bytes (the renderer's "TorvaneⅡVC" is
// 546f7276616e6587555643), so that it passes any command line unchanged; texts a person reads
// come back as hex UTF-8. MS is a time limit in milliseconds. Findings are printed as key=value
// pairs; the exit code is 0 when what the command waits for or checks holds, 1 when it does not,
// 2 for an unknown command or arguments that do not fit. Started without arguments (as the host
// starts its renderer), the probe runs the command line in the environment variable
// LULLVANE_PROBE_COMMAND.
//
// Windows found by their title
//   wait-window TITLE MS     a top-level window with the title exists; prints found= and, when
//                            found, visible= class= title= (hex) style= exstyle= (hex numbers)
//                            rect=left,top,right,bottom client=x,y,width,height (its client area
//                            on the screen) parent= foreground= screen=width,height
//                            virtual=left,top,right,bottom monitors=
//   wait-shown TITLE MS      the same, once the window is also visible
//   wait-gone TITLE MS       no such window remains (gone= ms=)
//   count TITLE              how many top-level windows carry the title (count=)
//   keys TITLE CODE...       brings the window forward and types the character codes (13 Enter,
//                            27 Esc, 32 Space, 48 "0"...) through the system's input queue
//   close TITLE              posts WM_CLOSE to the window, as another program would
//   close-box TITLE          sends the window its close command, as its close box does
//   activate-other TITLE MS  shows and activates a window of the probe's own and holds it until
//                            the titled window is gone or MS have passed (active= gone=)
//   controls TITLE           one line per control window inside it: class= (hex), id=, its frame
//                            in the window's client area (x= y= w= h=), enabled=, text= (hex)
//   cover X Y W H MS         covers that part of the screen with a window for MS, then removes it
// The system's dialogs
//   message-box CAPTION MS   reads a message box (text= buttons= ok= icon=) and presses OK
//   file-dialog TITLE MS PATH
//                            waits for an open-file dialog with the title, reads its filter and
//                            read-only box, types PATH (hex UTF-8) and presses Open (closed=)
// The host's preview (SCR: the path of Lullvane.scr)
//   preview SCR W H X Y ROUNDS [--capture FOLDER | --refused [ARGUMENTS]]
//                            ROUNDS times: hosts "SCR /p <window>" in a W x H window at X, Y,
//                            sees the preview fill it, destroys it and sees the preview end within
//                            2 s (failed round= lines; rounds= failures= slowest_end_ms=);
//                            --capture shows the preview on its own there, creates the file
//                            "ready" in FOLDER and waits for a file "done" there; --refused
//                            expects no preview, the host started with ARGUMENTS if given, and its
//                            end within 2 s of its start
// Programs
//   resources FILE           the file's version resource (fixed versions, then each string as
//                            hex UTF-8) and its program manifest (hex)
//   start-late MS PROGRAM    waits MS, starts PROGRAM and ends with its exit code: installed as
//                            Lullvane.dll, a renderer that is slow to open its window
// The other areas
//   mci STEP...              music steps over the real winmm port (mci_command_win32.cpp)
#include <windows.h>
// shellapi.h needs the types of windows.h first.
#include <shellapi.h>

#include <climits>
#include <cstdio>
#include <exception>
#include <string_view>

#include "probe_commands_win32.h"
#include "probe_support_win32.h"

namespace {

struct Command {
    std::wstring_view name;
    size_t fewest = 0;  // arguments after the command word
    size_t most = 0;
    int (*run)(const Arguments& args) = nullptr;
};

constexpr size_t kAny = SIZE_MAX;

constexpr Command kCommands[] = {
    {.name = L"wait-window", .fewest = 2, .most = 2, .run = WaitWindowCommand},
    {.name = L"wait-shown", .fewest = 2, .most = 2, .run = WaitShownCommand},
    {.name = L"wait-gone", .fewest = 2, .most = 2, .run = WaitGoneCommand},
    {.name = L"count", .fewest = 1, .most = 1, .run = CountCommand},
    {.name = L"keys", .fewest = 2, .most = kAny, .run = KeysCommand},
    {.name = L"close", .fewest = 1, .most = 1, .run = CloseCommand},
    {.name = L"close-box", .fewest = 1, .most = 1, .run = CloseBoxCommand},
    {.name = L"activate-other", .fewest = 2, .most = 2, .run = ActivateOtherCommand},
    {.name = L"controls", .fewest = 1, .most = 1, .run = ControlsCommand},
    {.name = L"cover", .fewest = 5, .most = 5, .run = CoverCommand},
    {.name = L"message-box", .fewest = 2, .most = 2, .run = MessageBoxCommand},
    {.name = L"file-dialog", .fewest = 3, .most = 3, .run = FileDialogCommand},
    {.name = L"preview", .fewest = 6, .most = 8, .run = PreviewCommand},
    {.name = L"resources", .fewest = 1, .most = 1, .run = ResourcesCommand},
    {.name = L"start-late", .fewest = 2, .most = 2, .run = StartLateCommand},
    {.name = L"mci", .fewest = 1, .most = kAny, .run = MciCommand},
};

Arguments Split(const std::wstring& commandLine) {
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(commandLine.c_str(), &count);
    if (!argv) return {};
    Arguments args(argv + 1, argv + count);
    LocalFree(argv);
    return args;
}

// The command word and its arguments: from the command line, else from the environment.
Arguments CommandAndArguments() {
    Arguments args = Split(GetCommandLineW());
    if (!args.empty()) return args;
    wchar_t command[1024] = {};
    const DWORD length = GetEnvironmentVariableW(L"LULLVANE_PROBE_COMMAND", command, 1024);
    if (length == 0 || length >= 1024) return {};
    return Split(std::wstring(L"lullvane-probe ") + command);
}

}  // namespace

int main() {
    Arguments args = CommandAndArguments();
    const std::wstring word = args.empty() ? L"" : args.front();
    if (!args.empty()) args.erase(args.begin());
    for (const Command& command : kCommands) {
        if (command.name != word || args.size() < command.fewest || args.size() > command.most) {
            continue;
        }
        try {
            const int code = command.run(args);
            std::fflush(stdout);
            return code;
        } catch (const std::exception& error) {
            std::fprintf(stderr, "lullvane-probe: %s\n", error.what());
            return 2;
        }
    }
    std::fprintf(stderr, "lullvane-probe: unknown command or arguments (see its source)\n");
    return 2;
}
