#include "cli/settings_command.h"

#include "cli/exit_codes.h"
#include "cli/text_output.h"

namespace restash::cli {

SettingsCommand::SettingsCommand(CLI::App& parent) {
    app_ = parent.add_subcommand("settings", "The effective settings");
}

int SettingsCommand::Run(RunContext& context) {
    const Settings s = LoadCliSettings(context.global);
    auto yesNo = [](bool b) { return std::string(b ? "true" : "false"); };
    TextTable table({"SETTING", "VALUE"});
    table.SetLocaleColumns({true, true});
    table.Add({"ProgramDir", s.ProgramDir});
    table.Add({"NetscapeDir", s.NetscapeDir});
    table.Add({"NetscapeExe", s.NetscapeExe});
    table.Add({"CacheDir", s.CacheDir});
    table.Add({"FatName", s.FatName});
    table.Add({"HistPath", s.HistPath});
    table.Add({"OfflineDir", s.OfflineDir});
    table.Add({"ExeName", s.ExeName});
    table.Add({"HstName", s.HstName});
    table.Add({"GMT", std::to_string(s.GMT)});
    table.Add({"NotFoundURL", yesNo(s.NotFoundURL)});
    table.Add({"Tag", s.Tag});
    table.Add({"EmphTag", yesNo(s.EmphTag)});
    table.Print(context.out);
    return kExitDone;
}

}  // namespace restash::cli
