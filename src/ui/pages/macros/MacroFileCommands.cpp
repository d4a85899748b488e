#include "ui/pages/macros/MacroFileCommands.h"

#include "actions/MacroActions.h"
#include "ui/common/FileDialogs.h"
#include "ui/pages/macros/MacroIds.h"
#include "ui/dialogs/CUIMessageBox.h"
#include "ui/common/PageHost.h"
#include "ui/common/UiText.h"

namespace quorvel {

namespace {

constexpr char kFilter[] = "Macro (*.xml)";
constexpr char kSuffix[] = "xml";

// What the user is told about a file the command could not use.
int FileProblemText(FileStatus status, bool import, bool list) {
    switch (status) {
        case FileStatus::kNotFound:
            return 836;
        case FileStatus::kUnreadable:
        case FileStatus::kTooLarge:
            return 837;
        case FileStatus::kNotWellFormed:
        case FileStatus::kWrongRoot:
            return 838;
        case FileStatus::kWrongForm:
            return list ? 840 : 839;  // a single macro offered as a list, or the other way round
        case FileStatus::kTooManyItems:
            return 841;
        case FileStatus::kDatabaseFailed:
            return import ? 842 : 847;
        case FileStatus::kWriteFailed:
            return 843;
        default:
            return 847;
    }
}

void Tell(PageHost& host, int title, int message) {
    OpenMessageBox(host.Window(), UiText(title), UiText(message), kBoxOk, {});
}

// A file name from a macro name: no folder separators, nothing empty.
QString FileNameOf(QString name) {
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    name.replace(QLatin1Char('\\'), QLatin1Char('_'));
    name = name.trimmed();
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) name = Text(844);
    return name + QLatin1Char('.') + QLatin1String(kSuffix);
}

}  // namespace

std::vector<int> ImportMacroCommand(PageHost& host, bool list) {
    const int title = list ? 410 : 26;
    const QString path = host.Files().OpenFile(host.Window(), Text(title), QString::fromLatin1(kFilter));
    if (path.isEmpty()) return {};
    std::vector<MacroInfo> imported;
    FileStatus status = FileStatus::kOk;
    const std::string file = path.toStdString();
    const ActionResult result = list ? ImportAllMacrosFile(host.Actions(), file, &imported, &status)
                                     : ImportMacroFile(host.Actions(), file, &imported, &status);
    if (!result.ok || status != FileStatus::kOk) Tell(host, title, FileProblemText(status, true, list));
    std::vector<int> ids;
    for (const MacroInfo& m : imported) ids.push_back(m.macro.macro_id);
    return ids;
}

void ExportMacroCommand(PageHost& host, int macroId, const QString& shownName) {
    const QString path = host.Files().SaveFile(host.Window(), Text(27), FileNameOf(shownName),
                                               QString::fromLatin1(kFilter), QString::fromLatin1(kSuffix));
    if (path.isEmpty()) return;
    FileStatus status = FileStatus::kOk;
    const ActionResult result = ExportMacroFile(host.Actions(), macroId, path.toStdString(), &status);
    if (!result.ok) Tell(host, 27, FileProblemText(status, false, false));
}

void ExportAllMacrosCommand(PageHost& host) {
    const QString path = host.Files().SaveFile(host.Window(), Text(411), FileNameOf(Text(844)),
                                               QString::fromLatin1(kFilter), QString::fromLatin1(kSuffix));
    if (path.isEmpty()) return;
    FileStatus status = FileStatus::kOk;
    const ActionResult result = ExportAllMacrosFile(host.Actions(), path.toStdString(), &status);
    if (!result.ok) Tell(host, 411, FileProblemText(status, false, true));
}

}  // namespace quorvel
