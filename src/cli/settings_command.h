#pragma once
// settings: the effective settings, as RESTASH.INI and the defaults give them.
#include "cli/command.h"

namespace restash::cli {

class SettingsCommand final : public Command {
public:
    explicit SettingsCommand(CLI::App& parent);
    int Run(RunContext& context) override;
};

}  // namespace restash::cli
