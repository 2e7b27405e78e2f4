#include "app/CommandLine.h"

#include <ostream>

namespace ulvan {

int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    (void)out;
    err << "ulvan: unknown command '" << (args.empty() ? std::string() : args[0]) << "'\n";
    return 2;
}

} // namespace ulvan
