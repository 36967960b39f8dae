#pragma once
// Starting another program without waiting for it.

#include <string>
#include <vector>

namespace qs {

enum class WindowShow { Normal, MinimizedActive };

// Windows takes a program and its arguments as one command line; other
// systems take the program file and the arguments already split. The caller
// gives both, so that each system gets the form it understands.
struct ProgramStart {
  std::string command_line;            // Windows: the whole line, program included
  std::string program;                 // elsewhere: the program file (searched on PATH without a '/')
  std::vector<std::string> arguments;  // elsewhere: the arguments after the program
  WindowShow show = WindowShow::Normal;
};

// Starts the program and returns at once; its end and result are not awaited.
// Throws std::system_error when the program cannot be started.
void StartProgram(const ProgramStart& start);

}  // namespace qs
