#include "gui/failure_box.h"

#include "core/jobs/job_texts.h"

namespace restash {

void ShowFailure(Messages& messages, const Failure& failure) {
    switch (failure.code) {
        case FailureCode::BrowserRunning:
        case FailureCode::CacheMissing: messages.Warning(failure.text); return;
        case FailureCode::NothingChosen:
            messages.Show(MessageKind::Warning, failure.text, Buttons::OkHelp, kNoFilesHelpTopic);
            return;
        case FailureCode::NotConfirmed:
        case FailureCode::None: return;
        case FailureCode::NoPageList:
        case FailureCode::Overlap:
        case FailureCode::InUse:
        case FailureCode::Error: messages.ShowError(failure.text); return;
    }
}

void ShowReadWarnings(Messages& messages, const Warnings& warnings) {
    constexpr std::size_t kShown = 10;
    if (warnings.empty()) return;
    // The last warning sums the others up (the damaged index): it comes first.
    std::string text = warnings.back().text;
    for (std::size_t i = 0; i + 1 < warnings.size() && i < kShown; ++i) text += "\r\n" + warnings[i].text;
    if (warnings.size() > kShown + 1) text += "\r\n...";
    messages.Warning(text);
}

}  // namespace restash
