// The one option reader of the command line: every subcommand names its options in a table
// (name, whether it takes a value) and gets back its positional texts and the options given.
// Standard C++ only, so that it can be tried with arbitrary argument lists on its own.
//
// Rules, the same for every subcommand:
// - "--name value" or "--name=value" for an option that takes a value; "--name" alone for a
//   flag ("--flag=x" is refused).
// - A value is never taken from another option: "--pdf --blank" is "--pdf" without its value.
//   A value that itself starts with "--" is given as "--pdf=--odd.pdf".
// - Each option at most once; a flag too ("--blank --blank" is a wrong call).
// - "--help" or "-h" in the place of an option asks for the subcommand's help.
// - "--" ends the options: every later text is positional. Texts starting with a single "-"
//   (negative numbers) are positional.
#pragma once

#include <iosfwd>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ulvan {

struct OptionRule {
    std::string_view Name; // without the leading "--"
    bool TakesValue = true;
};

struct ParsedArguments {
    std::vector<std::string> Positional;
    std::map<std::string, std::string, std::less<>> Options; // keys without "--"; flags: ""
    bool Help = false; // "--help" or "-h" was given; the rest was not read further

    bool Has(std::string_view name) const { return Options.find(name) != Options.end(); }
    // The value of an option, null when it was not given.
    const std::string* Value(std::string_view name) const;
};

// The text as it may appear in a message on a terminal: control characters (a line break, an
// escape sequence) written as \xNN, everything else as it is.
std::string Printable(std::string_view text);

// nullopt, after a message naming the option (Japanese, then English in brackets) to `err`,
// for an option not in `options`, one given twice, a value missing or given to a flag.
// `command` prefixes the message ("ulvan sheet: ...").
std::optional<ParsedArguments> ParseArguments(std::span<const std::string> args,
                                              std::span<const OptionRule> options,
                                              std::string_view command, std::ostream& err);

} // namespace ulvan
