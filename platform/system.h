#pragma once
// Facts and services of the operating system that the program needs beside
// its windows.

#include <string>

namespace qs {

// The arguments part of the program's command line, as one text. Where the
// system hands the arguments over already split, they are joined again so
// that the command-line tokenizer gives back exactly the same arguments.
std::string CommandLineArguments(int argc, char** argv);

// Joins split arguments into one command-line text (empty arguments, and those
// holding a space or a double quote, quoted with inner quotes doubled).
std::string JoinArguments(int argc, const char* const* argv);

// True while the Shift key is held down (never on a terminal).
bool ShiftKeyDown();

// The directory the program file lives in, without a trailing separator.
std::string ProgramDirectory();

// Where a file the user asked for but did not place is written (the
// exported list): the program's directory on Windows, so that a copy in a
// directory of its own keeps its files together; elsewhere the directory of
// the settings file in use (an installed program's directory is not the
// user's), or the program's directory without one.
std::string UserFileDirectory(const std::string& settings_file);

// The directory of the files that ship with the program (its help page, the
// sample mailbox): "../share/quillstow" from the program's directory where
// the program is installed so, else the program's directory itself.
std::string ProgramDataDirectory();

// The separator between directory names in file-system paths.
char PathSeparator();

// Opens a file or a web address with the system's default action. Failures
// are not reported.
void OpenWithShell(const std::string& target);

}  // namespace qs
