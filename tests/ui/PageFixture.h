#pragma once
// Page tests: a page (or dialog) on a real composition root with virtual mice, the worker running and the
// HID trace in a file. The test host queues what the page's actions name, counts the saving and DPI
// indicators, and answers file dialogs from a script; Drain() waits until every queued task has ended.
// Worker reports are not forwarded: a test calls the page's own method (Refresh, SelectDpiLevel ...), or
// emits the host's event (host->Events()), as the main window's bridge would.

#include <QWidget>
#include <deque>
#include <memory>

#include "UiTestSupport.h"
#include "actions/ActionTasks.h"
#include "session/SessionFixture.h"
#include "ui/common/FileDialogs.h"
#include "ui/common/CorePageHost.h"
#include "ui/common/UiText.h"

namespace quorvel::test {

// Answers open and save dialogs in order; records what each asked.
class ScriptedFileDialogs : public FileDialogs {
public:
    struct Asked {
        bool save = false;
        QString title, filter, suggested, suffix;
    };
    void Answer(const QString& path) { answers_.push_back(path); }
    QString OpenFile(QWidget*, const QString& title, const QString& filter) override {
        asked.push_back({false, title, filter, {}, {}});
        return Next();
    }
    QString SaveFile(QWidget*, const QString& title, const QString& suggested, const QString& filter,
                     const QString& suffix) override {
        asked.push_back({true, title, filter, suggested, suffix});
        return Next();
    }
    std::vector<Asked> asked;

private:
    QString Next() {
        if (answers_.empty()) return QString();  // cancelled
        QString path = answers_.front();
        answers_.pop_front();
        return path;
    }
    std::deque<QString> answers_;
};

class TestPageHost : public CorePageHost {
public:
    explicit TestPageHost(CoreSession& session) : texts_(new TextRegistry(&window_)) {
        SetSession(&session);
        Events().setParent(&window_);  // where dialogs over the window find it
        window_.resize(1400, 788);
    }
    std::vector<uint64_t> Queue(const ActionResult& result) override {
        std::vector<uint64_t> ids = CorePageHost::Queue(result);
        queued += ids.size();
        return ids;
    }
    void ShowSavingIndicator() override { ++savingShown; }
    void ShowDpiIndicator(int dpiValue) override { dpiShown.push_back(dpiValue); }
    void ProfileChanged() override { ++profileChanges; }
    void SetRecording(bool on) override { recording = on; }
    QWidget* Window() override { return &window_; }
    TextRegistry& Texts() override { return *texts_; }
    FileDialogs& Files() override { return files; }
    qreal LayoutScale() const override { return 1.0; }

    size_t queued = 0;
    int savingShown = 0;
    std::vector<int> dpiShown;
    int profileChanges = 0;
    bool recording = false;
    ScriptedFileDialogs files;

private:
    QWidget window_;
    TextRegistry* texts_;
};

class PageTest : public SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        static const bool styled = (InstallAppearance(), true);
        (void)styled;
        previousSkin_ = Skin::Instance().Dir();
        Skin::Instance().SetDir(emptySkin_.path() + '/');
    }
    void TearDown() override {
        host.reset();
        SetCurrentLanguage(kLcidEnglish);
        InstallLanguageFont(kLcidEnglish);
        Skin::Instance().SetDir(previousSkin_);
        SessionTest::TearDown();
    }

    // The session on these virtual mice, started and through discovery and read-back; then the host.
    void OpenMice(const std::string& mice) {
        Open(mice);
        Start(&gate);
        SetCurrentLanguage(kLcidEnglish);
        InstallLanguageFont(kLcidEnglish);
        host = std::make_unique<TestPageHost>(*session);
        SentSinceLastCall();  // discovery and read-back
    }
    // Waits until every task queued through the host (and task 1) has ended; false after 10 s.
    bool Drain() { return gate.WaitForEnds(1 + host->queued).size() == 1 + host->queued; }

    std::unique_ptr<TestPageHost> host;

private:
    QTemporaryDir emptySkin_;
    QString previousSkin_;
};

}  // namespace quorvel::test
