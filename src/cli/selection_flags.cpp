#include "cli/selection_flags.h"

#include "cli/global_options.h"
#include "cli/locale_text.h"
#include "core/selection/date_window.h"

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

void AddSelectionOptions(CLI::App& command, SelectionFlags& flags, bool withUrl) {
    SelectionOptions& options = flags.options;
    command
        .add_option("--domain", options.domains,
                    "A domain to choose, without regard to letter case (repeatable; default: every domain of the "
                    "age window)")
        ->type_name("NAME");
    command.add_option("--newer", options.newer, "Only files newer than N hours, days or weeks")
        ->type_name("N{h|d|w}")
        ->check(CheckedBy(ParseAgeOption, "AGE"));
    command.add_option("--older", options.older, "Only files older than N hours, days or weeks")
        ->type_name("N{h|d|w}")
        ->check(CheckedBy(ParseAgeOption, "AGE"));
    const auto date = [](const std::string& text) { ParseDateOption("the date", text, 0); };
    command
        .add_option("--since", options.since,
                    "Only files of this day or moment or later (YYYY-MM-DD[THH:MM[:SS]], in the cache's time zone)")
        ->type_name("DATE")
        ->check(CheckedBy(date, "DATE"));
    command
        .add_option("--until", options.until,
                    "Only files of this day or moment or earlier (YYYY-MM-DD[THH:MM[:SS]], in the cache's time zone)")
        ->type_name("DATE")
        ->check(CheckedBy(date, "DATE"));
    command
        .add_option("--gmt", flags.gmt,
                    "The hours the cache's time zone lies east of UTC, for the age and the dates (default: the "
                    "GMT setting)")
        ->type_name("H")
        ->check(WholeNumber(-24, 24, "an hour offset"));
    command
        .add_option("--types", options.types,
                    "Kinds of files: text, media, other, separated by commas (default: text and media for a text "
                    "index, all three for a hash index)")
        ->type_name("LIST")
        ->check(CheckedBy(ParseTypesOption, "TYPES"));
    if (withUrl)
        command
            .add_option("--url", options.urls,
                        "Only addresses that match this shell-style pattern (*, ?, [...]; letter case counts; "
                        "repeatable)")
            ->type_name("GLOB");
}

SelectionOptions ForCache(const SelectionFlags& flags) {
    SelectionOptions options = flags.options;
    for (std::string& domain : options.domains) domain = ToCacheText(domain, "the domain '" + domain + "'");
    for (std::string& pattern : options.urls) pattern = ToCacheText(pattern, "the pattern '" + pattern + "'");
    return options;
}

void ApplyGmt(Settings& settings, const SelectionFlags& flags) {
    if (flags.gmt) settings.GMT = std::stoi(*flags.gmt);
}

}  // namespace restash::cli
