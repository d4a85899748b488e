#include "cli/ProgressBar.h"

#include <unistd.h>

#include <algorithm>

namespace quorvel::cli {

bool ProgressBar::StderrIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

std::string ProgressBar::Render(const std::string& label, int percent, int width) {
    percent = std::clamp(percent, 0, 100);
    const int filled = percent * width / 100;
    char number[8];
    std::snprintf(number, sizeof number, "%3d%%", percent);
    return label + " [" + std::string(filled, '#') + std::string(width - filled, '.') + "] " + number;
}

void ProgressBar::Start(const std::string& label) {
    if (!enabled_) return;
    std::lock_guard<std::mutex> lock(mutex_);
    if (running_) FinishLocked();
    running_ = true;
    last_ = -1;
    label_ = label;
}

void ProgressBar::Update(int percent) {
    if (!enabled_) return;
    std::lock_guard<std::mutex> lock(mutex_);
    if (!running_) {
        running_ = true;
        last_ = -1;
    }
    percent = std::clamp(percent, 0, 100);
    if (percent == last_) return;
    last_ = percent;
    std::fprintf(stream_, "\r%s", Render(label_, percent).c_str());
    std::fflush(stream_);
}

void ProgressBar::Show(const std::string& label, int percent) {
    if (!enabled_) return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!running_ || label_ != label) {
            FinishLocked();
            running_ = true;
            last_ = -1;
            label_ = label;
        }
    }
    Update(percent);
}

void ProgressBar::Finish() {
    if (!enabled_) return;
    std::lock_guard<std::mutex> lock(mutex_);
    FinishLocked();
}

void ProgressBar::FinishLocked() {
    if (!running_) return;
    running_ = false;
    if (last_ >= 0) {
        std::fputc('\n', stream_);
        std::fflush(stream_);
    }
    last_ = -1;
}

}  // namespace quorvel::cli
