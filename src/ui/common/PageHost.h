#pragma once
// What a page of the main window, or one of its dialogs, needs from the window. DeviceMainDlg implements it;
// page tests implement it around a CoreSession on virtual mice. A page never talks to the mouse: it calls an
// action (src/actions), hands the result to Queue, and the host queues its requests and shows the saving
// indicator. What the worker reports reaches the pages through the window, on the UI thread.

#include <QtGlobal>
#include <cstdint>
#include <vector>

#include "actions/ActionResult.h"

class QWidget;

namespace quorvel {

class CoreSession;
class FileDialogs;
class TextRegistry;

class PageHost {
public:
    virtual ~PageHost() = default;

    // The core: database, page state, worker, update flow.
    virtual CoreSession& Session() = 0;
    ActionContext& Actions();

    // Queues an accepted result's task requests in order (nothing for a refused one) and, when any were
    // queued, shows the saving indicator. Returns the ids that TaskFinished will report.
    virtual std::vector<uint64_t> Queue(const ActionResult& result) = 0;

    // The saving indicator (SaveWaitDlg) and the on-screen DPI indicator (DPIMsgDlg).
    virtual void ShowSavingIndicator() = 0;
    virtual void ShowDpiIndicator(int dpiValue) = 0;

    // The profile in use changed from a page or dialog (switch, import, rename, factory reset): the window
    // shows its name on the profile button and refreshes the pages.
    virtual void ProfileChanged() = 0;

    // The applications bound to a profile changed (the profile dialog's Applications): automatic
    // switching may start or stop.
    virtual void BindingsChanged() {}

    // A macro recording holds the window: while on, the tabs and the profile button are disabled.
    virtual void SetRecording(bool recording) = 0;

    // The window that dialogs are modal over and message boxes belong to.
    virtual QWidget* Window() = 0;
    // The window's text registry: every visible text bound by id, re-texted on a language change.
    virtual TextRegistry& Texts() = 0;
    // Open and save dialogs (Qt's in the program; answered by tests).
    virtual FileDialogs& Files() = 0;
    // Client height / 788: pages place their controls at design position times this factor.
    virtual qreal LayoutScale() const = 0;
};

}  // namespace quorvel
