// Both macro imports on arbitrary bytes, into a scratch device database in a private temporary folder.
// The macros an input added are deleted again so the library stays small across the run.


#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "ScratchDatabase.h"
#include "files/MacroFile.h"
#include "store/DeviceDatabase.h"

namespace {

quorvel::DeviceDatabase& ScratchDatabase() {
    return quorvel::fuzz::OpenScratchDatabase("macro");
}

void Forget(quorvel::DeviceDatabase& db, const quorvel::MacroImportResult& result) {
    for (const quorvel::ImportedMacro& macro : result.macros) db.DeleteMacro(macro.macroId);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    quorvel::DeviceDatabase& db = ScratchDatabase();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Forget(db, quorvel::ImportSingleMacroBytes(db, bytes, "fuzz"));
    Forget(db, quorvel::ImportMultiMacroBytes(db, bytes, "fuzz"));
    return 0;
}
