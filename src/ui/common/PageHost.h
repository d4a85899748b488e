#pragma once
// What a page of the main window, or one of its dialogs, needs from the window, and no more. A page never
// talks to the mouse and never sees the core's composition root: it calls an action (src/actions) and hands
// the result to Queue; it reads what it shows through read actions or the read-only page state; it asks for
// an update check or a cancel by name. What the worker reports reaches it as signals of Events(), on the
// UI thread. DeviceMainDlg implements this (through CorePageHost); page tests do the same on virtual mice.

#include <QtGlobal>
#include <cstdint>
#include <vector>

#include "actions/ActionResult.h"
#include "device/DeviceTaskRequest.h"
#include "update/UpdateFlow.h"

class QWidget;

namespace quorvel {

class DeviceEvents;
class FileDialogs;
class PageState;
class TextRegistry;
struct LinkInfo;

class PageHost {
public:
    virtual ~PageHost() = default;

    // What the page actions work on.
    virtual ActionContext& Actions() = 0;
    // The device state as the pages see it, read only.
    const PageState& State() { return Actions().core; }
    // What the worker reports, as signals on the UI thread.
    virtual DeviceEvents& Events() = 0;
    // The current link, read in one go (a page built after the worker reported it).
    virtual LinkInfo CurrentLink() = 0;

    // Queues an accepted result's task requests in order (nothing for a refused one) and, when any were
    // queued, shows the saving indicator. Returns the ids that the task ends will report.
    virtual std::vector<uint64_t> Queue(const ActionResult& result) = 0;

    // Updates, by name. The checks and installs are the worker's tasks; their ids come back with their ends
    // (0: not queued).
    virtual uint64_t CheckFirmware() = 0;
    virtual uint64_t CheckSoftware() = 0;
    // Task 27 (kUpdateSoftware) or 28 (kUpdateFirmware), its cancel token made before it is queued.
    virtual uint64_t InstallUpdate(int kind) = 0;
    // Ends the running download or transfer, or the queued one.
    virtual void CancelUpdate() = 0;
    // The last check and installation of a kind, as the update flow keeps them.
    virtual VersionCheck UpdateCheck(int kind) = 0;
    virtual UpdateInstall UpdateResult(int kind) = 0;

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
