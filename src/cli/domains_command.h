#pragma once
// domains: the chosen domains of the age window with their text, media and
// other counts, sorted as the selection window lists them.
#include <optional>
#include <string>

#include "cli/command.h"
#include "cli/selection_flags.h"

namespace restash::cli {

class DomainsCommand final : public Command {
public:
    explicit DomainsCommand(CLI::App& parent);
    std::vector<std::string> Repeatable() const override { return {"--domain"}; }
    std::vector<std::pair<std::string, std::string>> Conflicts() const override { return {{"--newer", "--older"}}; }
    int Run(RunContext& context) override;

private:
    std::optional<std::string> cacheFile_;
    std::string format_ = "text";
    SelectionFlags selection_;
};

}  // namespace restash::cli
