#pragma once
// Per-user preferences kept under the device name (REG_SZ-like decimal texts): LCID, DeviceType,
// exit_mode, autorun_minimize, and the autorun entry. Each call opens the store and closes it again;
// failures are silent (a value that cannot be read counts as absent, one that cannot be written is not
// stored). Safe from any thread.

#include <string>
#include <string_view>

namespace quorvel {

// Reads the decimal number at the start of a value. A missing store is created and reads 0; a store that
// cannot be opened reads 0.
int ReadPreferenceInt(std::string_view name);
// Writes the text into the existing store; nothing happens when the store does not exist yet.
void WritePreferenceText(std::string_view name, std::string_view text);

// LCID: as ReadPreferenceInt, but 2052 when the store can neither be opened nor created.
int ReadLCID();
void WriteLCID(int lcid);
// DeviceType: read without creating the store.
int ReadDeviceType();
void WriteDeviceType(int deviceType);
// exit_mode: 1 hides the window on close; any other value ends the program.
int ReadExitMode();
void WriteExitMode(bool hideOnClose);
int ReadAutorunMinimize();
void WriteAutorunMinimize(bool on);

// The autorun entry: starts AutostartProgramPath() at log-in, with " -hide" (no window until asked for)
// when autorun_minimize is 1. Turning it off also writes autorun_minimize "0". False when the entry could
// not be written or removed.
bool SetAutorun(bool on);
// Stores autorun_minimize and, while autorun is on, writes the entry again to match. False when the entry
// could not be written.
bool SetAutorunMinimize(bool on);
bool IsAutorunOn();

// Where the store lives: "<XDG_CONFIG_HOME or ~/.config>/<device name>/".
std::string PreferenceFolder();

}  // namespace quorvel
