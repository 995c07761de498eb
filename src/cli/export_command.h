#pragma once
// export: the chosen part of the cache as a web archive (WARC with one
// record per cache file), as a .warc.gz file with an optional CDXJ index for
// replay tools, as a WACZ package for ReplayWeb.page, or both, with an
// optional manifest of every chosen entry.
#include <optional>
#include <string>

#include "cli/command.h"
#include "cli/selection_flags.h"

namespace restash::cli {

class ExportCommand final : public Command {
public:
    explicit ExportCommand(CLI::App& parent);
    std::vector<std::string> Repeatable() const override { return {"--domain", "--url"}; }
    std::vector<std::pair<std::string, std::string>> Conflicts() const override { return {{"--newer", "--older"}}; }
    int Run(RunContext& context) override;

private:
    std::optional<std::string> cacheFile_;
    SelectionFlags selection_;
    std::string warc_;
    std::optional<std::string> wacz_;
    std::optional<std::string> cdxj_;
    std::optional<std::string> manifest_;
    std::optional<std::string> report_;
};

}  // namespace restash::cli
