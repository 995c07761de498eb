#include "core/jobs/export_job.h"

#include "core/export/export_archive.h"
#include "core/jobs/job_texts.h"
#include "core/jobs/output_overlap.h"
#include "core/platform/error.h"
#include "core/platform/paths.h"

namespace restash {
namespace {

Outcome<ExportSummary> Completed(const ExportReport& report, Messages& messages) {
    Outcome<ExportSummary> o;
    o.summary = report;
    for (const ExportFailure& f : report.absent) o.leftOut.push_back({f.url, f.body, LeftOutReason::BodyMissing, {}});
    Warnings notArchived;
    for (const ExportFailure& f : report.failures) {
        const LeftOutReason reason = f.noAddress ? LeftOutReason::NoAddress : LeftOutReason::BodyUnreadable;
        o.leftOut.push_back({f.url, f.body, reason, f.what});
        notArchived.push_back({WarningCode::BodiesNotArchived, f.what, f.body});
    }
    ShowWarnings(notArchived, messages, o.warnings);
    return o;
}

JobPaths ExportPaths(const ExportRequest& request) {
    JobPaths paths;
    paths.cacheIndex = request.settings.CacheIndexPath();
    for (const auto* output : {&request.wacz, &request.cdxj, &request.manifest})
        if (*output) paths.outputs.push_back(**output);
    if (!request.warc.empty()) paths.outputs.push_back(request.warc);
    return paths;
}

}  // namespace

ExportJob::ExportJob(ExportRequest request, Services services)
    : request_(std::move(request)), services_(services), part_(request_.selection, services_) {}

Outcome<ExportSummary> ExportJob::Run() {
    if (auto overlap = CheckOutputsApart(ExportPaths(request_))) return Outcome<ExportSummary>::Failed(*overlap);
    try {
        // The manifest lists the chosen entries whose cache file is gone too.
        const JobStatus prepared =
            part_.Prepare(request_.settings, {BrowserCheck::Warn, true, kNoFilesToExport, true});
        if (prepared == JobStatus::Stopped) return Outcome<ExportSummary>::Stopped();
        if (prepared == JobStatus::Failed) return Outcome<ExportSummary>::Failed(part_.failure());
        CacheSelection& state = part_.State();
        std::vector<LeftOut> byChoice = part_.LeftOutByChoice();
        ExportOptions options;
        options.warcPath = request_.warc;
        options.waczPath = request_.wacz;
        options.cdxjPath = request_.cdxj;
        options.manifestPath = request_.manifest;
        options.sourceCacheName = AbsolutePath(request_.settings.CacheIndexPath());
        options.createdAt = services_.clock.Now();
        const ExportReport report = ExportArchive(state.Entries(), state.Current(), *state.Source(), options,
                                                  services_.progress, services_.fs);
        if (report.ending == Ending::Stopped) return Outcome<ExportSummary>::Stopped();
        Outcome<ExportSummary> o = Completed(report, services_.messages);
        o.warnings.insert(o.warnings.begin(), part_.CacheWarnings().begin(), part_.CacheWarnings().end());
        o.leftOut.insert(o.leftOut.end(), std::make_move_iterator(byChoice.begin()),
                         std::make_move_iterator(byChoice.end()));
        return o;
    } catch (const Error& e) {
        return Outcome<ExportSummary>::Failed(ErrorFailure(e));
    }
}

}  // namespace restash
