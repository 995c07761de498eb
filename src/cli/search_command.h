#pragma once
// search: the offline search over the pages of the last uncaching run; the
// hits go to standard output and to the results page RESULTS.RSH. Exits as
// grep does: 0 when a page was found, 1 when none was, 2 on an error.
#include <optional>
#include <string>

#include "cli/command.h"

namespace restash::cli {

class SearchCommand final : public Command {
public:
    explicit SearchCommand(CLI::App& parent);
    int Run(RunContext& context) override;
    int ErrorStatus() const override { return 2; }

private:
    std::optional<std::string> offlineFolder_;
    std::string text_;
    std::optional<std::string> report_;
};

}  // namespace restash::cli
