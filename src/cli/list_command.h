#pragma once
// list: the cache entry list, in reader order, as text, JSON or CSV.
#include <optional>
#include <string>

#include "cli/command.h"

namespace restash::cli {

class ListCommand final : public Command {
public:
    explicit ListCommand(CLI::App& parent);
    int Run(RunContext& context) override;

private:
    std::optional<std::string> cacheFile_;
    std::string format_ = "text";
};

}  // namespace restash::cli
