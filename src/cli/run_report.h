#pragma once
// --report FILE: one JSON document about one run, for the notes of an
// examination: the program and its version, the command line, the cache
// index with its SHA-256 as it was read, the start and end (UTC), the
// selection, the counts, every warning and every entry left out with its
// reason. Written whole under a temporary name and then renamed into place;
// never inside the cache folder.
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/selection_flags.h"
#include "cli/words.h"
#include "core/jobs/outcome.h"

namespace restash::cli {

// --report FILE on a command.
void AddReportOption(CLI::App& command, std::optional<std::string>& path);

class RunReport {
public:
    // Nothing is recorded when path is not given.
    RunReport(const RunContext& context, const std::optional<std::string>& path, const std::string& command);

    // The cache index read, with the SHA-256 of its bytes now. Throws
    // UsageError when the report would go into the cache folder.
    void SetCache(const std::string& indexPath);
    void SetOfflineRoot(const std::string& root);
    void SetSelection(const SelectionFlags& flags, const Settings& settings);
    // A member of the document: "counts", "planned" ...
    void Set(const std::string& key, nlohmann::ordered_json value);

    template <typename Summary>
    void SetOutcome(const Outcome<Summary>& outcome, const Settings& settings, std::string_view work) {
        SetEnd(outcome.status, outcome.failure, outcome.warnings, outcome.leftOut, settings, work);
    }

    // Writes the document, when one was asked for. Throws the file error.
    void Write();

private:
    void SetEnd(JobStatus status, const Failure& failure, const std::vector<Warning>& warnings,
                const std::vector<LeftOut>& leftOut, const Settings& settings, std::string_view work);

    const RunContext& context_;
    std::optional<std::string> path_;
    nlohmann::ordered_json doc_;
};

// The SHA-256 of a file's bytes in hexadecimal; nothing when it cannot be read.
std::optional<std::string> FileSha256(const std::string& path);

}  // namespace restash::cli
