// restash-cli: the command-line front end over the core.
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/locale_text.h"

int main(int argc, char** argv) {
    restash::cli::UseUserLocale();
    const std::vector<std::string> arguments(argv, argv + argc);
    restash::cli::CommandLine line;
    if (const std::optional<int> status = line.Parse(arguments)) return *status;
    return line.Run(arguments);
}
