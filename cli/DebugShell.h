// `ulvan-run --debug`: the terminal debugger. Commands come line by line from the input
// descriptor, the prompt "(ulvan) " and the answers go to the output one; the program's own
// console reads the same input, so piped commands and program input follow each other in the
// order they are needed.
#pragma once

#include <string>
#include <vector>

#include "Program.h"

// Runs the debugger over a compiled program until `quit` or the end of the command input.
// Answers the exit status: 2 when the last run ended in a run-time error, else 0.
int RunDebugShell(const IProgramRef &program, const std::string &sourcePath, int inFd = 0, int outFd = 1);

// The lines of a source text; a line ends at a CR, a LF or a CR LF.
std::vector<std::string> SourceLines(const std::string &text);
