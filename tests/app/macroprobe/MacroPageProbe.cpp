// The macro page alone in a window on the display it is given, on a composition root with a virtual mouse
// (102): the test that starts it types into it with xdotool. It makes a macro, sets fixed delays of 50 ms
// and starts recording, then speaks lines on stdout:
//
//   ready <window id>     recording, the window mapped
//   events <n>            after each key the page took: the key events in the event list
//   stored <type> <value> <text>   after "stop" on stdin: the macro's stored events, in order
//   end
//
// Exit status 0, or 1 when something could not be set up (the reason on stderr).

#include <unistd.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>
#include <iostream>
#include <string>

#include "actions/ActionTasks.h"
#include "actions/MacroEventActions.h"
#include "session/CoreSession.h"
#include "shell/Localisation.h"
#include "store/DeviceDatabase.h"
#include "toolkit/CRecordList.h"
#include "ui/common/Appearance.h"
#include "ui/common/CorePageHost.h"
#include "ui/common/FileDialogs.h"
#include "ui/common/UiFonts.h"
#include "ui/common/UiRect.h"
#include "ui/common/UiText.h"
#include "ui/pages/macros/MacroPage.h"
#include "ui/pages/macros/MacroPageIds.h"

namespace quorvel {

using namespace macro_page;
namespace {

class ProbeHost : public CorePageHost {
public:
    ProbeHost(CoreSession& session, QWidget& window) : window_(window), texts_(new TextRegistry(&window)) {
        SetSession(&session);
    }
    void ShowSavingIndicator() override {}
    void ShowDpiIndicator(int) override {}
    void ProfileChanged() override {}
    void SetRecording(bool) override {}
    QWidget* Window() override { return &window_; }
    TextRegistry& Texts() override { return *texts_; }
    FileDialogs& Files() override { return files_; }
    qreal LayoutScale() const override { return 1.0; }

private:
    QWidget& window_;
    TextRegistry* texts_;  // the window's
    QtFileDialogs files_;
};

// Counts the key events of the list once the page has taken each key (it sees the key first).
class KeyWatcher : public QObject {
public:
    explicit KeyWatcher(CRecordList* list) : list_(list) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
            QTimer::singleShot(0, this,
                               [this] { std::cout << "events " << list_->GetEventCount() << std::endl; });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    CRecordList* list_;
};

template <typename T>
T* Find(QWidget* page, int id) {
    return page->findChild<T*>(ControlName(id));
}

int Run(int argc, char** argv) {
    QApplication app(argc, argv);
    InstallAppearance();
    CoreSession session;
    SessionOptions options;
    options.productDir = QUORVEL_PRODUCT_DIR;
    options.virtualSpec = "102:wired";
    options.openTraceLog = false;
    const SessionResult opened = session.Open(options);
    if (!opened.ok()) {
        std::cerr << opened.message << std::endl;
        return 1;
    }
    if (!session.Worker().WaitForTask(session.Start(nullptr), std::chrono::seconds(10)).ok()) {
        std::cerr << "the virtual mouse was not read" << std::endl;
        return 1;
    }
    InstallLanguageFont(CurrentLanguage());

    QWidget window(nullptr, Qt::Window);
    window.setWindowTitle(QStringLiteral("MacroPageProbe"));
    window.resize(1180, 658);
    ProbeHost host(session, window);
    auto* page = new MacroPage(host, &window);
    page->setGeometry(0, 0, 1180, 658);
    page->UISize(1.0);
    window.show();
    page->Refresh();
    Find<QPushButton>(page, kMacroNew)->click();
    Find<QRadioButton>(page, kDelayFixed)->click();
    auto* fixed = Find<QLineEdit>(page, kFixedDelayEdit);
    fixed->setText(QStringLiteral("50"));
    emit fixed->editingFinished();
    const int macroId = page->CurrentMacro();
    Find<QPushButton>(page, kRecordButton)->click();
    if (macroId <= 0 || !page->Recording()) {
        std::cerr << "the recording did not start" << std::endl;
        return 1;
    }
    KeyWatcher watcher(Find<CRecordList>(page, kEventListCtrl));
    app.installEventFilter(&watcher);
    window.activateWindow();
    std::cout << "ready " << window.winId() << std::endl;

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char buffer[64];
        if (::read(STDIN_FILENO, buffer, sizeof buffer) > 0 && std::string(buffer, 4) != "stop") return;
        input.setEnabled(false);
        app.removeEventFilter(&watcher);
        Find<QPushButton>(page, kRecordButton)->click();
        std::vector<MacroEventRecord> events;
        ListMacroEvents(session.Actions(), macroId, &events);
        for (const MacroEventRecord& e : events)
            std::cout << "stored " << e.type << " " << e.value << " " << e.desc << "\n";
        std::cout << "end" << std::endl;
        app.quit();
    });
    const int status = app.exec();
    delete page;
    session.Stop();
    return status;
}

}  // namespace
}  // namespace quorvel

int main(int argc, char** argv) {
    return quorvel::Run(argc, argv);
}
