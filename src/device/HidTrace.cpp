#include "device/HidTrace.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace quorvel {

std::string HidTraceLine(const char* op, uint16_t usagePage, uint16_t usage, const uint8_t* data, size_t length) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string line = op;
    char ids[16];
    std::snprintf(ids, sizeof ids, " %04X:%04X", usagePage, usage);
    line += ids;
    line.reserve(line.size() + 3 * length);
    for (size_t i = 0; i < length; ++i) {
        line += ' ';
        line += kHex[data[i] >> 4];
        line += kHex[data[i] & 0x0F];
    }
    return line;
}

std::unique_ptr<HidTrace> HidTrace::Create(std::unique_ptr<HidBackend> inner, const std::string& file,
                                           std::string* error) {
    if (!inner) {
        if (error) *error = "no HID backend to trace";
        return nullptr;
    }
    std::FILE* f = std::fopen(file.c_str(), "ab");
    if (!f) {
        if (error) *error = "cannot open the HID trace file " + file + ": " + std::strerror(errno);
        return nullptr;
    }
    return std::unique_ptr<HidTrace>(new HidTrace(std::move(inner), f));
}

HidTrace::HidTrace(std::unique_ptr<HidBackend> inner, std::FILE* file) : inner_(std::move(inner)), file_(file) {}

HidTrace::~HidTrace() {
    inner_.reset();  // stops hot-plug callbacks before the file goes
    std::fclose(file_);
}

void HidTrace::Line(const char* op, HidHandle* handle, const uint8_t* data, size_t length) {
    uint16_t usagePage = 0, usage = 0;
    inner_->Usage(handle, &usagePage, &usage);
    std::string line = HidTraceLine(op, usagePage, usage, data, length);
    line += '\n';
    std::lock_guard<std::mutex> lock(mutex_);
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fflush(file_);
}

std::vector<HidDeviceInfo> HidTrace::Enumerate(uint16_t vendorId, uint16_t productId) {
    return inner_->Enumerate(vendorId, productId);
}

HidHandle* HidTrace::Open(const std::string& path, HidOpenError* error) { return inner_->Open(path, error); }

void HidTrace::Close(HidHandle* handle) { inner_->Close(handle); }

int HidTrace::Write(HidHandle* handle, const uint8_t* data, size_t length) {
    if (handle && data) Line("write", handle, data, length);
    return inner_->Write(handle, data, length);
}

int HidTrace::ReadTimeout(HidHandle* handle, uint8_t* data, size_t length, int milliseconds) {
    int n = inner_->ReadTimeout(handle, data, length, milliseconds);
    if (n > 0) Line("read", handle, data, std::min(static_cast<size_t>(n), length));
    return n;
}

int HidTrace::SendFeature(HidHandle* handle, const uint8_t* data, size_t length) {
    if (handle && data) Line("send_feature", handle, data, length);
    return inner_->SendFeature(handle, data, length);
}

int HidTrace::GetFeature(HidHandle* handle, uint8_t* data, size_t length) {
    int n = inner_->GetFeature(handle, data, length);
    if (n > 0) Line("get_feature", handle, data, std::min(static_cast<size_t>(n), length));
    return n;
}

std::string HidTrace::ProductString(HidHandle* handle) { return inner_->ProductString(handle); }

std::string HidTrace::LastError(HidHandle* handle) { return inner_->LastError(handle); }

void HidTrace::Usage(HidHandle* handle, uint16_t* usagePage, uint16_t* usage) {
    inner_->Usage(handle, usagePage, usage);
}

void HidTrace::WatchHotplug(HidHotplugCallback callback) { inner_->WatchHotplug(std::move(callback)); }

}  // namespace quorvel
