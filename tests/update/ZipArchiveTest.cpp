// Unpacking packages: a good package lands whole with its executable bit; every way out of the
// target folder, links, bad CRCs, encrypted entries and zip bombs fail the extraction and
// write nothing outside the target.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ZipMaker.h"
#include "update/ZipArchive.h"

namespace {

namespace fs = std::filesystem;
using updatetest::ZipItem;
using updatetest::ZipMaker;

class ZipArchiveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char folder[] = "/tmp/tvzip.XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        dir_ = folder;
        target_ = dir_ / "out" / "target";
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    fs::path Make(const std::vector<ZipItem>& items)
    {
        const fs::path path = dir_ / ("package" + std::to_string(++made_) + ".zip");
        ZipMaker maker(path.string());
        for (const ZipItem& item : items) {
            EXPECT_TRUE(maker.Add(item)) << item.name;
        }
        return path;
    }

    bool Unzip(const fs::path& zip, ZipLimits limits = {})
    {
        return UnzipAll(zip.wstring(), target_.wstring(), limits);
    }

    static std::string Read(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // Every file under the test folder, outside the package files themselves.
    std::vector<fs::path> FilesWritten() const
    {
        std::vector<fs::path> files;
        for (const auto& entry : fs::recursive_directory_iterator(dir_)) {
            if (!entry.is_directory() && entry.path().extension() != ".zip") {
                files.push_back(entry.path());
            }
        }
        return files;
    }

    fs::path dir_;
    fs::path target_;
    int made_ = 0;
};

TEST_F(ZipArchiveTest, UnpacksFoldersUtf8NamesAndTheExecutableBit)
{
    const fs::path zip = Make({
        {"Tolvenic-Driver-1.0.1", "#!/bin/sh\nexit 0\n", 0100755},
        {"share/language/2052.lan", "[KB.DIALOG]\n1056=升级中\n"},
        {"skins\\default\\icon.png", "png"},
        {"docs/", "", 040755},
        {"说明.txt", "readme", 0100444},
    });
    ASSERT_TRUE(Unzip(zip));
    EXPECT_EQ(Read(target_ / "Tolvenic-Driver-1.0.1"), "#!/bin/sh\nexit 0\n");
    EXPECT_EQ(access((target_ / "Tolvenic-Driver-1.0.1").c_str(), X_OK), 0);
    EXPECT_EQ(Read(target_ / "share/language/2052.lan"), "[KB.DIALOG]\n1056=升级中\n");
    EXPECT_EQ(Read(target_ / "skins/default/icon.png"), "png");
    EXPECT_TRUE(fs::is_directory(target_ / "docs"));
    const fs::perms readme = fs::status(target_ / "说明.txt").permissions();
    EXPECT_EQ(readme & fs::perms::owner_write, fs::perms::none);

    // Unpacking again replaces the files.
    ASSERT_TRUE(Unzip(Make({{"share/language/2052.lan", "new"}})));
    EXPECT_EQ(Read(target_ / "share/language/2052.lan"), "new");
}

TEST_F(ZipArchiveTest, RefusesEveryEntryThatLeavesTheTarget)
{
    const char* escapes[] = {"../x.bin", "a/../../b",          "..\\x.bin",      "/etc/x.bin",
                             "\\x.bin",  "C:\\Windows\\x.bin", "a/b/../../../c", "."};
    for (const char* name : escapes) {
        const fs::path zip = Make({{"good.txt", "good"}, {name, "evil"}});
        EXPECT_FALSE(Unzip(zip)) << name;
        EXPECT_EQ(ZipArchive::LastResult(), ZipArchive::kUnsafeName) << name;
    }
    for (const fs::path& file : FilesWritten()) {
        EXPECT_EQ(file.filename(), "good.txt") << file;
    }
}

TEST_F(ZipArchiveTest, RefusesLinksAndWritesNothingThroughOne)
{
    EXPECT_FALSE(Unzip(Make({{"link", "/etc", 0120777}, {"link/passwd", "evil"}})));
    EXPECT_FALSE(fs::is_symlink(target_ / "link"));
    // A link already in the target is not followed either.
    fs::create_directories(target_);
    fs::create_symlink(dir_ / "elsewhere", target_ / "pre");
    fs::create_directories(dir_ / "elsewhere");
    EXPECT_FALSE(Unzip(Make({{"pre/x.bin", "evil"}})));
    EXPECT_FALSE(Unzip(Make({{"pre", "evil"}})));
    EXPECT_TRUE(fs::is_empty(dir_ / "elsewhere"));
}

TEST_F(ZipArchiveTest, FailsOnBadDataAndLeavesNoPartialFile)
{
    const struct {
        ZipItem item;
        int code;
    } cases[] = {
        {{"crc.bin", std::string(5000, 'c'), 0100644, nullptr, true}, ZipArchive::kReadFailed},
        {{"secret.bin", "secret", 0100644, "password"}, ZipArchive::kPassword},
    };
    for (const auto& c : cases) {
        const fs::path zip = Make({c.item});
        EXPECT_FALSE(Unzip(zip)) << c.item.name;
        EXPECT_EQ(ZipArchive::LastResult(), c.code) << c.item.name;
        EXPECT_FALSE(fs::exists(target_ / c.item.name)) << c.item.name;
    }
}

TEST_F(ZipArchiveTest, RefusesAZipBombBeforeWritingAnything)
{
    const ZipLimits limits{1 << 20, 3 << 20};
    const std::string zeros(8 << 20, '\0');  // 8 MiB that pack into a few kilobytes
    const std::string part(900 << 10, '\0');
    const std::string atEntryLimit(1 << 20, '\0');
    const fs::path overlapping = dir_ / "overlapping.zip";
    // 100 entries over one deflated 900 KiB: 88 MiB unpacked from a file of a few kilobytes.
    ASSERT_TRUE(updatetest::WriteOverlappingZip(overlapping.string(), part, 100));
    EXPECT_LT(fs::file_size(overlapping), 16u * 1024);
    const struct {
        const char* what;
        fs::path zip;
    } cases[] = {
        {"one entry beyond the entry limit", Make({{"bomb.bin", zeros}})},
        {"one entry at the entry limit", Make({{"bomb.bin", atEntryLimit}})},
        {"entries under the entry limit beyond the total",
         Make({{"1", part}, {"2", part}, {"3", part}, {"4", part}})},
        {"entries sharing their data", overlapping},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(Unzip(c.zip, limits));
        EXPECT_EQ(ZipArchive::LastResult(), ZipArchive::kTooLarge);
        EXPECT_EQ(FilesWritten(), std::vector<fs::path>{});
    }
    // Under both limits the same kinds of archive unpack whole.
    ASSERT_TRUE(updatetest::WriteOverlappingZip(overlapping.string(), part, 3));
    EXPECT_TRUE(Unzip(overlapping, limits));
    EXPECT_EQ(Read(target_ / "f002"), part);
    EXPECT_TRUE(Unzip(Make({{"1", part}, {"2", part}}), limits));
}

TEST_F(ZipArchiveTest, ReportsEntriesAndRefusesWhatIsNotAZip)
{
    std::ofstream(dir_ / "not.zip") << "PK but not really";
    EXPECT_EQ(ZipArchive::Open((dir_ / "not.zip").wstring()), nullptr);
    EXPECT_EQ(ZipArchive::LastResult(), ZipArchive::kOpenFailed);
    EXPECT_FALSE(Unzip(dir_ / "missing.zip"));

    auto zip = ZipArchive::Open(Make({{"a", "1"}, {"b/c", "22"}}).wstring());
    ASSERT_NE(zip, nullptr);
    ZipEntry entry;
    ASSERT_EQ(zip->GetEntry(-1, entry), ZipArchive::kOk);
    EXPECT_EQ(entry.index, 2);
    ASSERT_EQ(zip->GetEntry(1, entry), ZipArchive::kOk);
    EXPECT_EQ(entry.name, L"b/c");
    EXPECT_EQ(entry.uncompressedSize, 2u);
    ASSERT_EQ(zip->GetEntry(0, entry), ZipArchive::kOk);  // moving back
    EXPECT_EQ(entry.name, L"a");
    EXPECT_EQ(zip->GetEntry(2, entry), ZipArchive::kBadArgument);
    EXPECT_EQ(zip->Close(), ZipArchive::kOk);
    EXPECT_EQ(zip->Close(), ZipArchive::kBadArgument);
}

}  // namespace
