// The command-line face of the program: with arguments, ulvan runs one subcommand, prints
// its result as UTF-8 (one record a line, fields separated by a tab) and exits.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace ulvan {

// Runs the subcommand named by args[0] (the program name is not included). Returns the exit
// code: 0 on success, 2 for a wrong call (after printing a message to `err`).
int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace ulvan
