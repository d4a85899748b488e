#include "app/Startup.h"

#include <QApplication>
#include <QPointer>
#include <cstdio>
#include <memory>
#include <string_view>

#include "app/CoreStep.h"
#include "app/QuitOnSignal.h"
#include "app/SingleInstance.h"
#include "shell/AppContext.h"
#include "shell/AppInstance.h"
#include "shell/Localisation.h"
#include "shell/ProductConfig.h"
#include "shell/TraceLog.h"
#include "ui/common/Appearance.h"
#include "ui/window/DeviceMainDlg.h"
#include "ui/window/PageFill.h"
#include "ui/dialogs/CUIMessageBox.h"
#include "ui/common/UiFonts.h"

namespace quorvel {

namespace {

// How long a second start waits for the first to take the hand-over.
constexpr std::chrono::milliseconds kHandOverTimeout{3000};

// Leaves every running event loop, a modal box's too. Not QCoreApplication::quit(): that first asks each
// window to close, and the main window declines (it hides when the exit mode says so).
void EndEventLoops() {
    QCoreApplication::exit(0);
}

bool HasSmokeTestOption(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--smoke-test") return true;
    }
    return false;
}

// --smoke-test: the installed program starts, builds its whole first window on the core (no worker, no
// single-instance lock) and ends with 0; 1 when the core cannot be opened.
int RunSmokeTest(const std::string& programDir) {
    ChooseStartupLanguage();
    InstallLanguageFont(CurrentLanguage());
    ProductConfig product;
    ReadProductConfig(programDir, "", &product);
    DeviceMainDlg window(QString::fromStdString(GetDeviceName()), QString::fromStdString(product.version));
    window.PlaceOnScreen();
    window.show();
    CoreStep core;
    QString error;
    const bool built = core.Start(window, programDir, &error, false);
    QCoreApplication::processEvents();
    if (!built) std::fprintf(stderr, "quorvel: %s\n", qPrintable(error));
    core.Stop();
    window.Teardown();
    return built ? 0 : 1;
}

}  // namespace

int RunQuorvel(int argc, char** argv) {
    // Screen scaling: Qt's high-DPI scaling (on by default) stands in for the DPI-awareness decision.
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kAppId));
    // The program ends by its own exits (close button, signals), not when its last window is hidden.
    QApplication::setQuitOnLastWindowClosed(false);
    InstallAppearance();

    // Product identity: the offered languages and the device name from config.xml (a missing file leaves
    // the name empty and the program goes on).
    const std::string programDir = ProgramDir();
    RunStartupPass(programDir);
    if (HasSmokeTestOption(argc, argv)) return RunSmokeTest(programDir);

    // One instance per user: a second start hands over to the first and ends.
    SingleInstance instance;
    if (instance.Claim() == SingleInstance::Role::kSecond) {
        instance.HandOver(kHandOverTimeout, SingleInstance::LaunchToken());
        return 0;
    }

    // From here on a termination signal ends the program the orderly way (also out of a modal box); while
    // an update is sent to the mouse the window first lets it finish.
    QuitOnSignal onSignal;
    DeviceMainDlg* running = nullptr;
    QObject::connect(&onSignal, &QuitOnSignal::Quit, &app, [&running] {
        if (running)
            running->RequestExit(true);
        else
            EndEventLoops();
    });

    ChooseStartupLanguage();
    InstallLanguageFont(CurrentLanguage());
    const bool hidden = HasHideOption(argc, argv);

    // The main window's frame (the main-window pass over config.xml gives its version label).
    ProductConfig product;
    ReadProductConfig(programDir, "", &product);
    auto window = std::make_unique<DeviceMainDlg>(QString::fromStdString(GetDeviceName()),
                                                  QString::fromStdString(product.version));
    window->PlaceOnScreen();
    if (!hidden) window->show();
    QObject::connect(&instance, &SingleInstance::ShowRequested, window.get(),
                     [w = window.get()](const QString& token) {
                         // Qt's Wayland shell spends this token on the next activation request, which is
                         // the raise below; X11 ignores it.
                         if (!token.isEmpty()) qputenv("XDG_ACTIVATION_TOKEN", token.toLatin1());
                         w->ShowFromOutside();
                     });
    instance.SetVisibilityQuery([w = window.get()] { return w->isVisible(); });
    instance.SetViewQuery([w = window.get()] { return w->DescribeView(); });

    // What the first view does not need comes after it: the hand-over socket (a second start retries
    // until it is served), the trace log and the database folder.
    instance.Serve();
    const bool logged = TraceLog::Instance().Open();
    CreateFolder(DatabaseFolder());

    // The device core, the pages on it, and the worker with hot-plug watching.
    int exitCode = 0;
    CoreStep core;
    // Follows the worker's reports from the first one on; asked only once the window is attached.
    auto* fill = new PageFill(*window, [&core] { return core.Session().Core().CurrentDeviceType(); });
    instance.SetFillQuery([fill = QPointer<PageFill>(fill)] { return fill && fill->Filled(); });
    QString error;
    if (core.Start(*window, programDir, &error)) {
        if (!logged) window->ShowFileProblem(QString::fromStdString(TraceLog::Instance().OpenError()));
        QObject::connect(window.get(), &DeviceMainDlg::ExitRequested, &app, EndEventLoops);
        running = window.get();
        app.exec();
        running = nullptr;
    } else {
        Trace("device core: %s", qPrintable(error));
        std::fprintf(stderr, "quorvel: %s\n", qPrintable(error));
        ShowMessageBox(window.get(), QStringLiteral("Quorvel"), error, kBoxOk);
        exitCode = 1;
    }

    // Shutdown, in the reverse order: the core first (the worker is joined, a download cancelled: nothing
    // may run under what follows), then the window's transient windows and tray icon, the window, the
    // trace log, and the lock last, so a new start waits until this one is gone.
    core.Stop();
    window->Teardown();
    window.reset();
    TraceLog::Instance().Close();
    instance.Release();
    return exitCode;
}

}  // namespace quorvel
