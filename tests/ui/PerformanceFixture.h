#pragma once
// The performance page on virtual mice: the page in its design size, filled by a refresh; a view that
// records what the worker reports about the DPI button (the main window's bridge hands it to the page);
// a host whose DPI indicator is the real one; and the bytes a page change must send, to compare with the
// HID trace.

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QtTest/QTest>
#include <condition_variable>
#include <mutex>
#include <optional>

#include "PageFixture.h"
#include "device/PageState.h"
#include "store/SettingsCatalogue.h"
#include "toolkit/DPIControl.h"
#include "toolkit/DPISlider.h"
#include "ui/dialogs/DPIMsgDlg.h"
#include "ui/pages/performance/DpiPanel.h"
#include "ui/pages/performance/PerformancePage.h"

namespace quorvel::test {

// Task ends as GateView keeps them, and the DPI reports of the worker.
class DpiReportView : public GateView {
public:
    struct Level {
        int level, value, sensor;
    };
    void SelectDpiLevel(int level, int dpiValue, int sensorCode) override {
        std::lock_guard<std::mutex> lock(mutex_);
        levels_.push_back({level, dpiValue, sensorCode});
        reported_.notify_all();
    }
    // The first level report (nothing after 10 s).
    std::optional<Level> WaitForLevel() {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!reported_.wait_for(lock, 10s, [&] { return !levels_.empty(); })) return std::nullopt;
        return levels_.front();
    }

private:
    std::mutex mutex_;
    std::condition_variable reported_;
    std::vector<Level> levels_;
};

// The test host with the program's DPI indicator behind ShowDpiIndicator.
class IndicatorHost : public TestPageHost {
public:
    explicit IndicatorHost(CoreSession& session) : TestPageHost(session), indicator(Window()) {}
    void ShowDpiIndicator(int dpiValue) override {
        TestPageHost::ShowDpiIndicator(dpiValue);
        indicator.ShowValue(dpiValue);
    }
    DPIMsgDlg indicator;
};

class PerformancePageTest : public PageTest {
protected:
    void TearDown() override {
        delete page;
        page = nullptr;
        PageTest::TearDown();
    }

    // Ends the session, so a test can open another on other mice.
    void ClosePage() {
        delete page;
        page = nullptr;
        host.reset();
        session.reset();
        db.Close();
    }

    // The session on these mice (started on the recording view), the host and the refreshed page.
    // `prepare` runs on the settings before the refresh.
    void OpenPage(const std::string& mice, const std::function<void()>& prepare = {}) {
        Open(mice);
        reports = std::make_unique<DpiReportView>();
        Start(reports.get());
        SetCurrentLanguage(kLcidEnglish);
        InstallLanguageFont(kLcidEnglish);
        auto indicatorHost = std::make_unique<IndicatorHost>(*session);
        indicatorHost_ = indicatorHost.get();
        host = std::move(indicatorHost);
        if (prepare) prepare();
        page = new PerformancePage(*host, host->Window());
        page->resize(PerformancePage::kDesignSize);
        host->Window()->show();
        page->show();
        page->Refresh();
        SentSinceLastCall();
    }
    // Waits until every task queued through the host (and task 1) has ended.
    bool Settle() { return reports->WaitForEnds(1 + host->queued).size() == 1 + host->queued; }

    int Profile() { return session->Core().CurrentProfile(); }
    std::string Get(const std::string& key) {
        std::string value;
        db.GetConfig(Profile(), key, value);
        return value;
    }
    void Set(const std::string& key, const std::string& value) { db.SetConfig(Profile(), key, value); }
    DeviceState Device() { return session->Core().Snapshot(); }

    template <typename T = QWidget>
    T* Find(int id) {
        return Control<T>(page, id);
    }
    DPIControl* Levels() { return Find<DPIControl>(DpiPanel::kLevels); }
    DPISlider* Slider() { return Find<DPISlider>(DpiPanel::kSlider); }
    DPIMsgDlg& Indicator() { return indicatorHost_->indicator; }

    // Where a level's card is (the control keeps six cards' width and centres fewer), `part` of its height
    // down: below the value (which a click on the active level would edit) and the colour swatch.
    QPoint LevelPoint(int level, qreal part = 0.86) {
        DPIControl* c = Levels();
        const int count = c->GetItemCount(), columns = std::max(count, 6);
        const qreal gap = 10, w = (c->width() - gap * (columns - 1)) / columns;
        const qreal left = (c->width() - (count * w + (count - 1) * gap)) / 2;
        return QPoint(qRound(left + level * (w + gap) + w / 2), qRound(c->height() * part));
    }
    QPoint SwatchPoint(int level) {
        DPIControl* c = Levels();
        const int count = c->GetItemCount(), columns = std::max(count, 6);
        const qreal gap = 10, w = (c->width() - gap * (columns - 1)) / columns;
        const qreal left = (c->width() - (count * w + (count - 1) * gap)) / 2;
        const qreal side = qBound(14.0, (c->height() - 2) * 0.2, 26.0);
        return QPoint(qRound(left + level * (w + gap) + w - 1 - side / 2 - 10), qRound(1 + 10 + side / 2));
    }
    void ClickLevel(int level) { QTest::mouseClick(Levels(), Qt::LeftButton, {}, LevelPoint(level)); }
    // Types into a level as the in-place editor takes it.
    void TypeLevel(int level, const QString& text) {
        Levels()->EditItem(level);
        auto* editor = Levels()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->setText(text);
        Levels()->EndEdit();
    }
    void ChooseCount(int count) {
        auto* box = Find<QComboBox>(DpiPanel::kCount);
        const int index = box->findData(count);
        box->setCurrentIndex(index);
        emit box->activated(index);
    }

    // The next feature-family sequence number the worker will use, for the expected lines.
    int NextSequence() { return static_cast<int>(Device().featureWriteCounter % 255); }
    std::vector<std::string> Issues() {
        std::vector<std::string> issues;
        for (const SimIssue& issue : Mice().AllIssues()) issues.push_back(DescribeIssue(issue));
        return issues;
    }

    std::unique_ptr<DpiReportView> reports;  // one per session: it counts the session's task ends
    PerformancePage* page = nullptr;

private:
    IndicatorHost* indicatorHost_ = nullptr;
};

// "AB" of a byte.
inline std::string Hex(int byte) {
    char text[4];
    std::snprintf(text, sizeof text, "%02X", byte & 0xFF);
    return text;
}

// The DPI command of the report family: active level and count, then each level's raw code twice (X, Y).
inline std::string ReportDpiLine(int index, int count, const std::vector<int>& raws) {
    std::string head = "00 03 00 01 25 " + Hex(index << 4 | count);
    for (int raw : raws) head += " " + Hex(raw) + " " + Hex(raw >> 8) + " " + Hex(raw) + " " + Hex(raw >> 8);
    return ReportWrite(head);
}
// The same in the feature family: sequence, level number (from 1) and count, 0x3F, six raw codes.
inline std::string FeatureDpiLine(int sequence, int index, int count, const std::vector<int>& raws) {
    std::string head = "0C 01 05 00 " + Hex(sequence) + " 01 12 " + Hex((index + 1) << 4 | count) + " 3F";
    for (int raw : raws) head += " " + Hex(raw) + " " + Hex(raw >> 8);
    return FeatureSend(head);
}

}  // namespace quorvel::test
