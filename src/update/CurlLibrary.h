// libcurl, loaded when the first transfer starts rather than with the program: the library and
// what it pulls in (TLS, LDAP, Kerberos, SSH) take megabytes of memory that only update checks
// and downloads need. The library is loaded once per process and never unloaded; its types and
// constants come from its headers, its functions only through this table.
#pragma once

#include <curl/curl.h>

#include <string>

struct CurlLibrary {
    // The name the program loads.
    static constexpr const char* kName = "libcurl.so.4";

    // The library loaded and initialised by the first call (from any thread). A library that
    // cannot be used is reported on stderr, once.
    static const CurlLibrary& Shared();
    // Loads the library `name` and looks up every function below; does not initialise it.
    static CurlLibrary Load(const char* name);

    // Why the library cannot be used; empty when every function is set.
    std::string error;
    bool Usable() const { return error.empty(); }

    decltype(&::curl_global_init) globalInit = nullptr;
    decltype(&::curl_easy_init) easyInit = nullptr;
    decltype(&::curl_easy_setopt) easySetopt = nullptr;
    decltype(&::curl_easy_perform) easyPerform = nullptr;
    decltype(&::curl_easy_getinfo) easyGetinfo = nullptr;
    decltype(&::curl_easy_cleanup) easyCleanup = nullptr;
    decltype(&::curl_slist_append) slistAppend = nullptr;
    decltype(&::curl_slist_free_all) slistFreeAll = nullptr;
};
