#include "cli/CliView.h"

namespace quorvel::cli {

int CliView::SelectDevice(int rememberedType, int suggested) {
    (void)rememberedType;
    // A named model is selected even when it is absent, so the command reports it as not connected
    // instead of silently acting on another mouse.
    return requested_ ? *requested_ : suggested;
}

void CliView::ShowPermissionProblem(const HidPermissionProblem& problem) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const HidPermissionProblem& p : problems_) {
        if (p.path == problem.path) return;
    }
    problems_.push_back(problem);
}

void CliView::RefreshPages(unsigned pages) {
    if (refresh_) refresh_(pages);
}

void CliView::SetFirmwareProgress(int percent, const std::string& text) {
    (void)text;
    progress_.Show("firmware", percent);
}

void CliView::SetDownloadProgress(int percent) { progress_.Show("download", percent); }

void CliView::EndFirmwareProgress() { progress_.Finish(); }

std::vector<HidPermissionProblem> CliView::PermissionProblems() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return problems_;
}

}  // namespace quorvel::cli
