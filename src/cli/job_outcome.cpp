#include "cli/job_outcome.h"

#include <string>

#include "cli/cli_texts.h"

namespace restash::cli {

void PrintFailure(const Failure& failure, StderrMessages& messages) {
    switch (failure.code) {
        case FailureCode::CacheMissing:
            messages.ShowError(failure.text + "\r\r" + kCacheIndexNotFound + failure.path);
            return;
        case FailureCode::NoPageList:
            messages.ShowError(failure.text + "\rNo page list at " + failure.path + "; 'restash-cli uncache' makes one.");
            return;
        case FailureCode::NotConfirmed: messages.ShowError(kNothingDeleted); return;
        case FailureCode::BrowserRunning:
        case FailureCode::NothingChosen:
        case FailureCode::Overlap:
        case FailureCode::InUse:
        case FailureCode::Error:
        case FailureCode::None: messages.ShowError(failure.text); return;
    }
}

}  // namespace restash::cli
