#pragma once
// uncache: the whole job of the main window's central command: checks,
// the selection, the uncaching run into the offline folder, and optionally
// the index page opened in the configured browser.
#include <optional>
#include <string>

#include "cli/command.h"
#include "core/selection/selection_options.h"

namespace restash::cli {

class UncacheCommand final : public Command {
public:
    explicit UncacheCommand(CLI::App& parent);
    int Run(RunContext& context) override;

private:
    std::optional<std::string> cacheFile_;
    std::optional<std::string> offlineFolder_;
    std::optional<std::string> historyFile_;
    bool noHistory_ = false;
    SelectionOptions selection_;
    bool keepUrls_ = false;
    bool noKeepUrls_ = false;
    bool emphasis_ = false;
    bool noEmphasis_ = false;
    bool view_ = false;
};

}  // namespace restash::cli
