// The command-line face of the program: with arguments, ulvan runs one subcommand, prints
// its result as UTF-8 (one record a line, fields separated by a tab) and exits. Each
// argument stands for the text of a window field and is read by the same rules, so a text
// that is not a number gives what the window would show for it.
#pragma once

#include "app/CommandLineOptions.h"
#include "calendar/Schedule.h"

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ulvan {

// Runs the subcommand named by args[0] (the program name is not included). Returns the exit
// code: 0 on success, 1 when a result could not be written (to `out` or to a file), 2 for a
// wrong call (after printing a message to `err`). Everything written to `out` is flushed and
// checked before success is reported.
int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// One subcommand: a row of the command table. Its options are read by ParseArguments with
// `Options`; "--help" is answered before `Run` is called. Adding a subcommand (or an option
// to one) is adding a row (or an OptionRule).
struct Subcommand {
    std::string_view Name;
    std::string_view Usage;  // arguments after the name
    std::string_view HelpJa; // one line each
    std::string_view HelpEn;
    std::span<const OptionRule> Options;
    // Returns the exit code; after a wrong call (2, message already written) the dispatcher
    // adds the usage line.
    int (*Run)(const ParsedArguments& args, std::ostream& out, std::ostream& err);
};

// Reads the schedule options (--offsets, --eve, --names) of `ulvan schedule` and the
// subcommands that take them into `schedule`. 0, or 2 after a message for a wrong value.
int ApplyScheduleOptions(const ParsedArguments& parsed, std::string_view command,
                         MemorialSchedule& schedule, std::ostream& err);

// The subcommands in the order of the help text.
std::span<const Subcommand> Subcommands();

} // namespace ulvan
