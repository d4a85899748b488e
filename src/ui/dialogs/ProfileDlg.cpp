#include "ui/dialogs/ProfileDlg.h"

#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include "actions/ProfileActions.h"
#include "device/PageState.h"
#include "store/AppList.h"
#include "toolkit/MPicture.h"
#include "toolkit/Theme.h"
#include "ui/common/DesignLayout.h"
#include "ui/common/PageHost.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiFonts.h"
#include "ui/common/UiRect.h"
#include "ui/common/UiText.h"
#include "ui/dialogs/CUIMessageBox.h"
#include "ui/dialogs/ProfileAppsDlg.h"
#include "ui/dialogs/ProfileFiles.h"
#include "ui/dialogs/ProfileList.h"

namespace quorvel {

namespace {

// Design size of the dialog; it sits above the profile button, its right edge on the button's.
constexpr QSize kDesignSize{260, 240};
constexpr int kGap = 5;

bool Connected(PageHost& host) {
    return host.Actions().core.Snapshot().connected;
}

void Notice(PageHost& host, const UiText& title, const UiText& message) {
    OpenMessageBox(host.Window(), title, message, kBoxOk, {});
}

void Switch(PageHost& host, int profile) {
    const ActionResult result = SwitchProfile(host.Actions(), profile);
    if (!result.ok) {
        Notice(host, txt::kNotice, UiText(QString::fromStdString(result.message)));
        return;
    }
    host.Queue(result);
    host.ProfileChanged();
}

}  // namespace

void ProfileDlg::Open(PageHost& host, QWidget* anchor) {
    if (!Connected(host)) {
        Notice(host, txt::kNotice, txt::kNotConnected);
        return;
    }
    auto* dialog = new ProfileDlg(host, host.Window());
    if (anchor) {
        const QPoint topRight = anchor->mapToGlobal(QPoint(anchor->width(), 0));
        const int width = qMax(anchor->width(), kDesignSize.width());
        dialog->move(topRight.x() - width, topRight.y() - kGap - kDesignSize.height());
    }
    PageHost* owner = &host;
    connect(dialog, &QDialog::finished, dialog, [owner, dialog] {
        const Choice choice = dialog->Chosen();
        dialog->deleteLater();
        // After the pop-up is gone: a file dialog or a message box may follow.
        QTimer::singleShot(0, owner->Window(), [owner, choice] { RunProfileChoice(*owner, choice); });
    });
    dialog->show();
    dialog->activateWindow();
}

ProfileDlg::ProfileDlg(PageHost& host, QWidget* owner)
    // Under the background picture the window colour: a pop-up has no translucent corners on every
    // desktop.
    : SkinnedDialog(owner, Qt::Popup, "ProfileDlg", kDesignSize,
                    DialogLook{{}, DialogLook::Image::None, palette::kWindow, Qt::transparent, false}),
      host_(host) {
    const int R = kDesignSize.width(), B = kDesignSize.height();
    auto* background = new MPicture(QStringLiteral("img_area_content.png"), MPicture::Mode::Frame, this);
    background->setObjectName(ControlName(kBackground));
    Layout().Add(background, QRect(QPoint(), kDesignSize));
    background->lower();

    list_ = new ProfileList(this);
    list_->setObjectName(ControlName(kList));
    Layout().Add(list_, Ltrb(10, 10, R - 10, B - 80));
    list_->setFont(UiFont(14, QFont::Normal));
    list_->SetRowHeight(36);
    connect(list_, &ProfileList::entryChosen, this, &ProfileDlg::EntryClicked);
    connect(list_, &QListWidget::itemChanged, this, &ProfileDlg::NameEdited);
    TextRegistry* texts = new TextRegistry(this);
    texts->BindToolTip(list_, txt::kRenameTip);

    import_ = new QPushButton(this);
    import_->setObjectName(ControlName(kImport));
    Layout().Add(import_, Ltrb(10, B - 35, R / 2 - 5, B - 7));
    texts->BindText(import_, txt::kImport);
    connect(import_, &QPushButton::clicked, this, [this] { EndWith(Request::Import); });
    export_ = new QPushButton(this);
    export_->setObjectName(ControlName(kExport));
    Layout().Add(export_, Ltrb(R / 2 + 5, B - 35, R - 10, B - 7));
    texts->BindText(export_, txt::kExport);
    connect(export_, &QPushButton::clicked, this, [this] { EndWith(Request::Export); });
    apps_ = new QPushButton(this);
    apps_->setObjectName(ControlName(kApps));
    Layout().Add(apps_, Ltrb(10, B - 70, R - 10, B - 42));
    texts->BindText(apps_, txt::kApplications);
    connect(apps_, &QPushButton::clicked, this, [this] { EndWith(Request::Apps); });
    for (QPushButton* b : {import_, export_, apps_}) {
        b->setFont(UiFont(14));
        b->setAutoDefault(false);
    }
    Fill();
}

void ProfileDlg::Fill() {
    filling_ = true;
    ActionContext& ctx = host_.Actions();
    std::vector<ProfileInfo> profiles;
    ListProfiles(ctx, &profiles);
    const int current = ctx.Profile();
    for (const ProfileInfo& info : profiles) {
        auto* item = new QListWidgetItem(QString::fromStdString(info.shownName), list_);
        item->setData(ProfileList::kProfileRole, info.profile);
        item->setData(ProfileList::kActiveRole, info.profile == current);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
        item->setData(ProfileList::kAppsRole, QString::fromStdString(FormatAppList(info.apps))
                                                  .replace(QLatin1Char('\n'), QStringLiteral(", ")));
        if (info.profile == current) list_->setCurrentItem(item);
    }
    choice_.profile = current;
    filling_ = false;
}

int ProfileDlg::SelectedProfile() const {
    const QListWidgetItem* item = list_->currentItem();
    return item ? item->data(ProfileList::kProfileRole).toInt() : choice_.profile;
}

void ProfileDlg::EditName(int profile) {
    for (int row = 0; row < list_->count(); ++row) {
        QListWidgetItem* item = list_->item(row);
        if (item->data(ProfileList::kProfileRole).toInt() != profile) continue;
        list_->setCurrentItem(item);
        list_->editItem(item);
        return;
    }
}

void ProfileDlg::EntryClicked(QListWidgetItem* item) {
    choice_.profile = item->data(ProfileList::kProfileRole).toInt();
    EndWith(Request::Switch);
}

void ProfileDlg::NameEdited(QListWidgetItem* item) {
    if (filling_) return;
    const int profile = item->data(ProfileList::kProfileRole).toInt();
    const QString typed = item->text().trimmed();
    ActionResult result;
    if (!typed.isEmpty()) result = RenameProfile(host_.Actions(), profile, typed.toStdString());
    if (result.ok) {
        choice_.profile = profile;
        choice_.nameChanged = true;
        return;
    }
    // Nothing was stored: the entry shows the stored name again.
    if (!typed.isEmpty())
        choice_.problem =
            Text(txt::kRenameFailed) + QLatin1Char('\n') + QString::fromStdString(result.message);
    std::vector<ProfileInfo> profiles;
    ListProfiles(host_.Actions(), &profiles);
    filling_ = true;
    for (const ProfileInfo& info : profiles) {
        if (info.profile == profile) item->setText(QString::fromStdString(info.shownName));
    }
    filling_ = false;
}

void ProfileDlg::EndWith(Request request) {
    choice_.request = request;
    if (request != Request::Switch) choice_.profile = SelectedProfile();
    accept();
}

void ProfileDlg::done(int result) {
    // A rename still being typed is stored, as leaving the field would store it.
    list_->CommitEdit();
    QDialog::done(result);
}

void RunProfileChoice(PageHost& host, const ProfileDlg::Choice& choice) {
    if (!choice.problem.isEmpty()) Notice(host, txt::kNotice, UiText(choice.problem));
    const int current = host.Actions().Profile();
    switch (choice.request) {
        case ProfileDlg::Request::None:
            if (choice.nameChanged) Switch(host, choice.profile);
            return;
        case ProfileDlg::Request::Switch:
            Switch(host, choice.profile);
            return;
        case ProfileDlg::Request::Apps:
            if (choice.nameChanged) Switch(host, choice.profile);
            ProfileAppsDlg::Open(host, choice.profile);
            return;
        case ProfileDlg::Request::Import:
        case ProfileDlg::Request::Export:
            // The file belongs to the selected profile: it becomes the current one first (also after a
            // rename, so the button shows the new name).
            if (choice.nameChanged || choice.profile != current) Switch(host, choice.profile);
            if (host.Actions().Profile() != choice.profile) return;
            if (choice.request == ProfileDlg::Request::Import)
                ImportProfileFromFile(host);
            else
                ExportProfileToFile(host);
            return;
    }
}

void ConfirmFactoryReset(PageHost& host) {
    if (!Connected(host)) {
        Notice(host, txt::kNotice, txt::kNotConnected);
        return;
    }
    PageHost* owner = &host;
    OpenMessageBox(host.Window(), txt::kFactoryResetTitle, txt::kFactoryResetQuestion, kBoxOkCancel,
                   [owner](int answer) {
                       if (!IsConsent(answer)) return;
                       const ActionResult result = FactoryReset(owner->Actions());
                       if (!result.ok) {
                           // The mouse went away while the question was open, or its data could not be made
                           // anew.
                           if (!Connected(*owner))
                               Notice(*owner, txt::kNotice, txt::kNotConnected);
                           else
                               Notice(*owner, txt::kFactoryResetTitle,
                                      UiText(QString::fromStdString(result.message)));
                           return;
                       }
                       owner->Queue(result);
                       owner->ProfileChanged();
                   });
}

}  // namespace quorvel
