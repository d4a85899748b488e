#include "update/DownloadClient.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>

#include "platform/TempFile.h"
#include "update/CurlLibrary.h"

namespace quorvel {
namespace {

struct CurlDeleter {
    const CurlApi* api;
    void operator()(CURL* curl) const { api->easy_cleanup(curl); }
};
struct SlistDeleter {
    const CurlApi* api;
    void operator()(curl_slist* list) const { api->slist_free_all(list); }
};

std::string SystemError(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

struct UrlDeleter {
    const CurlApi* api;
    void operator()(CURLU* url) const { api->url_cleanup(url); }
};
using Url = std::unique_ptr<CURLU, UrlDeleter>;

// One part of a parsed address; empty when it has none.
std::string UrlPart(const CurlApi& api, CURLU* url, CURLUPart which) {
    char* text = nullptr;
    if (api.url_get(url, which, &text, 0) != CURLUE_OK || text == nullptr) return {};
    std::string part(text);
    api.free(text);
    return part;
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// "localhost", or an IPv4 address in 127.0.0.0/8, or ::1 (also as a mapped IPv4 address).
bool IsLoopbackHost(std::string host) {
    host = Lower(std::move(host));
    if (!host.empty() && host.back() == '.') host.pop_back();
    if (host == "localhost") return true;
    in_addr v4{};
    if (inet_pton(AF_INET, host.c_str(), &v4) == 1) return (ntohl(v4.s_addr) >> 24) == 127;
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
    in6_addr v6{};
    if (inet_pton(AF_INET6, host.c_str(), &v6) != 1) return false;
    if (IN6_IS_ADDR_LOOPBACK(&v6)) return true;
    return IN6_IS_ADDR_V4MAPPED(&v6) && v6.s6_addr[12] == 127;
}

// The address a redirect's Location names, resolved against the address that answered.
std::string RedirectTarget(const CurlApi& api, const std::string& current, std::string_view location) {
    Url url(api.url(), UrlDeleter{&api});
    if (!url || api.url_set(url.get(), CURLUPART_URL, current.c_str(), 0) != CURLUE_OK)
        return std::string(location);
    const std::string next(location);
    if (api.url_set(url.get(), CURLUPART_URL, next.c_str(), CURLU_GUESS_SCHEME) != CURLUE_OK) return next;
    return UrlPart(api, url.get(), CURLUPART_URL);
}

std::string Refusal(const CurlApi& api, const std::string& address) {
    Url url(api.url(), UrlDeleter{&api});
    const std::string encoded = EncodeAddress(address);
    // An address curl cannot read fails on its own, with curl's reason.
    if (!url || api.url_set(url.get(), CURLUPART_URL, encoded.c_str(), CURLU_GUESS_SCHEME) != CURLUE_OK)
        return {};
    if (Lower(UrlPart(api, url.get(), CURLUPART_SCHEME)) != "http") return {};
    const std::string host = UrlPart(api, url.get(), CURLUPART_HOST);
    if (IsLoopbackHost(host)) return {};
    return "plain http from " + host +
           " is refused for update files: use an https address (plain http is accepted only from this "
           "computer)";
}

}  // namespace

std::string PlainHttpRefusal(const std::string& address) {
    std::string error;
    const CurlApi* api = LoadCurl(kCurlLibraryFile, &error);
    // Without the library nothing can be downloaded from anywhere: refused, with the reason.
    return api != nullptr ? Refusal(*api, address) : error;
}

struct DownloadClient::Transfer {
    DownloadClient* client = nullptr;
    const CurlApi* api = nullptr;
    CURL* curl = nullptr;
    bool toFile = false;
    const ProgressFn* progress = nullptr;  // may hold no function
    std::string body;                      // text fetch
    std::size_t textCap = 0;               // text fetch: longest body taken
    std::string finalPath, tempPath;       // file download
    int fd = -1;
    bool started = false;  // the final answer's body has begun
    bool failed = false;   // stopped for a reason of ours, already in lastError_
    std::uint64_t length = 0;
    std::uint64_t received = 0;

    bool ToFile() const { return toFile; }
    ~Transfer() {
        if (fd >= 0) close(fd);
        if (!tempPath.empty()) unlink(tempPath.c_str());
    }
};

std::string EncodeAddress(const std::string& address) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (unsigned char c : address) {
        if (c <= 0x20 || c >= 0x7F) {
            encoded += '%';
            encoded += kHex[c >> 4];
            encoded += kHex[c & 15];
        } else {
            encoded += static_cast<char>(c);
        }
    }
    return encoded;
}

void DownloadClient::Post(const ProgressFn& progress, int value) {
    if (!progress || value == lastPosted_) return;
    lastPosted_ = value;
    progress(value);
}

// Runs once the final answer (after redirects) is known, before its first byte is taken.
bool DownloadClient::StartBody(Transfer& t) {
    t.started = true;
    long status = 0;
    t.api->easy_getinfo(t.curl, CURLINFO_RESPONSE_CODE, &status);
    lastStatus_ = status;
    // An error page is not the file that was asked for.
    if (status >= 400) {
        lastError_ = "HTTP status " + std::to_string(status);
        return false;
    }
    curl_off_t length = -1;
    t.api->easy_getinfo(t.curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    t.length = length > 0 ? static_cast<std::uint64_t>(length) : 0;
    std::uint64_t cap = t.ToFile() ? limits_.maxDownloadBytes : t.textCap;
    if (t.length > cap) {
        lastError_ = "the answer is larger than " + std::to_string(cap) + " bytes";
        return false;
    }
    if (!t.ToFile()) return true;
    Post(*t.progress, 8);
    t.fd = CreateTemporaryBeside(t.finalPath, ".part", &t.tempPath);
    if (t.fd < 0) {
        lastError_ = SystemError(("cannot create a file beside " + t.finalPath).c_str());
        return false;
    }
    Post(*t.progress, 10);
    return true;
}

std::size_t DownloadClient::OnBody(char* data, std::size_t size, std::size_t count, void* user) {
    Transfer& t = *static_cast<Transfer*>(user);
    DownloadClient& self = *t.client;
    std::size_t bytes = size * count;
    if (t.failed) return 0;
    if (!t.started && !self.StartBody(t)) {
        t.failed = true;
        return 0;
    }
    t.received += bytes;
    if (!t.ToFile()) {
        if (t.received > t.textCap) {
            self.lastError_ = "the text is longer than " + std::to_string(t.textCap) + " bytes";
            t.failed = true;
            return 0;
        }
        t.body.append(data, bytes);
        return bytes;
    }
    if (t.received > self.limits_.maxDownloadBytes) {
        self.lastError_ = "the file is larger than " + std::to_string(self.limits_.maxDownloadBytes) + " bytes";
        t.failed = true;
        return 0;
    }
    // A short write would leave a damaged file that looks complete.
    if (!WriteAllBytes(t.fd, data, bytes)) {
        self.lastError_ = SystemError(("cannot write " + t.tempPath).c_str());
        t.failed = true;
        return 0;
    }
    if (t.length >= kDownloadReadSize) {
        std::uint64_t value = 10 + 90 * t.received / t.length;
        self.Post(*t.progress, static_cast<int>(std::min<std::uint64_t>(value, 100)));
    }
    return bytes;
}

// Sees the answer's header lines: a redirect of a file download is judged before it is followed.
std::size_t DownloadClient::OnHeader(char* data, std::size_t size, std::size_t count, void* user) {
    Transfer& t = *static_cast<Transfer*>(user);
    const std::size_t bytes = size * count;
    std::string_view line(data, bytes);
    constexpr std::string_view kLocation = "location:";
    if (!t.ToFile() || line.size() < kLocation.size() ||
        Lower(std::string(line.substr(0, kLocation.size()))) != kLocation)
        return bytes;
    long status = 0;
    t.api->easy_getinfo(t.curl, CURLINFO_RESPONSE_CODE, &status);
    if (status != 301 && status != 302 && status != 303 && status != 307 && status != 308) return bytes;
    std::string_view location = line.substr(kLocation.size());
    while (!location.empty() && (location.front() == ' ' || location.front() == '\t'))
        location.remove_prefix(1);
    while (!location.empty() && std::isspace(static_cast<unsigned char>(location.back())))
        location.remove_suffix(1);
    char* current = nullptr;
    t.api->easy_getinfo(t.curl, CURLINFO_EFFECTIVE_URL, &current);
    const std::string next = RedirectTarget(*t.api, current != nullptr ? current : "", location);
    const std::string refusal = Refusal(*t.api, next);
    if (refusal.empty()) return bytes;
    t.client->lastError_ = "the server redirected to " + next + ": " + refusal;
    t.failed = true;
    return 0;
}

int DownloadClient::OnTransferInfo(void* user, long long, long long, long long, long long) {
    Transfer& t = *static_cast<Transfer*>(user);
    return t.client->cancel_.load() ? 1 : 0;
}

namespace {

// Everything both operations ask of the connection.
bool Configure(const CurlApi& api, CURL* curl, const std::string& url, curl_slist* headers,
               const DownloadLimits& limits, bool text, char* errorBuffer) {
    bool ok = true;
    auto set = [&](CURLcode code) { ok = ok && code == CURLE_OK; };
    set(api.easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer));
    set(api.easy_setopt(curl, CURLOPT_URL, url.c_str()));
    set(api.easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https"));
    set(api.easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https"));
    set(api.easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L));
    set(api.easy_setopt(curl, CURLOPT_MAXREDIRS, kMaxRedirects));
    set(api.easy_setopt(curl, CURLOPT_HTTPGET, 1L));
    set(api.easy_setopt(curl, CURLOPT_USERAGENT, kUpdateUserAgent));
    set(api.easy_setopt(curl, CURLOPT_HTTPHEADER, headers));
    set(api.easy_setopt(curl, CURLOPT_NOSIGNAL, 1L));
    set(api.easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L));
    set(api.easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L));
    set(api.easy_setopt(curl, CURLOPT_BUFFERSIZE, static_cast<long>(kDownloadReadSize)));
    set(api.easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, limits.connectTimeoutMs));
    set(api.easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, limits.stallBytesPerSecond));
    set(api.easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, std::max(1L, limits.stallTimeSeconds)));
    if (text) set(api.easy_setopt(curl, CURLOPT_TIMEOUT_MS, limits.fetchTextTimeoutMs));
    return ok;
}

}  // namespace

// Shared by both operations: 0 when no session, -1 on failure, 1 when the whole body arrived.
const CurlApi* DownloadClient::Library() {
    lastError_.clear();
    lastStatus_ = 0;
    const CurlApi* api = LoadCurl(libraryFile_.empty() ? kCurlLibraryFile : libraryFile_, &lastError_);
    if (api == nullptr) lastError_ = "the HTTP library could not be set up: " + lastError_;
    return api;
}

int DownloadClient::Perform(Transfer& t, const std::string& address) {
    t.client = this;
    t.api = Library();
    if (t.api == nullptr) return kDownloadNoSession;
    const CurlApi& api = *t.api;
    std::unique_ptr<CURL, CurlDeleter> curl(api.easy_init(), CurlDeleter{&api});
    if (!curl) {
        lastError_ = "the HTTP library could not be set up";
        return kDownloadNoSession;
    }
    t.curl = curl.get();
    if (t.ToFile()) Post(*t.progress, 2);

    curl_slist* list = nullptr;
    for (const char* header : {"Accept: */*", "Cache-Control: no-cache", "Pragma: no-cache"}) {
        curl_slist* longer = api.slist_append(list, header);
        if (!longer) break;
        list = longer;
    }
    std::unique_ptr<curl_slist, SlistDeleter> headers(list, SlistDeleter{&api});
    char errorBuffer[CURL_ERROR_SIZE] = {};
    bool ok = headers && Configure(api, t.curl, EncodeAddress(address), headers.get(), limits_, !t.ToFile(),
                                   errorBuffer);
    ok = ok && api.easy_setopt(t.curl, CURLOPT_WRITEFUNCTION, &DownloadClient::OnBody) == CURLE_OK &&
         api.easy_setopt(t.curl, CURLOPT_WRITEDATA, &t) == CURLE_OK &&
         api.easy_setopt(t.curl, CURLOPT_NOPROGRESS, 0L) == CURLE_OK &&
         api.easy_setopt(t.curl, CURLOPT_XFERINFOFUNCTION, &DownloadClient::OnTransferInfo) == CURLE_OK &&
         api.easy_setopt(t.curl, CURLOPT_XFERINFODATA, &t) == CURLE_OK &&
         api.easy_setopt(t.curl, CURLOPT_HEADERFUNCTION, &DownloadClient::OnHeader) == CURLE_OK &&
         api.easy_setopt(t.curl, CURLOPT_HEADERDATA, &t) == CURLE_OK;
    if (!ok) {
        lastError_ = "the request could not be prepared";
        return kDownloadFailed;
    }
    if (cancel_.load()) {
        lastError_ = "cancelled";
        return kDownloadFailed;
    }

    CURLcode code = api.easy_perform(t.curl);
    if (code != CURLE_OK) {
        api.easy_getinfo(t.curl, CURLINFO_RESPONSE_CODE, &lastStatus_);
        if (code == CURLE_ABORTED_BY_CALLBACK) {
            lastError_ = "cancelled";
        } else if (!t.failed) {
            lastError_ = errorBuffer[0] ? errorBuffer : api.easy_strerror(code);
        }
        return kDownloadFailed;
    }
    // An empty body calls no write function: the answer is judged here.
    if (!t.started && !StartBody(t)) return kDownloadFailed;
    return kDownloadOk;
}

int DownloadClient::FetchText(const std::string& address, std::string* text) {
    std::string body;
    const int result = FetchBytes(address, limits_.maxTextBytes, &body);
    if (result != kDownloadOk) return result;
    std::size_t zero = body.find('\0');
    if (zero != std::string::npos) body.resize(zero);
    if (text) *text = std::move(body);
    return kDownloadOk;
}

int DownloadClient::FetchBytes(const std::string& address, std::size_t maxBytes, std::string* bytes) {
    Transfer t;
    t.textCap = std::min(maxBytes, limits_.maxTextBytes);
    int result = Perform(t, address);
    if (result != kDownloadOk) return result;
    if (bytes) *bytes = std::move(t.body);
    return kDownloadOk;
}

int DownloadClient::DownloadFile(const std::string& address, const std::string& filePath,
                                 const ProgressFn& progress) {
    Post(progress, 0);
    const CurlApi* api = Library();
    if (api == nullptr) return kDownloadNoSession;
    if (std::string refusal = Refusal(*api, address); !refusal.empty()) {
        lastError_ = std::move(refusal);
        return kDownloadFailed;
    }
    Transfer t;
    t.toFile = true;
    t.progress = &progress;
    t.finalPath = filePath;
    int result = Perform(t, address);
    if (result != kDownloadOk) return result;
    // The file is complete on disk before it takes the final name.
    if (fsync(t.fd) != 0 && errno != EINVAL) {
        lastError_ = SystemError(("cannot write " + t.tempPath).c_str());
        return kDownloadFailed;
    }
    int fd = t.fd;
    t.fd = -1;
    if (close(fd) != 0) {
        lastError_ = SystemError(("cannot write " + t.tempPath).c_str());
        return kDownloadFailed;
    }
    if (rename(t.tempPath.c_str(), filePath.c_str()) != 0) {
        lastError_ = SystemError(("cannot create " + filePath).c_str());
        return kDownloadFailed;
    }
    t.tempPath.clear();
    Post(progress, 100);
    return kDownloadOk;
}

}  // namespace quorvel
