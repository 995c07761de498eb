#include "cli/selection_flags.h"

#include "cli/global_options.h"
#include "cli/shell_texts.h"
#include "cli/terminal_progress.h"

namespace restash::cli {

namespace {

// A CLI11 check that reports what the core's parser says is wrong.
template <typename Parse>
CLI::Validator CheckedBy(Parse parse, const char* name) {
    return CLI::Validator(
        [parse](std::string& value) -> std::string {
            try {
                parse(value);
            } catch (const SelectionOptionError& e) {
                return e.what();
            }
            return {};
        },
        "", name);
}

}  // namespace

void AddSelectionOptions(CLI::App& command, SelectionOptions& options) {
    command
        .add_option("--domain", options.domains,
                    "A domain to choose, without regard to letter case (repeatable; default: every domain of the "
                    "age window)")
        ->type_name("NAME");
    CLI::Option* newer = command.add_option("--newer", options.newer, "Only files newer than N hours, days or weeks")
                             ->type_name("N{h|d|w}")
                             ->check(CheckedBy(ParseAgeOption, "AGE"));
    CLI::Option* older = command.add_option("--older", options.older, "Only files older than N hours, days or weeks")
                             ->type_name("N{h|d|w}")
                             ->check(CheckedBy(ParseAgeOption, "AGE"));
    newer->excludes(older);
    command
        .add_option("--types", options.types,
                    "Kinds of files: text, media, other, separated by commas (default: text and media for a text "
                    "index, all three for a hash index)")
        ->type_name("LIST")
        ->check(CheckedBy(ParseTypesOption, "TYPES"));
}

std::shared_ptr<CacheSource> CheckedCacheSource(const Settings& settings, Messages& messages) {
    const std::string index = settings.CacheIndexPath();
    if (!IsFile(index)) {
        messages.ShowError(std::string(kCachePathInvalid) + "\r\rCache index not found: " + index);
        throw CommandFailed();
    }
    return OpenCacheSource(index);
}

void LoadSelection(CacheSelection& model, const Settings& settings, std::shared_ptr<const CacheSource> source,
                   const SelectionOptions& options, const Clock& clock) {
    model.Reset(source->Traits(), clock, settings.GMT);
    // The first paint's load, with its errors passed on rather than shown in
    // an empty window.
    if (model.Load(std::move(source)) == Ending::Stopped) throw StoppedByUser();
    ApplySelectionOptions(model, options);
}

std::shared_ptr<CacheSource> StartOnSelection(CacheSelection& model, const Settings& settings, const SelectionOptions& options,
                             const Clock& clock, const RunningCheck& netscapeRunning, Messages& loud,
                             const char* nothingText) {
    if (netscapeRunning()) throw CommandFailed();
    std::shared_ptr<CacheSource> source = CheckedCacheSource(settings, loud);
    LoadSelection(model, settings, source, options, clock);
    if (model.CheckedTotal() == 0) {
        // Said as an error: the command ends without doing anything.
        loud.ShowError(nothingText);
        throw CommandFailed();
    }
    return source;
}

}  // namespace restash::cli
