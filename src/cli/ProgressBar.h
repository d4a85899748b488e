#pragma once
// A one-line progress bar on stderr for firmware transfers and downloads, drawn only when stderr is a
// terminal (so logs and pipes stay clean). Updates may come from the worker thread.

#include <cstdio>
#include <mutex>
#include <string>

namespace quorvel::cli {

class ProgressBar {
public:
    // enabled false: every call does nothing. Use ForTerminal() for the usual choice.
    ProgressBar(std::FILE* stream, bool enabled) : stream_(stream), enabled_(enabled) {}
    static bool StderrIsTerminal();

    // Starts a bar with a label ("firmware", "download"); a running bar is finished first.
    void Start(const std::string& label);
    // 0..100; redraws only when the value changes.
    void Update(int percent);
    // Update under this label; a bar with another label is finished and a new one started.
    void Show(const std::string& label, int percent);
    // Ends the line (the bar stays visible); nothing when no bar is running.
    void Finish();

    // The text of a bar, for tests: "label [#####.....]  50%".
    static std::string Render(const std::string& label, int percent, int width = 30);

private:
    void FinishLocked();

    std::mutex mutex_;
    std::FILE* stream_;
    bool enabled_;
    bool running_ = false;
    int last_ = -1;
    std::string label_;
};

}  // namespace quorvel::cli
