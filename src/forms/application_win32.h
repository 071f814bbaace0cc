#pragma once

#include <string>

// The program as a whole: where it was started from, what it was started with, and its run.
namespace forms {

// The folder the program was started from, without a trailing backslash.
std::wstring ProgramFolder();
// The command line after the program name.
std::wstring CommandArguments();

// Runs the message loop until the last loaded form has gone.
void Run();
// Ends the process at once, without a message.
[[noreturn]] void EndProgram();

// Twips per pixel of the screen, across and down (15 at 96 dots per inch).
int TwipsPerPixelX();
int TwipsPerPixelY();

}  // namespace forms
