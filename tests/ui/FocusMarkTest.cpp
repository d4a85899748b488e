// Keyboard focus shows: every Tab stop of every view changes what it draws when Tab reaches it, Qt's
// buttons carry the skin's accent ring then (but not after a click).

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QVBoxLayout>

#include "FocusWalk.h"
#include "MainWindowFixture.h"
#include "toolkit/CDeviceList.h"
#include "toolkit/CImageButton.h"
#include "toolkit/Theme.h"
#include "ui/pages/home/HomePage.h"
#include "ui/window/MainFrame.h"

namespace quorvel::test {
namespace {

bool NearAccent(QRgb pixel) {
    const QColor a = AccentColor();
    return qAbs(qRed(pixel) - a.red()) + qAbs(qGreen(pixel) - a.green()) + qAbs(qBlue(pixel) - a.blue()) < 60;
}

// Pixels of `rect` that differ between the two pictures, and how many of those are near the accent.
struct Change {
    int pixels = 0, accent = 0;
};
Change Compare(const QImage& before, const QImage& after, const QRect& rect) {
    Change change;
    const QRect r = rect.intersected(after.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb b = before.pixel(x, y), a = after.pixel(x, y);
            if (a == b) continue;
            ++change.pixels;
            if (NearAccent(a) && !NearAccent(b)) ++change.accent;
        }
    return change;
}

QImage Picture(QWidget* window) {
    return window->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

class FocusMark : public MainWindowTest {
protected:
    // Walks the view's Tab stops; each must draw differently with focus than it did just before.
    void ExpectEveryStopShowsFocus(const char* view) {
        SCOPED_TRACE(view);
        const std::vector<QWidget*> stops = WalkTab(window.get());
        ASSERT_FALSE(stops.empty());
        // From no focus, then from stop to stop: each compared with the picture just before it got focus.
        QApplication::focusWidget()->clearFocus();
        QImage before = Picture(window.get());
        for (size_t i = 0; i < stops.size(); ++i) {
            QWidget* stop = stops[i];
            QTest::keyClick(i == 0 ? window.get() : QApplication::focusWidget(), Qt::Key_Tab);
            ASSERT_EQ(QApplication::focusWidget(), stop) << StopName(stop).toStdString();
            const QImage after = Picture(window.get());
            const QRect rect(stop->mapTo(window.get(), QPoint(0, 0)), stop->size());
            const Change change = Compare(before, after, rect);
            EXPECT_GE(change.pixels, 20)
                << StopName(stop).toStdString() << " (" << stop->metaObject()->className() << ") shows no focus";
            if (qobject_cast<QPushButton*>(stop) || qobject_cast<QCheckBox*>(stop) ||
                qobject_cast<QRadioButton*>(stop)) {
                EXPECT_GE(change.accent, 20) << StopName(stop).toStdString() << ": no accent ring";
            }
            before = after;
        }
    }
};

TEST_F(FocusMark, EveryTabStopOfEveryViewShowsFocus) {
    OpenWindow("102:wired;103:wireless");
    ASSERT_TRUE(Activate(window.get()));
    ASSERT_TRUE(WaitFor([&] { return CurrentView() == MainViews::View::DeviceList; }));
    ExpectEveryStopShowsFocus("home");
    emit window->Home().List().deviceClicked(102);
    ExpectEveryStopShowsFocus("buttons");
    const std::pair<int, const char*> pages[] = {{MainTabs::kPerformanceItem, "performance"},
                                                 {MainTabs::kMacrosItem, "macros"},
                                                 {MainTabs::kLightingItem, "lighting"},
                                                 {MainTabs::kDeviceInfoItem, "device info"}};
    for (const auto& [item, view] : pages) {
        PickTab(item);
        ExpectEveryStopShowsFocus(view);
    }
    Find<QAbstractButton>(MainFrame::kSettings)->click();
    ExpectEveryStopShowsFocus("settings");
}

// The ring is the keyboard's: focus that a click gave draws nothing, focus that Tab gave draws the accent.
TEST_F(FocusMark, QtButtonsRingOnlyForKeyboardFocus) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* first = new QPushButton("First");
    QAbstractButton* controls[] = {new QPushButton("Apply"), new QCheckBox("Start at log-in"),
                                   new QRadioButton("Hide"), new QCheckBox};
    layout->addWidget(first);
    for (QAbstractButton* c : controls) layout->addWidget(c);
    window.resize(300, 240);
    window.show();
    ASSERT_TRUE(Activate(&window));
    for (QAbstractButton* c : controls) {
        SCOPED_TRACE(c->text().toStdString());
        first->setFocus(Qt::MouseFocusReason);
        const QImage unfocused = Picture(&window);
        const QRect rect(c->mapTo(&window, QPoint(0, 0)), c->size());

        first->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);  // Tab goes on from the first
        while (QApplication::focusWidget() != c) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_GE(Compare(unfocused, Picture(&window), rect).accent, 20) << "no ring after Tab";
    }
    // A click on a button takes the ring away.
    QAbstractButton* apply = controls[0];
    QTest::mouseClick(apply, Qt::LeftButton);
    ASSERT_TRUE(apply->hasFocus());
    first->setFocus(Qt::MouseFocusReason);
    const QImage unfocused = Picture(&window);
    QTest::mouseClick(apply, Qt::LeftButton);
    const QRect rect(apply->mapTo(&window, QPoint(0, 0)), apply->size());
    EXPECT_EQ(Compare(unfocused, Picture(&window), rect).accent, 0) << "a ring after a click";
}

// Enter acts on a focused button as Space does; a check box keeps Space alone.
TEST_F(FocusMark, EnterActsOnAFocusedButton) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* push = new QPushButton("Apply");
    auto* image = new CImageButton;
    auto* check = new QCheckBox("Start at log-in");
    for (QWidget* w : {static_cast<QWidget*>(push), static_cast<QWidget*>(image), static_cast<QWidget*>(check)})
        layout->addWidget(w);
    window.show();
    ASSERT_TRUE(Activate(&window));
    for (QAbstractButton* button : {static_cast<QAbstractButton*>(push), static_cast<QAbstractButton*>(image)}) {
        for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
            QSignalSpy clicked(button, &QAbstractButton::clicked);
            button->setFocus(Qt::TabFocusReason);
            QTest::keyClick(button, Qt::Key(key));
            EXPECT_EQ(clicked.count(), 1) << button->metaObject()->className() << " key " << key;
        }
    }
    check->setFocus(Qt::TabFocusReason);
    QTest::keyClick(check, Qt::Key_Return);
    EXPECT_FALSE(check->isChecked());
    QTest::keyClick(check, Qt::Key_Space);
    EXPECT_TRUE(check->isChecked());
}

}  // namespace
}  // namespace quorvel::test
