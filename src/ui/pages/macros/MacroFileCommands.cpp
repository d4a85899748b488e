#include "ui/pages/macros/MacroFileCommands.h"

#include "actions/MacroActions.h"
#include "ui/common/FileDialogs.h"
#include "ui/common/PageHost.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiText.h"
#include "ui/dialogs/CUIMessageBox.h"
#include "ui/pages/macros/MacroPageIds.h"

namespace quorvel {

using namespace macro_page;

namespace {

constexpr char kFilter[] = "Macro (*.xml)";
constexpr char kSuffix[] = "xml";

// What the user is told about a file the command could not use.
int FileProblemText(FileStatus status, bool import, bool list) {
    switch (status) {
        case FileStatus::kNotFound:
            return txt::kFileNotFound;
        case FileStatus::kUnreadable:
        case FileStatus::kTooLarge:
            return txt::kFileUnreadable;
        case FileStatus::kNotWellFormed:
        case FileStatus::kWrongRoot:
            return txt::kNotMacroFile;
        case FileStatus::kWrongForm:
            return list ? txt::kHoldsSingleMacro
                        : txt::kHoldsMacroList;  // a single macro offered as a list, or the other way round
        case FileStatus::kTooManyItems:
            return txt::kTooManyMacros;
        case FileStatus::kDatabaseFailed:
            return import ? txt::kPartlyImported : txt::kMacroNotChanged;
        case FileStatus::kWriteFailed:
            return txt::kFileNotWritten;
        default:
            return txt::kMacroNotChanged;
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
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        name = Text(txt::kMacrosFileName);
    return name + QLatin1Char('.') + QLatin1String(kSuffix);
}

}  // namespace

std::vector<int> ImportMacroCommand(PageHost& host, bool list) {
    const int title = list ? txt::kImportMacroList : txt::kImport;
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
    const QString path = host.Files().SaveFile(host.Window(), Text(txt::kExport), FileNameOf(shownName),
                                               QString::fromLatin1(kFilter), QString::fromLatin1(kSuffix));
    if (path.isEmpty()) return;
    FileStatus status = FileStatus::kOk;
    const ActionResult result = ExportMacroFile(host.Actions(), macroId, path.toStdString(), &status);
    if (!result.ok) Tell(host, txt::kExport, FileProblemText(status, false, false));
}

void ExportAllMacrosCommand(PageHost& host) {
    const QString path = host.Files().SaveFile(host.Window(), Text(txt::kExportAllMacros),
                                               FileNameOf(Text(txt::kMacrosFileName)),
                                               QString::fromLatin1(kFilter), QString::fromLatin1(kSuffix));
    if (path.isEmpty()) return;
    FileStatus status = FileStatus::kOk;
    const ActionResult result = ExportAllMacrosFile(host.Actions(), path.toStdString(), &status);
    if (!result.ok) Tell(host, txt::kExportAllMacros, FileProblemText(status, false, true));
}

}  // namespace quorvel
