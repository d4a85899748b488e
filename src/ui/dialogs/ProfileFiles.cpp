#include "ui/dialogs/ProfileFiles.h"

#include <QDir>
#include <QFileInfo>

#include "actions/ProfileActions.h"
#include "device/PageState.h"
#include "files/FileProblem.h"
#include "store/DeviceDatabase.h"
#include "ui/common/FileDialogs.h"
#include "ui/common/PageHost.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiText.h"
#include "ui/dialogs/CUIMessageBox.h"

namespace quorvel {

namespace {

// The sentence with the file's full path in place of its "%s".
QString WithPath(int sentence, const QString& path) {
    return Text(sentence).replace(QStringLiteral("%s"), QDir::toNativeSeparators(path));
}

QString ShownName(PageHost& host) {
    ActionContext& ctx = host.Actions();
    std::string name;
    if (!ReadProfileName(ctx, ctx.Profile(), &name)) return QString();
    return QString::fromStdString(ShownProfileName(ctx, name));
}

// "<sentence>\n<file name>: <why>"
QString Explained(int sentence, const QString& path, const QString& why) {
    QString text = Text(sentence);
    if (!why.isEmpty()) text += QLatin1Char('\n') + QFileInfo(path).fileName() + QStringLiteral(": ") + why;
    return text;
}

}  // namespace

QString ProfileFileFilter() {
    return Text(txt::kProfileFiles) + QStringLiteral(" (*.xml)");
}

QString FileStatusText(FileStatus status) {
    switch (status) {
        case FileStatus::kOk:
            return QString();
        case FileStatus::kNotFound:
            return Text(txt::kProfileFileMissing);
        case FileStatus::kUnreadable:
            return Text(txt::kProfileFileUnreadable);
        case FileStatus::kTooLarge:
            return Text(txt::kProfileFileTooLarge);
        case FileStatus::kNotWellFormed:
            return Text(txt::kProfileFileNotXml);
        case FileStatus::kWrongRoot:
        case FileStatus::kWrongForm:
            return Text(txt::kNotProfileFile);
        case FileStatus::kTooManyItems:
            return Text(txt::kProfileFileTooFull);
        case FileStatus::kDatabaseFailed:
            return Text(txt::kProfilePartlyImported);
        case FileStatus::kNoDatabase:
        case FileStatus::kNoProfile:
        case FileStatus::kNoMacro:
        case FileStatus::kWriteFailed:
            break;
    }
    return QString();
}

void ImportProfileFromFile(PageHost& host) {
    const QString path = host.Files().OpenFile(host.Window(), Text(txt::kImportProfile), ProfileFileFilter());
    if (path.isEmpty()) return;
    FileStatus status = FileStatus::kOk;
    const ActionResult result = ImportProfileFile(host.Actions(), path.toStdString(), &status);
    if (result.ok) {
        host.Queue(result);
        host.ProfileChanged();
        OpenMessageBox(host.Window(), txt::kImportProfile, UiText(WithPath(txt::kProfileImported, path)),
                       kBoxOk, {});
        return;
    }
    QString why = FileStatusText(status);
    if (why.isEmpty()) why = QString::fromStdString(result.message);
    OpenMessageBox(host.Window(), txt::kImportProfile, UiText(Explained(txt::kProfileNotImported, path, why)),
                   kBoxOk, {});
    // A database that failed part-way has changed some of the profile: the pages show what it holds.
    if (status == FileStatus::kDatabaseFailed) host.ProfileChanged();
}

void ExportProfileToFile(PageHost& host) {
    const QString path = host.Files().SaveFile(host.Window(), Text(txt::kExportProfile),
                                               ShownName(host) + QStringLiteral(".xml"), ProfileFileFilter(),
                                               QStringLiteral("xml"));
    if (path.isEmpty()) return;
    FileStatus status = FileStatus::kOk;
    const ActionResult result = ExportProfileFile(host.Actions(), path.toStdString(), &status);
    if (result.ok) {
        OpenMessageBox(host.Window(), txt::kExportProfile, UiText(WithPath(txt::kProfileExported, path)),
                       kBoxOk, {});
        return;
    }
    QString why;
    if (status == FileStatus::kWriteFailed)
        why = QString::fromStdString(WriteFailureReason(path.toStdString()));
    if (why.isEmpty()) why = QString::fromStdString(result.message);
    OpenMessageBox(host.Window(), txt::kExportProfile, UiText(Explained(txt::kProfileNotExported, path, why)),
                   kBoxOk, {});
}

}  // namespace quorvel
