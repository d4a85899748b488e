#pragma once
// Process-wide facts every part of the program shares: the device name (the product caption), the program
// directory (where config.xml, device/, language/ and skins/ lie) and the per-user data folder.
// All calls are safe from any thread; texts are returned by value.

#include <string>
#include <string_view>

namespace quorvel {

// The device name names the preference store, the autorun entry and the data folder. Empty until set.
void SetDeviceName(std::string_view name);
std::string GetDeviceName();

// The program directory with a trailing '/'. Defaults to ProgramDirFor(ExecutableDir()); the command-line
// tool's --product and the tests point it elsewhere.
void SetProgramDir(std::string_view dir);
std::string ProgramDir();
// Directory of the running executable with a trailing '/'; empty when it cannot be found.
std::string ExecutableDir();
// Full path of the running executable; empty when it cannot be found.
std::string ExecutablePath();

// Where the product data of an executable in `executableDir` lies: that folder itself when config.xml is
// there (a build tree), else "<executableDir>/../share/quorvel/" when config.xml is there (an installed
// tree), else the executable's folder, so that a missing file is reported where a build would put it.
std::string ProgramDirFor(std::string_view executableDir);
// True when the executable's product data lies in ../share/quorvel/ rather than beside it.
bool IsInstalledProgram(const std::string& executablePath);

// The program path that a start at log-in uses. An installed program names itself. A program run from a
// build tree names the installed copy of the same program found on PATH, when there is one, so that
// removing or rebuilding the build tree does not break the log-in start; otherwise it names itself, as
// nothing else could start it. Empty when the executable cannot be found.
std::string AutostartProgramPath();
// The same decision for a given executable and PATH text.
std::string AutostartProgramPathFor(const std::string& executablePath, std::string_view searchPath);

// "<XDG_DATA_HOME or ~/.local/share>/<device name> Files/" (trailing '/'). Not created here.
std::string DataFolder();
// DataFolder() + "db/": the folder of the per-model databases.
std::string DatabaseFolder();

// Creates every missing folder along the path; true when the folder exists afterwards.
bool CreateFolder(const std::string& path);

// The command-line option: "-hide" anywhere in the text, case-sensitive substring.
bool HasHideOption(std::string_view commandLine);
// The same test over argv[1..argc-1] joined with blanks, as Windows hands the command line over.
bool HasHideOption(int argc, const char* const* argv);

// Joins a directory (with or without trailing '/') and a relative name.
std::string JoinPath(std::string_view dir, std::string_view name);

}  // namespace quorvel
