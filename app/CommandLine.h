// The command-line face of the program: with arguments, ulvan runs one subcommand, prints
// its result as UTF-8 (one record a line, fields separated by a tab) and exits. Each
// argument stands for the text of a window field and is read by the same rules, so a text
// that is not a number gives what the window would show for it.
#pragma once

#include <iosfwd>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ulvan {

// Runs the subcommand named by args[0] (the program name is not included). Returns the exit
// code: 0 on success, 2 for a wrong call (after printing a message to `err`).
int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The arguments of one subcommand split into positional texts and "--name value" (or
// "--name=value") options; "--" ends the options, so a later "--x" is positional.
struct ParsedArguments {
    std::vector<std::string> Positional;
    std::map<std::string, std::string, std::less<>> Options; // keys without the leading "--"
};

// nullopt, after a message to `err`, for an option not in `known`, one given twice, or one
// without its value. Texts starting with a single "-" (negative numbers) are positional.
std::optional<ParsedArguments> ParseArguments(std::span<const std::string> args,
                                              std::span<const std::string_view> known,
                                              std::ostream& err);

} // namespace ulvan
