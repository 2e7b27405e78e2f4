// Arbitrary argument lists at the command line's option reader, with option tables like the
// subcommands'. Besides running clean under the sanitizers, every answer must keep the rules
// the subcommands rely on: only options of the table, each once, flags without a value, a
// value never taken from the next option, positional texts in their order, and a refusal
// that says why in one line.
#include "app/CommandLineOptions.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdlib>
#include <set>
#include <sstream>

namespace {

using namespace ulvan;

void Require(bool condition) {
    if (!condition)
        std::abort();
}

constexpr std::array<OptionRule, 4> kSheetLike{
    {{"pdf", true}, {"blank", false}, {"paper", true}, {"annual", false}}};
constexpr std::array<OptionRule, 3> kScheduleLike{{{"offsets"}, {"eve"}, {"names"}}};
constexpr std::array<OptionRule, 2> kFlagsOnly{{{"a", false}, {"", false}}};

// Arguments drawn from pieces that matter to the reader, mixed with arbitrary bytes.
std::string RandomArgument(FuzzedDataProvider& data) {
    static constexpr std::array<std::string_view, 16> kPieces{
        "--",     "-",       "=",   "-h",    "--help", "pdf", "blank", "paper",
        "annual", "offsets", "eve", "names", "a",      "x",   "\xE9",  std::string_view("\0", 1)};
    std::string arg;
    const std::size_t parts = data.ConsumeIntegralInRange<std::size_t>(0, 4);
    for (std::size_t i = 0; i < parts && data.remaining_bytes() > 0; ++i) {
        if (data.ConsumeBool())
            arg += kPieces[data.ConsumeIntegralInRange<std::size_t>(0, kPieces.size() - 1)];
        else
            arg += data.ConsumeRandomLengthString(8);
    }
    return arg;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    std::span<const OptionRule> table;
    switch (data.ConsumeIntegralInRange<int>(0, 3)) {
    case 0:
        table = kSheetLike;
        break;
    case 1:
        table = kScheduleLike;
        break;
    case 2:
        table = kFlagsOnly;
        break;
    default:
        break; // no options at all
    }
    std::vector<std::string> args;
    const std::size_t count = data.ConsumeIntegralInRange<std::size_t>(0, 12);
    for (std::size_t i = 0; i < count && data.remaining_bytes() > 0; ++i)
        args.push_back(RandomArgument(data));

    std::ostringstream err;
    const auto parsed = ParseArguments(args, table, "fuzz", err);
    const std::string message = err.str();
    if (!parsed) {
        // One line naming the command and the option.
        Require(message.starts_with("ulvan fuzz: "));
        Require(message.find('\n') == message.size() - 1);
        return 0;
    }
    Require(message.empty());
    if (parsed->Help)
        return 0;

    // Walk the arguments again as the rules say and compare.
    std::vector<std::string> positional;
    std::set<std::string, std::less<>> seen;
    bool ended = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        Require(ended || arg != "-h");
        if (ended || !arg.starts_with("--")) {
            positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            ended = true;
            continue;
        }
        const std::string_view body = std::string_view(arg).substr(2);
        const std::size_t equals = body.find('=');
        const std::string_view name = body.substr(0, equals);
        Require(name != "help" || equals != std::string_view::npos);
        const OptionRule* rule = nullptr;
        for (const OptionRule& o : table)
            if (o.Name == name)
                rule = &o;
        Require(rule != nullptr);
        Require(seen.emplace(name).second); // at most once
        const std::string* value = parsed->Value(name);
        Require(value != nullptr);
        if (!rule->TakesValue) {
            Require(equals == std::string_view::npos && value->empty());
        } else if (equals != std::string_view::npos) {
            Require(*value == body.substr(equals + 1));
        } else {
            Require(i + 1 < args.size() && !args[i + 1].starts_with("--"));
            Require(*value == args[++i]);
        }
    }
    Require(parsed->Positional == positional);
    Require(parsed->Options.size() == seen.size());
    return 0;
}
