#include "update/CurlLibrary.h"

#include <dlfcn.h>

#include <map>
#include <memory>
#include <mutex>

namespace quorvel {
namespace {

template <typename Fn>
bool Resolve(void* handle, const char* name, Fn* fn, std::string* missing) {
    void* symbol = dlsym(handle, name);
    if (symbol == nullptr) {
        if (missing->empty()) *missing = name;
        return false;
    }
    *fn = reinterpret_cast<Fn>(symbol);
    return true;
}

std::unique_ptr<CurlApi> Open(const std::string& file, std::string* error) {
    const std::string advice = " (downloads need libcurl; install the package libcurl4)";
    // RTLD_LOCAL: curl's symbols stay out of the global namespace, so nothing else binds to them by chance.
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = dlerror();
        *error = "cannot load " + file + ": " + (why != nullptr ? why : "not found") + advice;
        return nullptr;
    }
    auto api = std::make_unique<CurlApi>();
    std::string missing;
    bool ok = true;
    ok &= Resolve(handle, "curl_global_init", &api->global_init, &missing);
    ok &= Resolve(handle, "curl_easy_init", &api->easy_init, &missing);
    ok &= Resolve(handle, "curl_easy_cleanup", &api->easy_cleanup, &missing);
    ok &= Resolve(handle, "curl_easy_setopt", &api->easy_setopt, &missing);
    ok &= Resolve(handle, "curl_easy_getinfo", &api->easy_getinfo, &missing);
    ok &= Resolve(handle, "curl_easy_perform", &api->easy_perform, &missing);
    ok &= Resolve(handle, "curl_easy_strerror", &api->easy_strerror, &missing);
    ok &= Resolve(handle, "curl_slist_append", &api->slist_append, &missing);
    ok &= Resolve(handle, "curl_slist_free_all", &api->slist_free_all, &missing);
    ok &= Resolve(handle, "curl_url", &api->url, &missing);
    ok &= Resolve(handle, "curl_url_cleanup", &api->url_cleanup, &missing);
    ok &= Resolve(handle, "curl_url_set", &api->url_set, &missing);
    ok &= Resolve(handle, "curl_url_get", &api->url_get, &missing);
    ok &= Resolve(handle, "curl_free", &api->free, &missing);
    if (!ok) {
        dlclose(handle);
        *error = file + " is not a libcurl this program can use: it lacks " + missing + advice;
        return nullptr;
    }
    // Once per process, before any other call: curl's global set-up is not safe to repeat.
    if (api->global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
        *error = file + " could not set up its TLS and network libraries";
        // Kept open: a failed global set-up may have left state behind that an unload would cut off.
        return nullptr;
    }
    return api;
}

}  // namespace

const CurlApi* LoadCurl(const std::string& file, std::string* error) {
    static std::mutex mutex;
    // Never freed: a download may still run on another thread while static objects are destroyed.
    static auto* opened = new std::map<std::string, std::unique_ptr<CurlApi>>;
    std::lock_guard<std::mutex> lock(mutex);
    auto it = opened->find(file);
    if (it != opened->end()) return it->second.get();
    std::string why;
    std::unique_ptr<CurlApi> api = Open(file, &why);
    if (!api) {
        if (error != nullptr) *error = why;
        return nullptr;
    }
    return opened->emplace(file, std::move(api)).first->second.get();
}

}  // namespace quorvel
