// Whole-file reading and writing of document texts: byte-order marks, declared encodings,
// the UTF-8 test, conversion to and from wide text, and the log of every step.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "xml/XmlResultLog.h"

class XmlFile {
public:
    // Files longer than this are refused as a whole ("file_error").
    static constexpr int64_t kMaxFileLength = 256LL << 20;

    // See XmlDocument::LoadFile and XmlDocument::SaveFile.
    static bool Load(std::wstring& text, std::wstring* result, const std::wstring& path,
                     int* flags);
    static bool Save(const std::wstring& text, std::wstring* result, const std::wstring& path,
                     int* flags);

    // The UTF-8 test of 8-bit files: lead bytes announce their continuation bytes by their high
    // bits; any byte from 0x80 up counts as a continuation byte.
    static bool LooksLikeUtf8(std::string_view bytes);

private:
    explicit XmlFile(int flags) : flags_(flags) {}
    ~XmlFile();

    bool Open(const std::wstring& path, const char* mode);
    bool Read(std::wstring& text);
    bool Write(const std::wstring& text);
    bool ReadBytes(char* data, size_t count);
    bool WriteBytes(std::string_view bytes);
    void FileError(int error);

    std::FILE* file_ = nullptr;
    int flags_;
    int unitWidth_ = 1;
    int64_t length_ = 0;
    int64_t position_ = 0;
    size_t chunkUnits_ = 0;
    std::wstring encoding_;
    XmlResultLog log_;
};
