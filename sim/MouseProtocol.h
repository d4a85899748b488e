#pragma once
// The mouse's command interpreter for both families: checks every request byte, carries out the
// commands on the memory and builds the replies. Not thread-safe: VirtualMouse serialises the calls.

#include <cstdint>
#include <string>
#include <vector>

#include "sim/MacroAssembler.h"
#include "sim/MouseMemory.h"
#include "sim/SimIssue.h"
#include "sim/VirtualSpec.h"

namespace quorvel {

inline constexpr size_t kSimReportSize = 33;  // report ID + 32 bytes, both families

class MouseProtocol {
public:
    struct Result {
        bool accepted = true;          // feature family: the report was taken
        bool replied = false;          // report family: `reply` is queued as an input report
        std::vector<uint8_t> reply;    // as delivered: without the report ID (32 bytes)
        bool changed = false;          // the memory changed
    };

    explicit MouseProtocol(const VirtualMouseSpec& spec);

    // A report-family request, 33 bytes with the report ID in byte 0.
    Result HandleReport(const uint8_t* request);
    // A feature-family report, 33 bytes with report ID 0x0C in byte 0.
    Result HandleFeature(const uint8_t* request);
    // Notes the sequence number of a feature report the mouse saw but did not carry out.
    void NoteSequence(const uint8_t* request);
    // The get-feature info block (33 bytes, report ID 0x0C in byte 0).
    std::vector<uint8_t> FeatureInfo() const;
    // A fresh connection: the next write may carry any sequence number.
    void ResyncSequence();

    // Input reports the mouse sends on its own (as delivered).
    std::vector<uint8_t> DpiReport() const;
    std::vector<uint8_t> LinkReport() const;

    void AddIssue(SimIssueKind kind, std::string text, const uint8_t* bytes, size_t length);

    const VirtualMouseSpec spec;
    MouseMemory memory;
    std::vector<SimIssue> issues;
    int batteryLevel = 80;
    int batteryStatus = 0;
    bool linked = true;

private:
    struct Sequence {
        bool synced = false;
        int last = 0;
    };

    // Report family
    Result ReportRead(const uint8_t* r);
    Result ReportWrite(const uint8_t* r);
    bool ReportDpi(const uint8_t* r);
    bool ReportLighting(const uint8_t* r);
    bool ReportMacro(const uint8_t* r);
    // Feature family
    bool FeatureWrite(const uint8_t* r);
    bool FeatureLighting(const uint8_t* r);
    bool FeatureMacro(const uint8_t* r);
    bool CheckSequence(const uint8_t* r);
    // Shared
    bool Refuse(SimIssueKind kind, const std::string& text, const uint8_t* r);
    bool CheckLength(const uint8_t* r, int at, int expected);
    bool CheckZero(const uint8_t* r, int from, const char* what);
    bool CheckRange(const uint8_t* r, int value, int low, int high, const char* what);
    bool ValidReportRate(int code) const;
    bool ApplyLighting(const uint8_t* r, int lengthAt, int dataAt);

    Sequence writes_;
    MacroAssembler reportMacro_{4};
    MacroAssembler featureMacro_{3};
};

}  // namespace quorvel
