// ui_screenshots OUTDIR [--gtest_filter=...]: the pictures of docs/images/, taken on an X server
// (scripts/screenshots.sh starts Xvfb and runs it once per language and scale the makers need). Each
// picture maker is a case of its own on the widget fixtures of the tests; the tool is never run by ctest.
// Here: the main window's frame, the message boxes and the About box, in English (1033, "-en") and Chinese
// (2052, "-zh"), with the shipped skin.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QtTest/QTest>
#include <cstdio>
#include <functional>
#include <memory>

#include "Shots.h"
#include "shell/AppContext.h"
#include "shell/Localisation.h"
#include "shell/ProductConfig.h"
#include "toolkit/Skin.h"
#include "ui/common/Appearance.h"
#include "ui/common/UiFonts.h"
#include "ui/dialogs/AboutDlg.h"
#include "ui/dialogs/CUIMessageBox.h"
#include "ui/window/DeviceMainDlg.h"

namespace quorvel::test {
namespace {

QString outDir;

bool Shoot(QWidget& window, const QString& path) {
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return false;
    QTest::qWait(200);  // let the window system draw it before the picture
    const QPixmap shot = window.screen()->grabWindow(window.winId());
    return !shot.isNull() && shot.save(path);
}

TEST(Windows, FrameMessageBoxesAndAbout) {
    InstallAppearance();
    SetProgramDir(QUORVEL_PRODUCT_DIR);
    RunStartupPass(QUORVEL_PRODUCT_DIR);
    const QString previousSkin = Skin::Instance().Dir();
    UseShippedSkin();

    const std::pair<const char*, std::function<std::unique_ptr<QWidget>()>> windows[] = {
        {"main-frame", [] { return std::make_unique<DeviceMainDlg>("Quorvel Mouse", "1.0.0"); }},
        {"messagebox-notice", [] { return std::make_unique<CUIMessageBox>(nullptr, 57, 56, kBoxOk); }},
        {"messagebox-question",
         [] { return std::make_unique<CUIMessageBox>(nullptr, 570, 571, kBoxOkCancel); }},
        {"about", [] { return std::make_unique<AboutDlg>(nullptr, 0x105, "1.0.0"); }},
    };
    for (const int lcid : {kLcidEnglish, kLcidChinese}) {
        SetCurrentLanguage(lcid);
        InstallLanguageFont(lcid);
        for (const auto& [name, make] : windows) {
            std::unique_ptr<QWidget> window = make();
            const QString path = QStringLiteral("%1/%2-%3.png")
                                     .arg(outDir, QLatin1String(name), lcid == kLcidChinese ? "zh" : "en");
            EXPECT_TRUE(Shoot(*window, path)) << "no picture of " << name;
        }
    }
    SetCurrentLanguage(kLcidEnglish);
    InstallLanguageFont(kLcidEnglish);
    Skin::Instance().SetDir(previousSkin);
}

}  // namespace

QString ShotDir() {
    return outDir;
}

}  // namespace quorvel::test

int main(int argc, char** argv) {
    // The menus and dialogs are windows of their own: the pictures come from a real X screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    if (argc != 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: ui_screenshots OUTDIR [--gtest_filter=MAKERS]\n");
        return 2;
    }
    quorvel::test::outDir = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    if (!QDir().mkpath(quorvel::test::outDir)) {
        std::fprintf(stderr, "ui_screenshots: cannot create %s\n", argv[1]);
        return 1;
    }
    return RUN_ALL_TESTS();
}
