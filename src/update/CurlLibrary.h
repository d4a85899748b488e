#pragma once
// libcurl, opened the first time a download needs it rather than linked: it brings the TLS libraries
// (several megabytes mapped) into every process, the GUI at start-up included, though most runs download
// nothing.

#include <curl/curl.h>

#include <string>

namespace quorvel {

// The library as the system installs it (the run-time name of the development package's link).
inline constexpr const char* kCurlLibraryFile = "libcurl.so.4";

// The calls the download client makes, resolved from the opened library.
struct CurlApi {
    CURLcode (*global_init)(long flags);
    CURL* (*easy_init)();
    void (*easy_cleanup)(CURL* curl);
    CURLcode (*easy_setopt)(CURL* curl, CURLoption option, ...);
    CURLcode (*easy_getinfo)(CURL* curl, CURLINFO info, ...);
    CURLcode (*easy_perform)(CURL* curl);
    const char* (*easy_strerror)(CURLcode code);
    curl_slist* (*slist_append)(curl_slist* list, const char* text);
    void (*slist_free_all)(curl_slist* list);
    CURLU* (*url)();
    void (*url_cleanup)(CURLU* url);
    CURLUcode (*url_set)(CURLU* url, CURLUPart part, const char* text, unsigned int flags);
    CURLUcode (*url_get)(const CURLU* url, CURLUPart part, char** text, unsigned int flags);
    void (*free)(void* pointer);
};

// The library of that file name, opened, resolved and globally initialised once per process and kept
// until exit. Null when it cannot be: *error (when given) then says which file and why, in words a user
// can act on. Safe from any thread.
const CurlApi* LoadCurl(const std::string& file, std::string* error);

}  // namespace quorvel
