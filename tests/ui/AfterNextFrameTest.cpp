// Work held back until the window's next frame: after that frame's paint, at once for a hidden window,
// and after the wait at the latest when no frame comes.

#include <QtTest/QTest>

#include "UiTestSupport.h"
#include "ui/window/AfterNextFrame.h"

namespace quorvel {
namespace {

class CountedPaints : public QWidget {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

class AfterNextFrameTest : public test::UiTest {
protected:
    void ShowWindow() {
        window.resize(200, 100);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.paints > 0; }));
    }
    CountedPaints window;
};

TEST_F(AfterNextFrameTest, RunsOnceTheNextFrameIsPainted) {
    ShowWindow();
    const int before = window.paints;
    int paintsWhenRun = -1;
    AfterNextFrame(window, [&] { paintsWhenRun = window.paints; });
    EXPECT_EQ(paintsWhenRun, -1) << "not before the frame";
    window.update();
    ASSERT_TRUE(QTest::qWaitFor([&] { return paintsWhenRun >= 0; }));
    EXPECT_GT(paintsWhenRun, before);
}

TEST_F(AfterNextFrameTest, AHiddenWindowRunsItAtOnce) {
    bool ran = false;
    AfterNextFrame(window, [&] { ran = true; });
    EXPECT_TRUE(ran);
}

TEST_F(AfterNextFrameTest, WithoutAFrameItRunsAfterTheWait) {
    ShowWindow();
    bool ran = false;
    AfterNextFrame(window, [&] { ran = true; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return ran; }));
}

}  // namespace
}  // namespace quorvel
