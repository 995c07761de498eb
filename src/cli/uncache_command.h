#pragma once
// uncache: the chosen part of the cache as the offline copy: the checks, the
// selection, the uncaching run into the offline folder, the .RSH/.RSI types
// made known to the user's browsers, and optionally the index page opened in
// the configured browser. --dry-run shows what it would copy instead.
#include <optional>
#include <string>

#include "cli/command.h"
#include "cli/selection_flags.h"

namespace restash::cli {

class UncacheCommand final : public Command {
public:
    explicit UncacheCommand(CLI::App& parent);
    std::vector<std::string> Repeatable() const override { return {"--domain"}; }
    std::vector<std::pair<std::string, std::string>> Conflicts() const override {
        return {{"--newer", "--older"},
                {"--keep-urls", "--no-keep-urls"},
                {"--emphasis", "--no-emphasis"},
                {"--history", "--no-history"},
                {"--dry-run", "--view"}};
    }
    int Run(RunContext& context) override;

private:
    Settings RunSettings(const RunContext& context) const;
    int DryRun(RunContext& context, const Settings& settings, class RunReport& report);
    void ViewIndex(RunContext& context, const Settings& settings, bool programThere) const;

    std::optional<std::string> cacheFile_;
    std::optional<std::string> offlineFolder_;
    std::optional<std::string> historyFile_;
    bool noHistory_ = false;
    SelectionFlags selection_;
    bool keepUrls_ = false;
    bool noKeepUrls_ = false;
    bool emphasis_ = false;
    bool noEmphasis_ = false;
    bool view_ = false;
    bool dryRun_ = false;
    bool noRegister_ = false;
    std::optional<std::string> report_;
};

}  // namespace restash::cli
