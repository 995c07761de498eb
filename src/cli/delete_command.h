#pragma once
// delete: removes the chosen part of Netscape's cache (its cache files and,
// for a text index, its lines in the index) after asking on the terminal,
// or at once with --yes. --dry-run shows what it would remove instead.
#include <optional>
#include <string>

#include "cli/command.h"
#include "cli/selection_flags.h"

namespace restash::cli {

class DeleteCommand final : public Command {
public:
    explicit DeleteCommand(CLI::App& parent);
    std::vector<std::string> Repeatable() const override { return {"--domain"}; }
    std::vector<std::pair<std::string, std::string>> Conflicts() const override { return {{"--newer", "--older"}}; }
    int Run(RunContext& context) override;

private:
    int DryRun(RunContext& context, const Settings& settings, class RunReport& report);
    bool Confirmed(RunContext& context, const Settings& settings);

    std::optional<std::string> cacheFile_;
    SelectionFlags selection_;
    bool yes_ = false;
    bool dryRun_ = false;
    std::optional<std::string> report_;
};

}  // namespace restash::cli
