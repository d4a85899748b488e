#include "ui/window/UpdateUi.h"

#include <QCoreApplication>
#include <QTimer>

#include "ui/common/PageHost.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiText.h"
#include "ui/dialogs/CUIMessageBox.h"
#include "ui/dialogs/UpdateProcessDlg.h"
#include "ui/dialogs/UpdateTipDlg.h"
#include "ui/window/DeviceEvents.h"
#include "update/UpdateFlow.h"

namespace quorvel {

namespace {

int TitleOf(int kind) {
    return kind == kUpdateSoftware ? txt::kSoftwareUpdate : txt::kMouseFirmware;
}

}  // namespace

UpdateUi::UpdateUi(PageHost& host, QObject* parent)
    : QObject(parent), host_(host), exit_([] { QCoreApplication::exit(0); }) {
    DeviceEvents& events = host.Events();
    connect(&events, &DeviceEvents::updateOffered, this, &UpdateUi::OfferUpdate);
    connect(&events, &DeviceEvents::downloadProgress, this, &UpdateUi::SetDownloadProgress);
    connect(&events, &DeviceEvents::installerStarted, this, &UpdateUi::InstallerStarted);
    connect(&events, &DeviceEvents::updateFailed, this, &UpdateUi::UpdateFailed);
    connect(&events, &DeviceEvents::firmwareProgress, this, &UpdateUi::SetFirmwareProgress);
    connect(&events, &DeviceEvents::firmwareProgressEnded, this, &UpdateUi::EndFirmwareProgress);
    events.OnTaskEnd(this, {kTaskInstallSoftware, kTaskFlashFirmware},
                     [this](uint64_t id, const DeviceTaskRequest& request, const TaskResult& result) {
                         TaskFinished(id, request, result);
                     });
}

void UpdateUi::SetFirmwareProgress(int percent, const std::string& text) {
    if (UpdateTipDlg* tip = UpdateTipDlg::Find(host_.Window()))
        tip->SetStep(percent, QString::fromStdString(text));
}

void UpdateUi::EndFirmwareProgress() {
    if (UpdateTipDlg* tip = UpdateTipDlg::Find(host_.Window())) tip->Finish();
}

void UpdateUi::OfferUpdate(int kind, bool newer, const std::string& newest) {
    if (!newer || (kind != kUpdateSoftware && kind != kUpdateFirmware)) return;
    // One question at a time, and none while an installation is on its way.
    if (offerOpen_ || Busy()) return;
    offerOpen_ = true;
    QString message = QStringLiteral("%1:v%2, %3")
                          .arg(Text(txt::kNewVersion), QString::fromStdString(newest), Text(txt::kUpdateNow));
    const VersionCheck check = host_.UpdateCheck(kind);
    if (check.unsignedUpdates) message += QLatin1Char('\n') + Text(txt::kUpdatesUnsigned);
    QPointer<UpdateUi> self(this);
    OpenMessageBox(host_.Window(), TitleOf(kind), UiText(message), kBoxOkCancel, [self, kind](int answer) {
        if (!self) return;
        self->offerOpen_ = false;
        if (IsConsent(answer)) self->Install(kind);
    });
}

void UpdateUi::Install(int kind) {
    const uint64_t id = host_.InstallUpdate(kind);
    if (id == 0) return;
    cancelled_[kind] = false;
    reasons_[kind].clear();
    QPointer<UpdateUi> self(this);
    auto cancel = [self, kind] {
        if (!self) return;
        self->cancelled_[kind] = true;
        self->host_.CancelUpdate();
    };
    if (kind == kUpdateSoftware) {
        softwareTask_ = id;
        if (download_) download_->Finish();
        download_ = new UpdateProcessDlg(host_.Window());
        download_->setAttribute(Qt::WA_DeleteOnClose);
        connect(download_, &UpdateProcessDlg::cancelRequested, this, cancel);
        download_->show();
    } else {
        firmwareTask_ = id;
        UpdateTipDlg* tip = UpdateTipDlg::Open(host_.Window());
        connect(tip, &UpdateTipDlg::cancelRequested, this, cancel);
    }
}

void UpdateUi::SetDownloadProgress(int percent) {
    if (download_) download_->SetDownloadProgress(percent);
}

void UpdateUi::InstallerStarted(const std::string& path) {
    (void)path;
    softwareTask_ = 0;  // nothing is transferred any more: the set-up program takes over
    if (download_) download_->Finish();
    QTimer::singleShot(0, this, [this] {
        if (exit_) exit_();
    });
}

void UpdateUi::UpdateFailed(int kind, const std::string& reason) {
    if (kind == kUpdateSoftware || kind == kUpdateFirmware) reasons_[kind] = reason;
}

QString UpdateUi::Reason(int kind) {
    std::string reason = reasons_[kind];
    if (reason.empty()) {
        reason = host_.UpdateResult(kind).error;
    }
    return QString::fromStdString(reason);
}

void UpdateUi::TaskFinished(uint64_t id, const DeviceTaskRequest& request, const TaskResult& result) {
    (void)request;
    if (id == 0) return;
    if (id == softwareTask_) {
        softwareTask_ = 0;
        Ended(kUpdateSoftware, result.ok());
    } else if (id == firmwareTask_) {
        firmwareTask_ = 0;
        Ended(kUpdateFirmware, result.ok());
    }
}

void UpdateUi::Ended(int kind, bool ok) {
    if (kind == kUpdateSoftware) {
        if (download_) download_->Finish();
    } else if (UpdateTipDlg* tip = UpdateTipDlg::Find(host_.Window())) {
        tip->Finish();
    }
    if (ok) {
        // The software's success ends the program (InstallerStarted); the firmware's is said.
        if (kind == kUpdateFirmware)
            OpenMessageBox(host_.Window(), txt::kMouseFirmware, txt::kFirmwareUpgraded, kBoxOk, {});
        return;
    }
    // Stopped by the user's Cancel before anything was started or sent: nothing to explain. A Cancel
    // that came too late to stop it leaves the failure to be said.
    const UpdateInstall result = host_.UpdateResult(kind);
    if (cancelled_[kind] && result.cancelled) return;
    const QString why = Reason(kind);
    QString message = Text(kind == kUpdateSoftware ? txt::kSoftwareUpdateFailed : txt::kFirmwareUpdateFailed);
    if (!why.isEmpty()) message += QLatin1Char('\n') + why;
    OpenMessageBox(host_.Window(), TitleOf(kind), UiText(message), kBoxOk, {});
}

bool UpdateUi::Busy() const {
    return softwareTask_ != 0 || firmwareTask_ != 0;
}

UpdateProcessDlg* UpdateUi::DownloadDialog() const { return download_; }

}  // namespace quorvel
