#pragma once

// The probe's commands, grouped by the file that holds them; probe_main_win32.cpp says what each
// does. Each takes the arguments after its command word (their count already checked), prints
// key=value findings and returns the probe's exit code.
#include "probe_support_win32.h"

// window_commands_win32.cpp
int WaitWindowCommand(const Arguments& args);
int WaitShownCommand(const Arguments& args);
int WaitGoneCommand(const Arguments& args);
int CountCommand(const Arguments& args);
int KeysCommand(const Arguments& args);
int CloseCommand(const Arguments& args);
int CloseBoxCommand(const Arguments& args);
int ActivateOtherCommand(const Arguments& args);
int ControlsCommand(const Arguments& args);
int CoverCommand(const Arguments& args);

// system_dialog_commands_win32.cpp
int MessageBoxCommand(const Arguments& args);
int FileDialogCommand(const Arguments& args);

// preview_commands_win32.cpp
int PreviewCommand(const Arguments& args);

// program_commands_win32.cpp
int ResourcesCommand(const Arguments& args);
int StartLateCommand(const Arguments& args);

// mci_command_win32.cpp
int MciCommand(const Arguments& args);
