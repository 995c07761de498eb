#pragma once
// delete: removes the chosen part of Netscape's cache (its cache files and,
// for a text index, its lines in the index) after asking.
#include <optional>
#include <string>

#include "cli/command.h"
#include "core/selection/selection_options.h"

namespace restash::cli {

class DeleteCommand final : public Command {
public:
    explicit DeleteCommand(CLI::App& parent);
    int Run(RunContext& context) override;

private:
    std::optional<std::string> cacheFile_;
    SelectionOptions selection_;
    bool yes_ = false;
};

}  // namespace restash::cli
