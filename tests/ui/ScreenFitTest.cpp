// Every page and dialog fits the screen it opens on and shows its texts whole, in English and Chinese, at
// the screen sizes and scales people have. ctest runs this once per screen (tests/fixtures/screens/: the
// offscreen platform's screen, QUORVEL_SCREEN naming it); run without a screen named it is skipped. All
// problems of a run are listed together, one line each: "screen / language / window / control: what".

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <functional>

#include "MainWindowFixture.h"
#include "toolkit/CDeviceList.h"
#include "ui/dialogs/AboutDlg.h"
#include "ui/dialogs/CUIMessageBox.h"
#include "ui/dialogs/DPIMsgDlg.h"
#include "ui/dialogs/MousePaletteDlg.h"
#include "ui/dialogs/ProfileAppsDlg.h"
#include "ui/dialogs/ProfileDlg.h"
#include "ui/dialogs/RecordEditDlg.h"
#include "ui/dialogs/SaveWaitDlg.h"
#include "ui/dialogs/UpdateProcessDlg.h"
#include "ui/dialogs/UpdateTipDlg.h"
#include "ui/pages/home/HomePage.h"
#include "ui/window/MainFrame.h"

namespace quorvel::test {
namespace {

using View = MainViews::View;

// No text is set smaller than this (logical pixels; the screen's scale comes on top).
constexpr int kSmallestFontPx = 9;

QString Describe(const QRect& r) {
    return QString("%1x%2 at (%3,%4)").arg(r.width()).arg(r.height()).arg(r.x()).arg(r.y());
}

// The control's name in a report: its id, else its class under its parent's name.
QString NameOf(const QWidget* w) {
    if (!w->objectName().isEmpty()) return w->objectName();
    const QWidget* parent = w->parentWidget();
    return QString("%1 in %2").arg(w->metaObject()->className(), parent ? NameOf(parent) : "nothing");
}

// The content of a scroll area's viewport: it may reach past the viewport, that is what scrolling is for.
bool ScrolledContent(const QWidget* w) {
    const QWidget* parent = w->parentWidget();
    auto* area = parent ? qobject_cast<const QAbstractScrollArea*>(parent->parentWidget()) : nullptr;
    return area && area->viewport() == parent;
}
bool InScrolledContent(const QWidget* w) {
    for (; w; w = w->parentWidget())
        if (ScrolledContent(w)) return true;
    return false;
}

// The room a button's text gets, as the style lays the button out.
QRect ButtonTextRoom(const QAbstractButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    QStyle::SubElement element = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QCheckBox*>(button)) element = QStyle::SE_CheckBoxContents;
    if (qobject_cast<const QRadioButton*>(button)) element = QStyle::SE_RadioButtonContents;
    QRect room = button->style()->subElementRect(element, &option, button);
    if (!button->icon().isNull()) room.setLeft(room.left() + button->iconSize().width() + 4);
    return room;
}

// What is wrong with the text a control shows (empty: nothing).
QString TextProblem(const QWidget* w) {
    QString text;
    QRect room;
    bool wraps = false;
    if (auto* label = qobject_cast<const QLabel*>(w)) {
        if (label->text().isEmpty()) return {};
        text = label->text();
        wraps = label->wordWrap();
        const int inset = label->margin() + qMax(0, label->indent());
        room = label->contentsRect().adjusted(inset, label->margin(), -inset, -label->margin());
        if (label->textFormat() == Qt::RichText ||
            (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text))) {
            // Rich text lays itself out: its own size hint is what it needs.
            const QSize need =
                wraps ? QSize(room.width(), label->heightForWidth(label->width())) : label->sizeHint();
            if (need.width() > w->width() || need.height() > w->height() + 1)
                return QString("rich text needs %1x%2, has %3x%4")
                    .arg(need.width())
                    .arg(need.height())
                    .arg(w->width())
                    .arg(w->height());
            return {};
        }
    } else if (auto* button = qobject_cast<const QAbstractButton*>(w)) {
        if (button->text().isEmpty()) return {};
        text = button->text();
        room = ButtonTextRoom(button);
    } else if (auto* combo = qobject_cast<const QComboBox*>(w)) {
        // The text field of a combo box (the arrow has the rest).
        text = combo->currentText();
        if (text.isEmpty()) return {};
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = combo->isEditable();
        room =
            combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
    } else if (auto* edit = qobject_cast<const QLineEdit*>(w)) {
        // A line edit scrolls its text; it must only be tall enough for a line.
        const QFontMetrics fm(edit->font());
        if (fm.height() > edit->height() - 2)
            return QString("line of %1 px in a field %2 px high").arg(fm.height()).arg(edit->height());
        return {};
    } else {
        return {};
    }
    text.remove('&');  // mnemonics take no room
    const QFontMetrics fm(w->font());
    if (wraps) {
        // A word wider than the line is cut, not wrapped (Han text breaks anywhere).
        const QRect need = fm.boundingRect(room, Qt::TextWordWrap, text);
        if (need.width() > room.width())
            return QString("\"%1\" needs %2 px wide, has %3").arg(text).arg(need.width()).arg(room.width());
        if (need.height() > room.height() + 1)
            return QString("\"%1\" needs %2 px in %3 lines, has %4")
                .arg(text)
                .arg(need.height())
                .arg(need.height() / qMax(1, fm.lineSpacing()))
                .arg(room.height());
        return {};
    }
    int widest = 0;
    const QStringList lines = text.split('\n');
    for (const QString& line : lines) widest = qMax(widest, fm.horizontalAdvance(line));
    const int tall = fm.height() + (lines.size() - 1) * fm.lineSpacing();
    if (widest > room.width())
        return QString("\"%1\" needs %2 px wide, has %3").arg(text).arg(widest).arg(room.width());
    if (tall > room.height() + 1)
        return QString("\"%1\" needs %2 px high, has %3").arg(text).arg(tall).arg(room.height());
    return {};
}

// The text check itself, on controls sized by hand: it must flag what is cut and pass what fits.
TEST(ScreenFitTextCheck, FlagsOnlyTextsThatNeedMoreRoom) {
    const QString longText = "Automatic switching needs an X11 or XWayland window";
    const QString hanText = "要播放宏，请在“按键设置”页面将其分配给一个按键。";
    struct Case {
        const char* what;
        std::function<QWidget*(QWidget*)> make;
        QSize size;
        bool flagged;
    };
    const auto label = [](const QString& text, bool wraps) {
        return [text, wraps](QWidget* parent) -> QWidget* {
            auto* l = new QLabel(text, parent);
            l->setWordWrap(wraps);
            return l;
        };
    };
    const auto button = [](const QString& text) {
        return [text](QWidget* parent) -> QWidget* { return new QPushButton(text, parent); };
    };
    const Case cases[] = {
        {"one line, room enough", label(longText, false), {600, 30}, false},
        {"one line, too narrow", label(longText, false), {120, 30}, true},
        {"one line, too low", label(longText, false), {600, 6}, true},
        {"wrapped, two lines fit", label(longText, true), {220, 60}, false},
        {"wrapped, one line of room", label(longText, true), {220, 18}, true},
        {"Han text wraps anywhere", label(hanText, true), {150, 120}, false},
        {"button, room enough", button("Check for Updates"), {200, 30}, false},
        {"button, too narrow", button("Check for Updates"), {50, 30}, true},
    };
    QWidget parent;
    for (const Case& c : cases) {
        QWidget* w = c.make(&parent);
        w->resize(c.size);
        EXPECT_EQ(!TextProblem(w).isEmpty(), c.flagged) << c.what << ": " << TextProblem(w).toStdString();
        delete w;
    }
}

class ScreenFit : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        screen_ = qEnvironmentVariable("QUORVEL_SCREEN");
        if (screen_.isEmpty()) GTEST_SKIP() << "runs once per screen from ctest (ScreenFit.<screen>)";
        // The screen is the one named: its size in logical pixels times its scale gives the name's.
        const QScreen* screen = QGuiApplication::primaryScreen();
        const qreal ratio = screen->devicePixelRatio();
        const QString pixels = QString("%1x%2")
                                   .arg(qRound(screen->geometry().width() * ratio))
                                   .arg(qRound(screen->geometry().height() * ratio));
        ASSERT_EQ(pixels.toStdString(), screen_.section('@', 0, 0).toStdString()) << "scale " << ratio;
    }

    // Checks a top-level window as it is now, in both languages.
    void Check(QWidget* top, const QString& name) {
        for (int lcid : {kLcidEnglish, kLcidChinese}) {
            ChangeUiLanguage(lcid);
            QApplication::processEvents();  // the font change reaches the widgets as an event
            CheckNow(top, name, lcid == kLcidChinese ? "zh" : "en");
        }
        ChangeUiLanguage(kLcidEnglish);
        QApplication::processEvents();
    }

    void CheckNow(QWidget* top, const QString& name, const QString& language) {
        const auto report = [&](const QString& control, const QString& what) {
            problems.push_back(
                QString("%1 / %2 / %3 / %4: %5").arg(screen_, language, name, control, what).toStdString());
        };
        const QRect available = top->screen()->availableGeometry();
        if (!available.contains(top->frameGeometry()))
            report("window",
                   Describe(top->frameGeometry()) + " is not inside the screen's " + Describe(available));
        for (QWidget* w : top->findChildren<QWidget*>()) {
            if (!w->isVisible() || w->isWindow() || w->window() != top) continue;
            const QRect inTop(w->mapTo(top, QPoint(0, 0)), w->size());
            if (!ScrolledContent(w)) {
                if (!InScrolledContent(w) && !top->rect().contains(inTop))
                    report(NameOf(w),
                           Describe(inTop) + " reaches outside the window " + Describe(top->rect()));
                else if (QWidget* parent = w->parentWidget();
                         parent && !parent->rect().contains(w->geometry()))
                    report(NameOf(w), Describe(w->geometry()) + " reaches outside its parent " +
                                          NameOf(parent) + " " + Describe(parent->rect()));
            }
            // Text controls, and the drawn controls whose font was chosen for the text they paint.
            const bool showsText = qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w) ||
                                   qobject_cast<QComboBox*>(w) || qobject_cast<QLineEdit*>(w) ||
                                   w->testAttribute(Qt::WA_SetFont);
            if (showsText && QFontInfo(w->font()).pixelSize() < kSmallestFontPx)
                report(NameOf(w), QString("font of %1 px").arg(QFontInfo(w->font()).pixelSize()));
            if (const QString problem = TextProblem(w); !problem.isEmpty()) report(NameOf(w), problem);
        }
    }

    // The program's start-up: sized for the screen and centred on it, then shown.
    void Place() {
        window->PlaceOnScreen();
        Settle();
    }
    void Pick(int deviceType) {
        emit window->Home().List().deviceClicked(deviceType);
        const QString model = QString("model %1").arg(deviceType);
        ASSERT_TRUE(WaitFor([&] {
            return CurrentView() == View::Device && window->PendingPick() == 0 &&
                   window->DescribeView().endsWith(model);
        })) << "model "
            << deviceType << " not shown";
        Settle();
    }
    // A dialog over the window: shown, checked in both languages, closed.
    void CheckDialog(QWidget* dialog, const QString& name) {
        ASSERT_NE(dialog, nullptr) << name.toStdString();
        if (!dialog->isVisible()) dialog->show();
        Settle();
        Check(dialog, name);
        dialog->close();
        Settle();
    }

    QString screen_;
    std::vector<std::string> problems;
};

std::string List(const std::vector<std::string>& problems) {
    std::string all;
    for (const std::string& p : problems) all += p + "\n";
    return all;
}

TEST_F(ScreenFit, WithoutAMouse) {
    OpenWindow("");
    Place();
    ASSERT_TRUE(WaitFor([&] { return CurrentView() == View::NoDevice; }));
    Check(window.get(), "home, no mouse");
    window->Bridge().ShowPermissionProblem({"/dev/hidraw3", 0x1209, 0x0001, 102, "permission denied"});
    Settle();
    Check(window.get(), "home, permission problem");

    CUIMessageBox question(window.get(), 570, 571, kBoxOkCancel);
    CheckDialog(&question, "message box, question");
    CUIMessageBox notice(window.get(), 57, 56, kBoxOk);
    CheckDialog(&notice, "message box, notice");
    AboutDlg about(window.get(), 0x103, "1.0.0");
    CheckDialog(&about, "About");
    EXPECT_TRUE(problems.empty()) << problems.size() << " problems:\n" << List(problems);
}

TEST_F(ScreenFit, EveryPageOfEveryModel) {
    OpenWindow("102:wired;103:wireless;201:wired");
    Place();
    ASSERT_TRUE(WaitFor([&] { return CurrentView() == View::DeviceList; }));
    Check(window.get(), "home, device list");

    const std::pair<int, const char*> items[] = {
        {MainTabs::kButtonsItem, "buttons"},
        {MainTabs::kPerformanceItem, "performance"},
        {MainTabs::kMacrosItem, "macros"},
        {MainTabs::kLightingItem, "lighting"},
        {MainTabs::kDeviceInfoItem, "device information"},
    };
    for (int model : {102, 103, 201}) {
        Pick(model);
        if (HasFatalFailure()) return;
        auto* strip = Find<MTabCtrl>(MainTabs::kTabStrip);
        for (const auto& [item, page] : items) {
            if (strip->IndexOfItem(item) < 0 || !strip->IsItemVisible(strip->IndexOfItem(item))) continue;
            PickTab(item);
            Settle();
            Check(window.get(), QString("model %1, %2 page").arg(model).arg(page));
        }
        PickTab(MainTabs::kHomeItem);
        ASSERT_TRUE(WaitFor([&] { return CurrentView() == View::DeviceList; }));
    }
    Find<QAbstractButton>(MainFrame::kSettings)->click();
    Settle();
    Check(window.get(), "settings");
    EXPECT_TRUE(problems.empty()) << problems.size() << " problems:\n" << List(problems);
}

TEST_F(ScreenFit, EveryDialogOverTheWindow) {
    OpenWindow("103:wireless");
    Place();
    ASSERT_TRUE(WaitFor([&] { return CurrentView() == View::DeviceList; }));
    Pick(103);
    if (HasFatalFailure()) return;

    ProfileDlg::Open(*window, Find(MainFrame::kProfile));
    CheckDialog(window->findChild<ProfileDlg*>(), "profiles");

    ProfileAppsDlg apps(*window, 1, window.get());
    quorvel::OpenWindow game;
    game.window.id = 1;
    game.window.windowClass = "steam_app_730";
    game.title = "Counter-Strike 2";
    apps.SetOpenWindows({game});
    CheckDialog(&apps, "profile applications");
    ProfileAppsDlg noDisplay(*window, 1, window.get());
    noDisplay.SetOpenWindows({}, Text(933));  // no X display to list windows from
    CheckDialog(&noDisplay, "profile applications, no display");

    MousePaletteDlg palette(window.get(), 0x00D0FF);
    CheckDialog(&palette, "colour picker");
    RecordEditDlg key(window.get());
    CheckDialog(&key, "key");

    window->ShowDpiIndicator(3200);
    DPIMsgDlg* indicator = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<DPIMsgDlg*>(w); d && d->isVisible()) indicator = d;
    CheckDialog(indicator, "DPI indicator");

    window->ShowSavingIndicator();
    CheckDialog(window->findChild<SaveWaitDlg*>(), "saving");

    UpdateProcessDlg download(window.get());
    download.SetDownloadProgress(45);
    CheckDialog(&download, "software download");
    UpdateTipDlg* firmware = UpdateTipDlg::Open(window.get());
    firmware->SetStep(45, QString());
    CheckDialog(firmware, "firmware update");
    EXPECT_TRUE(problems.empty()) << problems.size() << " problems:\n" << List(problems);
}

}  // namespace
}  // namespace quorvel::test
