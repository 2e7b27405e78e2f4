#include "app/CommandLineOptions.h"

#include <algorithm>
#include <ostream>

namespace ulvan {

const std::string* ParsedArguments::Value(std::string_view name) const {
    const auto found = Options.find(name);
    return found == Options.end() ? nullptr : &found->second;
}

std::string Printable(std::string_view text) {
    static constexpr std::string_view kHex = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<ParsedArguments> ParseArguments(std::span<const std::string> args,
                                              std::span<const OptionRule> options,
                                              std::string_view command, std::ostream& err) {
    const auto refuse = [&](std::string_view ja, std::string_view name, std::string_view en) {
        const std::string shown = Printable(name);
        err << "ulvan " << command << ": オプション --" << shown << ' ' << ja << " (option '--"
            << shown << "' " << en << ")\n";
        return std::nullopt;
    };
    ParsedArguments parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || !arg.starts_with("--")) {
            if (!optionsEnded && arg == "-h") {
                parsed.Help = true;
                return parsed;
            }
            parsed.Positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::string_view name = std::string_view(arg).substr(2);
        std::optional<std::string_view> value;
        if (const std::size_t equals = name.find('='); equals != std::string_view::npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
        }
        if (name == "help" && !value) {
            parsed.Help = true;
            return parsed;
        }
        const auto rule = std::find_if(options.begin(), options.end(),
                                       [name](const OptionRule& o) { return o.Name == name; });
        if (rule == options.end())
            return refuse("はありません", name, "unknown");
        if (parsed.Has(name))
            return refuse("が2回指定されています", name, "given twice");
        if (!rule->TakesValue) {
            if (value)
                return refuse("に値は付けられません", name, "takes no value");
            value = std::string_view();
        } else if (!value) {
            // The next text is the value unless it is an option or the end of the options.
            if (i + 1 == args.size() || args[i + 1].starts_with("--"))
                return refuse("に値がありません", name, "needs a value");
            value = args[++i];
        }
        parsed.Options.emplace(std::string(name), std::string(*value));
    }
    return parsed;
}

} // namespace ulvan
