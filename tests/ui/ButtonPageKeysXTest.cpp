// Keys typed on a real X server into the key field of the button page: F13, Escape, Tab, Enter and right
// Ctrl arrive as the X server delivers them (physical keys pressed by xdotool through XTest) and are captured
// with their names; the field claims Escape, Tab and Enter instead of closing, leaving or confirming. The
// test starts its own Xvfb and runs this same program on it, limited to the test that shows the page there;
// every wait ends on an event or a time-out.

#include <QProcess>
#include <QStandardPaths>

#include "ButtonPageFixture.h"
#include "toolkit/KeyCaptureFilter.h"

namespace quorvel::test {
namespace {

constexpr char kOnDisplay[] = "QUORVEL_KEY_FIELD_ON_X";
constexpr char kDisplayTest[] = "ButtonPageKeyField.CapturesKeysTypedOnTheDisplay";
constexpr int kWaitMs = 10000;

// The test on the display: the page on a virtual mouse, the key field focused, keys typed by xdotool.
class ButtonPageKeyField : public ButtonPageTest {};

TEST_F(ButtonPageKeyField, CapturesKeysTypedOnTheDisplay) {
    if (qEnvironmentVariableIsEmpty(kOnDisplay))
        GTEST_SKIP() << "runs on the X server ButtonPageKeysOnX starts";
    OpenPage("102:wired");
    Pick(1);
    Click(kKeyOpen);
    auto* field = At<QLineEdit>(kKeyField);
    QTest::mouseClick(field, Qt::LeftButton);
    ASSERT_TRUE(field->hasFocus());
    std::vector<CapturedKey> captured;
    QObject::connect(page->findChild<KeyCaptureFilter*>(), &KeyCaptureFilter::keyCaptured,
                     [&captured](const CapturedKey& key) { captured.push_back(key); });

    // The keys as xdotool takes them: a keysym, or a number that is no keysym as the keycode of the stock
    // keymap (evdev, pc105, us). F13 is keycode 191 there, whose keysym is XF86Tools (which xdotool would
    // type on another key), and "Control_R" would press the left Ctrl key along with it.
    struct Case {
        const char* key;
        const char* xdotoolKey;
        int virtualKey;
        const char* name;
        const char* field;  // what the field shows afterwards
    };
    const Case cases[] = {
        {"F13", "191", 0x7C, "F13", "F13"},
        {"Escape", "Escape", 0x1B, "Esc", "Esc"},
        {"Tab", "Tab", 0x09, "Tab", "Tab"},
        {"Enter", "Return", 0x0D, "Enter", "Enter"},
        // The right Ctrl key is captured by its name, but the field takes modifiers from its toggles.
        {"right Ctrl", "105", 0xA3, "RCtrl", "Enter"},
    };
    for (const Case& c : cases) {
        captured.clear();
        ASSERT_EQ(
            QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), QString(c.xdotoolKey)}), 0);
        // Pressed and released: two captures.
        ASSERT_TRUE(QTest::qWaitFor([&] { return captured.size() >= 2; }, kWaitMs)) << c.key;
        ASSERT_EQ(captured.size(), 2u) << c.key;
        EXPECT_EQ(captured[0].up, 0) << c.key;
        EXPECT_EQ(captured[1].up, 1) << c.key;
        for (const CapturedKey& key : captured) {
            EXPECT_EQ(key.virtualKey, c.virtualKey) << c.key;
            EXPECT_EQ(key.name, c.name) << c.key;
        }
        EXPECT_EQ(field->text(), c.field) << c.key;
    }
    // Escape did not close the panel, Tab did not move the focus, Enter did not press OK.
    EXPECT_TRUE(At(kKeyPanel)->isVisible());
    EXPECT_TRUE(field->hasFocus());
    EXPECT_EQ(Row(1), "none");
    Click(kKeyOk);
    EXPECT_EQ(Row(1), "2 40 0 Enter");
}

// Starts Xvfb on a display it picks itself and runs the test above on it.
TEST(ButtonPageKeysOnX, TypedKeysAreCapturedWithTheirNames) {
    if (!qEnvironmentVariableIsEmpty(kOnDisplay)) GTEST_SKIP() << "this is the run on the display";
    for (const char* tool : {"Xvfb", "xdotool"}) {
        if (QStandardPaths::findExecutable(QString(tool)).isEmpty())
            GTEST_SKIP() << tool << " is not installed (Debian packages xvfb, xdotool)";
    }
    QProcess x;
    x.setProgram(QStringLiteral("Xvfb"));
    // -displayfd 1: the server writes the number it took to standard output once it accepts clients.
    x.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                    QStringLiteral("0"), QStringLiteral("1600x1000x24"), QStringLiteral("-nolisten"),
                    QStringLiteral("tcp"), QStringLiteral("-noreset")});
    x.setStandardErrorFile(QProcess::nullDevice());
    x.start();
    ASSERT_TRUE(x.waitForStarted(kWaitMs)) << "Xvfb did not start";
    QByteArray number;
    while (!number.contains('\n') && x.waitForReadyRead(kWaitMs)) number += x.readAllStandardOutput();
    ASSERT_TRUE(number.contains('\n')) << "Xvfb gave no display number";

    QProcess run;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":") + QString::fromLatin1(number.trimmed()));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QString(kOnDisplay), QStringLiteral("1"));
    run.setProcessEnvironment(env);
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=") + kDisplayTest});
    const bool ended = run.waitForFinished(60000);
    const QByteArray output = run.readAll();
    if (!ended) run.kill();
    x.terminate();
    x.waitForFinished(kWaitMs);
    ASSERT_TRUE(ended) << "the run on the display did not end:\n" << output.toStdString();
    EXPECT_EQ(run.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QByteArray("[       OK ] ") + kDisplayTest)) << output.toStdString();
}

}  // namespace
}  // namespace quorvel::test
