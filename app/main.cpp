#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/CommandOutput.h"

#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

int main(int argc, char* argv[]) {
#ifdef SIGXFSZ
    // A file size limit makes a write fail (EFBIG), reported and rolled back, instead of
    // ending the program half way through a file: in the windows as on the command line.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    if (argc > 1) {
        const std::vector<std::string> args(argv + 1, argv + argc);
        // Standard output through a checked buffer, so that a result that did not arrive
        // is a failure with the system's reason; messages go to the unbuffered error stream.
        ulvan::DescriptorOutputBuffer buffer(STDOUT_FILENO);
        std::ostream out(&buffer);
        if (buffer.Error() != 0) {
            // Standard output is closed: hold its number, so that no file the command opens
            // gets it and receives the output.
            const int placeholder = ::open("/dev/null", O_WRONLY);
            (void)placeholder;
        }
        return ulvan::RunCommandLine(args, out, std::cerr);
    }
    return ulvan::RunApplication(argc, argv);
}
