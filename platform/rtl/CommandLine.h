// The program's command line as the class library offers it: ParamStr(0) is the program's full path,
// ParamStr(1) .. ParamStr(ParamCount()) its arguments as given (8-bit, unchanged).
#pragma once

#include <string>
#include <vector>

int ParamCount();
// "" for an index outside 0..ParamCount().
std::string ParamStr(int index);

// Sets the command line: args[0] names the program (empty: the running executable's path), the rest
// are the arguments. The main block sets it from its own arguments; tests set what they need. Until
// someone sets it, the process's own command line is read.
void SetCommandLine(std::vector<std::string> args);
