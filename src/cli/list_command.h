#pragma once
// list: the cache's entries in reader order, or those a selection chooses,
// as a table, JSON or CSV; JSON and CSV carry every fact the index holds.
#include <optional>
#include <string>

#include "cli/command.h"
#include "cli/selection_flags.h"

namespace restash::cli {

class ListCommand final : public Command {
public:
    explicit ListCommand(CLI::App& parent);
    std::vector<std::string> Repeatable() const override { return {"--domain", "--url"}; }
    std::vector<std::pair<std::string, std::string>> Conflicts() const override { return {{"--newer", "--older"}}; }
    int Run(RunContext& context) override;

private:
    std::optional<std::string> cacheFile_;
    SelectionFlags selection_;
    bool all_ = false;
    std::string format_ = "text";
};

}  // namespace restash::cli
