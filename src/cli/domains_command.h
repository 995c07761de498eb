#pragma once
// domains: the chosen domains of the age window with their text, media and
// other counts, sorted as the selection window lists them.
#include <optional>
#include <string>

#include "cli/command.h"
#include "core/selection/selection_options.h"

namespace restash::cli {

class DomainsCommand final : public Command {
public:
    explicit DomainsCommand(CLI::App& parent);
    int Run(RunContext& context) override;

private:
    std::optional<std::string> cacheFile_;
    std::string format_ = "text";
    SelectionOptions selection_;
};

}  // namespace restash::cli
