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
        case FailureCode::Error: messages.ShowError(failure.text); return;
    }
}

}  // namespace restash
