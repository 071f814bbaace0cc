#pragma once

// The probe's commands, by the file that holds them; the table in probe_main_win32.cpp says what
// each does. Each gets the arguments after its command word, their count checked, prints
// key=value findings and returns the probe's exit code.
#include "probe_support_win32.h"

using CommandFunction = int(const Arguments& args);

// In window_commands_, system_dialog_commands_, preview_commands_, program_commands_,
// and mci_command_win32.cpp.
CommandFunction WaitWindowCommand, WaitShownCommand, WaitGoneCommand, CountCommand, KeysCommand,
    CloseCommand, CloseBoxCommand, ActivateOtherCommand, ControlsCommand, CoverCommand;
CommandFunction MessageBoxCommand, FileDialogCommand;
CommandFunction PreviewCommand;
CommandFunction ResourcesCommand, StartLateCommand;
CommandFunction MciCommand;
