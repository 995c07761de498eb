#pragma once
// search: the offline search over the pages of the last uncaching run; the
// hits go to standard output and to the results page RESULTS.RSH.
#include <optional>
#include <string>

#include "cli/command.h"

namespace restash::cli {

class SearchCommand final : public Command {
public:
    explicit SearchCommand(CLI::App& parent);
    int Run(RunContext& context) override;

private:
    std::optional<std::string> offlineFolder_;
    std::string text_;
};

}  // namespace restash::cli
