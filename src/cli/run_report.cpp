#include "cli/run_report.h"

#include <filesystem>
#include <fstream>

#include "cli/locale_text.h"
#include "core/app/version.h"
#include "core/export/digest_text.h"
#include "core/export/sha256.h"
#include "core/platform/file_system.h"
#include "core/platform/paths.h"
#include "core/selection/date_window.h"

namespace restash::cli {
namespace {

const char* StatusName(JobStatus status) {
    switch (status) {
        case JobStatus::Completed: return "completed";
        case JobStatus::Stopped: return "stopped";
        case JobStatus::Failed: return "failed";
    }
    return "failed";
}

nlohmann::ordered_json Optional(const std::optional<std::string>& text) {
    return text ? nlohmann::ordered_json(LocaleToUtf8(*text)) : nlohmann::ordered_json();
}

// Whether path lies in folder or below it.
bool Inside(const std::string& path, const std::string& folder) {
    std::error_code ec;
    const std::filesystem::path file = std::filesystem::weakly_canonical(path, ec);
    const std::filesystem::path dir = std::filesystem::weakly_canonical(folder, ec);
    if (dir.empty()) return false;
    auto f = file.begin();
    for (auto d = dir.begin(); d != dir.end(); ++d, ++f) {
        if (d->empty()) continue;  // the trailing "/" of a folder
        if (f == file.end() || *f != *d) return false;
    }
    return true;
}

}  // namespace

void AddReportOption(CLI::App& command, std::optional<std::string>& path) {
    command
        .add_option("--report", path,
                    "Write a JSON report of the run to FILE (never inside the cache folder): version, command line, "
                    "the index's SHA-256, times, selection, counts, warnings, entries left out")
        ->type_name("FILE");
}

std::optional<std::string> FileSha256(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    Sha256 sha;
    std::string buffer(1 << 16, '\0');
    while (in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        sha.Update(std::string_view(buffer.data(), static_cast<std::size_t>(in.gcount())));
    }
    if (in.bad()) return std::nullopt;
    const Sha256::Digest digest = sha.Final();
    return Hex(digest);
}

RunReport::RunReport(const RunContext& context, const std::optional<std::string>& path, const std::string& command)
    : context_(context), path_(path ? std::optional(AbsolutePath(*path)) : std::nullopt) {
    if (!path_) return;
    nlohmann::ordered_json arguments = nlohmann::ordered_json::array();
    for (const std::string& a : context.arguments) arguments.push_back(LocaleToUtf8(a));
    doc_ = {{"program", kProgramName},
            {"version", ProgramVersion()},
            {"command", command},
            {"command_line", arguments},
            {"started", IsoUtcOf(context.services.clock.Now())}};
}

void RunReport::SetCache(const std::string& indexPath) {
    if (!path_) return;
    if (Inside(*path_, DirPart(indexPath)))
        throw UsageError("the report " + *path_ + " would go into the cache folder " + DirPart(indexPath) +
                         "; restash-cli never writes into the cache it reads");
    doc_["cache_index"] = {{"path", LocaleToUtf8(indexPath)}, {"sha256", Optional(FileSha256(indexPath))}};
}

void RunReport::SetOfflineRoot(const std::string& root) {
    if (path_) doc_["offline_root"] = LocaleToUtf8(root);
}

void RunReport::SetSelection(const SelectionFlags& flags, const Settings& settings) {
    if (!path_) return;
    const SelectionOptions& o = flags.options;
    nlohmann::ordered_json domains = nlohmann::ordered_json::array(), urls = nlohmann::ordered_json::array();
    for (const std::string& d : o.domains) domains.push_back(LocaleToUtf8(d));
    for (const std::string& u : o.urls) urls.push_back(LocaleToUtf8(u));
    doc_["selection"] = {{"domains", domains}, {"newer", Optional(o.newer)}, {"older", Optional(o.older)},
                         {"since", Optional(o.since)}, {"until", Optional(o.until)}, {"gmt", settings.GMT},
                         {"types", Optional(o.types)}, {"urls", urls}};
}

void RunReport::Set(const std::string& key, nlohmann::ordered_json value) {
    if (path_) doc_[key] = std::move(value);
}

void RunReport::SetEnd(JobStatus status, const Failure& failure, const std::vector<Warning>& warnings,
                       const std::vector<LeftOut>& leftOut, const Settings& settings, std::string_view work) {
    if (!path_) return;
    doc_["outcome"] = StatusName(status);
    if (status == JobStatus::Failed)
        doc_["failure"] = {{"code", FailureCodeName(failure.code)},
                           {"message", LocaleToUtf8(FailureText(failure, settings, work))}};
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const Warning& w : warnings)
        list.push_back({{"code", WarningCodeName(w.code)}, {"message", LocaleToUtf8(WarningText(w, leftOut, settings))}});
    doc_["warnings"] = std::move(list);
    list = nlohmann::ordered_json::array();
    for (const LeftOut& l : leftOut)
        list.push_back({{"url", Latin1ToUtf8(l.url)},
                        {"file", MixedToUtf8(l.body)},
                        {"reason", ReasonText(l.reason)},
                        {"detail", MixedToUtf8(l.detail)}});
    doc_["left_out"] = std::move(list);
}

void RunReport::Write() {
    if (!path_) return;
    doc_["ended"] = IsoUtcOf(context_.services.clock.Now());
    const std::string text = doc_.dump(2) + "\n";
    ReplaceFile(RealFileSystem(), *path_, [&](OutputFile& out) { out.Write(text); });
}

}  // namespace restash::cli
