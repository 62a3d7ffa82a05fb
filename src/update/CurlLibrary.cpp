#include "update/CurlLibrary.h"

#include <dlfcn.h>

#include <cstdio>

namespace {

// Sets `function` to the library's `symbol`; a missing one is the first reason kept.
template <typename Function>
void Bind(void* library, const char* symbol, Function& function, std::string& error)
{
    function = reinterpret_cast<Function>(::dlsym(library, symbol));
    if (function == nullptr && error.empty()) {
        error = std::string(symbol) + " is missing from the loaded libcurl";
    }
}

}  // namespace

CurlLibrary CurlLibrary::Load(const char* name)
{
    CurlLibrary curl;
    void* library = ::dlopen(name, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* reason = ::dlerror();
        curl.error = std::string(name) + " could not be loaded: " + (reason ? reason : "unknown");
        return curl;
    }
    Bind(library, "curl_global_init", curl.globalInit, curl.error);
    Bind(library, "curl_easy_init", curl.easyInit, curl.error);
    Bind(library, "curl_easy_setopt", curl.easySetopt, curl.error);
    Bind(library, "curl_easy_perform", curl.easyPerform, curl.error);
    Bind(library, "curl_easy_getinfo", curl.easyGetinfo, curl.error);
    Bind(library, "curl_easy_cleanup", curl.easyCleanup, curl.error);
    Bind(library, "curl_slist_append", curl.slistAppend, curl.error);
    Bind(library, "curl_slist_free_all", curl.slistFreeAll, curl.error);
    return curl;
}

const CurlLibrary& CurlLibrary::Shared()
{
    static const CurlLibrary shared = [] {
        CurlLibrary curl = Load(kName);
        if (curl.Usable() && curl.globalInit(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
            curl.error = std::string(kName) + " could not be initialised";
        }
        if (!curl.Usable()) {
            std::fprintf(stderr, "%s; updates can be neither checked nor downloaded\n",
                         curl.error.c_str());
        }
        return curl;
    }();
    return shared;
}
