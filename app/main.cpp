#include "app/Application.h"
#include "app/CommandLine.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char* argv[]) {
    if (argc > 1) {
        std::vector<std::string> args(argv + 1, argv + argc);
        return ulvan::RunCommandLine(args, std::cout, std::cerr);
    }
    return ulvan::RunApplication(argc, argv);
}
