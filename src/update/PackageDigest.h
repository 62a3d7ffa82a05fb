// The SHA-256 check of a downloaded package against the digest the service publishes beside
// it (the "sha256sum" form: 64 hexadecimal digits, optionally followed by the file name); the
// file's own digest comes from os::FileSha256.
#pragma once

#include <optional>
#include <string>

// The digest of a published text, lower case; nothing when the text does not start with one.
std::optional<std::string> ParsePublishedDigest(const std::wstring& published);
// True when the digest published at `address` + ".sha256" matches the downloaded `package`,
// or when the service publishes none there (a 404).
bool PackageMatchesDigest(const std::wstring& address, const std::wstring& package);
