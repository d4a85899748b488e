// ui_screenshots OUTDIR: the windows of the GUI as the screen shows them, in English (1033, "-en") and
// Chinese (2052, "-zh"), with the shipped skin, one PNG each. Run it on an X server (scripts/screenshots.sh
// starts Xvfb); the pictures in docs/images/ come from it.

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QtTest/QTest>
#include <cstdio>
#include <functional>
#include <memory>

#include "shell/AppContext.h"
#include "shell/Localisation.h"
#include "shell/ProductConfig.h"
#include "toolkit/Skin.h"
#include "ui/dialogs/AboutDlg.h"
#include "ui/common/Appearance.h"
#include "ui/window/DeviceMainDlg.h"
#include "ui/dialogs/CUIMessageBox.h"
#include "ui/common/UiFonts.h"

namespace {

using namespace quorvel;

bool Shoot(QWidget& window, const QString& path) {
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return false;
    QTest::qWait(200);  // let the window system draw it before the picture
    const QPixmap shot = window.screen()->grabWindow(window.winId());
    return !shot.isNull() && shot.save(path);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: ui_screenshots OUTDIR\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    InstallAppearance();
    SetProgramDir(QUORVEL_PRODUCT_DIR);
    RunStartupPass(QUORVEL_PRODUCT_DIR);
    Skin::Instance().SetDir(QStringLiteral(QUORVEL_PRODUCT_DIR "/skins/default/"));

    const std::pair<const char*, std::function<std::unique_ptr<QWidget>()>> windows[] = {
        {"main-frame", [] { return std::make_unique<DeviceMainDlg>("Quorvel Mouse", "1.0.0"); }},
        {"messagebox-notice", [] { return std::make_unique<CUIMessageBox>(nullptr, 57, 56, kBoxOk); }},
        {"messagebox-question",
         [] { return std::make_unique<CUIMessageBox>(nullptr, 570, 571, kBoxOkCancel); }},
        {"about", [] { return std::make_unique<AboutDlg>(nullptr, 0x105, "1.0.0"); }},
    };
    int failures = 0;
    for (const int lcid : {kLcidEnglish, kLcidChinese}) {
        SetCurrentLanguage(lcid);
        InstallLanguageFont(lcid);
        for (const auto& [name, make] : windows) {
            std::unique_ptr<QWidget> window = make();
            const QString path = QStringLiteral("%1/%2-%3.png")
                                     .arg(out, QLatin1String(name), lcid == kLcidChinese ? "zh" : "en");
            if (Shoot(*window, path)) {
                std::printf("%s\n", qPrintable(path));
            } else {
                std::fprintf(stderr, "ui_screenshots: no picture of %s\n", name);
                ++failures;
            }
        }
    }
    return failures ? 1 : 0;
}
