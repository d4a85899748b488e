#pragma once
// Blocking HTTP(S) GET of a short text or a file, with download progress; libcurl underneath, opened at
// the first request (CurlLibrary.h), so a program that downloads nothing never maps it.
// One client serves one thread at a time (the device worker); Cancel() may be called from any thread.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "update/UpdateLimits.h"

namespace quorvel {

struct CurlApi;

// Results of FetchText and DownloadFile.
enum DownloadResult : int {
    kDownloadFailed = -1,    // no answer, an error status, a failed read or write, a stall, cancelled
    kDownloadNoSession = 0,  // the HTTP library could not be loaded or set up (LastError says why)
    kDownloadOk = 1,
};

// Time-outs and caps; the defaults are the values of UpdateLimits.h. Tests shorten them.
struct DownloadLimits {
    long connectTimeoutMs = kConnectTimeoutMs;
    long stallTimeSeconds = kStallTimeSeconds;  // at least 1
    long stallBytesPerSecond = kStallBytesPerSecond;
    long fetchTextTimeoutMs = kFetchTextTimeoutMs;
    std::size_t maxTextBytes = kMaxFetchTextBytes;
    std::uint64_t maxDownloadBytes = kMaxDownloadBytes;
};

class DownloadClient {
public:
    // Receives progress values 0..100 (100 = finished) on the thread that runs the download; a GUI
    // marshals them to its own thread.
    using ProgressFn = std::function<void(int)>;

    DownloadClient() = default;
    explicit DownloadClient(const DownloadLimits& limits) : limits_(limits) {}
    DownloadClient(const DownloadClient&) = delete;
    DownloadClient& operator=(const DownloadClient&) = delete;

    void SetLimits(const DownloadLimits& limits) { limits_ = limits; }
    const DownloadLimits& Limits() const { return limits_; }
    // The libcurl file opened at the first request instead of the system's (tests name one that is missing).
    void SetLibraryFile(std::string file) { libraryFile_ = std::move(file); }

    // GETs the address (UTF-8) and stores the body, up to its first zero byte, in *text. On failure
    // *text is left as it was.
    int FetchText(const std::string& address, std::string* text);
    // The same for bytes that are checked as they are (a signature, a signed text): the body whole, zero
    // bytes included, refused when longer than maxBytes (at most the text cap of the limits).
    int FetchBytes(const std::string& address, std::size_t maxBytes, std::string* bytes);

    // GETs the address into filePath. The body goes to a temporary file beside it that replaces filePath
    // only when the whole body arrived, so a failed download leaves no partial file and keeps an older
    // file of that name. The files are programs to run and images to flash: over plain http they are
    // taken only from this computer (PlainHttpRefusal), the address given and every redirect alike. Progress
    // (when given): 0 unless already 0, 2, 8, 10, then per read 10 + 90 * bytes / length when the length is
    // known and at least one read size, then 100; each value only when it differs from the last one posted
    // (kept from one download to the next).
    int DownloadFile(const std::string& address, const std::string& filePath, const ProgressFn& progress);

    // Ends a running or the next operation as failed; stays set until ResetCancel().
    void Cancel() { cancel_.store(true); }
    void ResetCancel() { cancel_.store(false); }
    bool CancelRequested() const { return cancel_.load(); }

    // Why the last operation failed (empty after success) and its HTTP status (0 when none arrived).
    const std::string& LastError() const { return lastError_; }
    long LastHttpStatus() const { return lastStatus_; }
    int LastPostedProgress() const { return lastPosted_; }

private:
    struct Transfer;
    const CurlApi* Library();  // clears the last error; null (with the reason in it) when not loadable
    static std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user);
    static std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* user);
    static int OnTransferInfo(void* user, long long, long long, long long, long long);
    bool StartBody(Transfer& transfer);
    int Perform(Transfer& transfer, const std::string& address);
    void Post(const ProgressFn& progress, int value);

    DownloadLimits limits_;
    std::string libraryFile_;  // empty: the system's
    std::atomic<bool> cancel_{false};
    int lastPosted_ = 0;
    std::string lastError_;
    long lastStatus_ = 0;
};

// The address as sent: bytes outside printable ASCII (UTF-8 text) and blanks percent-encoded.
std::string EncodeAddress(const std::string& address);

// Why a file may not be downloaded from the address: plain http (also when no scheme is given) from a
// host other than this computer ("localhost" or a loopback address). Empty when it may; the reason the
// HTTP library cannot be loaded when it cannot (then nothing may be downloaded).
std::string PlainHttpRefusal(const std::string& address);

}  // namespace quorvel
