#include "cli/CliView.h"

namespace quorvel::cli {

void CliView::ShowPermissionProblem(const HidPermissionProblem& problem) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const HidPermissionProblem& p : problems_) {
        if (p.path == problem.path) return;
    }
    problems_.push_back(problem);
}

void CliView::SetFirmwareProgress(int percent, const std::string& text) {
    (void)text;
    progress_.Show("firmware", percent);
}

void CliView::SetDownloadProgress(int percent) { progress_.Show("download", percent); }

void CliView::EndFirmwareProgress() { progress_.Finish(); }

void CliView::TaskFinished(uint64_t, const DeviceTaskRequest&, const TaskResult&) {
    if (deviceListener_) deviceListener_();
}

void CliView::ShowConnectedView(int) {
    if (deviceListener_) deviceListener_();
}

std::vector<HidPermissionProblem> CliView::PermissionProblems() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return problems_;
}

}  // namespace quorvel::cli
