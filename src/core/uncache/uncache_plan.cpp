#include "core/uncache/uncache_plan.h"

#include "core/app/program_dir.h"
#include "core/offline/offline_names.h"
#include "core/offline/offline_tree.h"
#include "core/uncache/copy_targets.h"

namespace restash {
namespace {

// The names a run finds in place once it has emptied the tree: its folders
// and page list in the root, the support images, the placeholder page.
void TakeFreshTreeNames(const std::string& programDir, LocalNames& names) {
    for (const char* name : {"MEDIA", "OTHERS", "TEMP", kPageList}) names.Take("", name);
    for (const char* image : kSupportImages)
        if (!FindSupportFile(programDir, image).empty()) names.Take(kMediaFolder, image);
    names.Take(kTempFolder, kIndexPage);
}

}  // namespace

UncachePlan PlanUncache(const Settings& settings, const CacheSource& source, const CacheEntryList& entries,
                        const Selection& selection) {
    UncachePlan plan;
    plan.historyMissing = source.Traits().rewritesHistory && !PathExists(settings.HistPath);
    LocalNames names;
    TakeFreshTreeNames(settings.ProgramDir, names);
    const std::unique_ptr<BodyLookup> bodies = source.Bodies();
    for (const CacheEntry& entry : entries) {
        if (!IsSelected(entry, selection)) continue;
        if (!bodies->Find(entry)) {
            plan.gone.push_back({CleanURL(entry.Url), entry.Body.Name, {}});
            continue;
        }
        const CopyTarget target = TargetFor(entry, names);
        plan.files.push_back({target.url, target.Path(), entry.category, target.isPage});
    }
    return plan;
}

}  // namespace restash
