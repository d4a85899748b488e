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

// The program directory with a trailing '/'. Defaults to the directory of the running executable
// (/proc/self/exe); the command-line tool's --product and the tests point it elsewhere.
void SetProgramDir(std::string_view dir);
std::string ProgramDir();
// Directory of the running executable with a trailing '/'; empty when it cannot be found.
std::string ExecutableDir();
// Full path of the running executable; empty when it cannot be found.
std::string ExecutablePath();

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
