#include "cli/selection_flags.h"

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

}  // namespace restash::cli
