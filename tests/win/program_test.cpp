// The real FollowKelvaro.exe: its resources and version.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "resources/resource_ids.h"
#include "resources/version.h"

namespace fk {
namespace {

const wchar_t* exePath() {
    static const std::wstring path = [] {
        std::wstring p = L"" FK_EXE_PATH;
        for (auto& c : p) c = c == L'/' ? L'\\' : c;
        return p;
    }();
    return path.c_str();
}

class ExeResources : public ::testing::Test {
protected:
    void SetUp() override {
        module = LoadLibraryExW(exePath(), nullptr,
                                LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module, nullptr) << GetLastError();
    }
    void TearDown() override { FreeLibrary(module); }

    std::string resource(LPCWSTR type, int id) {
        HRSRC r = FindResourceW(module, MAKEINTRESOURCEW(id), type);
        if (!r) return {};
        auto* data = static_cast<const char*>(LockResource(LoadResource(module, r)));
        return std::string(data, SizeofResource(module, r));
    }
    HMODULE module = nullptr;
};

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colors, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

TEST_F(ExeResources, IconHasFourSizes) {
    const std::string group = resource(RT_GROUP_ICON, IDI_APP);
    ASSERT_GE(group.size(), 6u);
    const WORD count = *reinterpret_cast<const WORD*>(group.data() + 4);
    ASSERT_EQ(count, 4);
    std::vector<int> sizes;
    for (WORD i = 0; i < count; ++i) {
        GroupIconEntry e;
        memcpy(&e, group.data() + 6 + i * sizeof e, sizeof e);
        sizes.push_back(e.width == 0 ? 256 : e.width);
    }
    EXPECT_EQ(sizes, (std::vector<int>{16, 32, 48, 128}));
}

TEST_F(ExeResources, BannerIs500By70WithA256ColourPalette) {
    const std::string bmp = resource(RT_BITMAP, IDB_BANNER);
    ASSERT_GE(bmp.size(), sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER h;
    memcpy(&h, bmp.data(), sizeof h);
    EXPECT_EQ(h.biWidth, 500);
    EXPECT_EQ(h.biHeight, 70);
    EXPECT_EQ(h.biBitCount, 8);
    EXPECT_EQ(h.biClrUsed == 0 ? 256u : h.biClrUsed, 256u);
    EXPECT_EQ(bmp.size(), sizeof h + 256 * 4 + 500 * 70);
}

TEST_F(ExeResources, ManifestAsksForCommonControlsDpiAwarenessAndHighestAvailable) {
    const std::string manifest = resource(RT_MANIFEST, 1);
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(manifest.find("level=\"highestAvailable\""), std::string::npos);
    EXPECT_NE(manifest.find("<dpiAware"), std::string::npos);
}

TEST_F(ExeResources, EmptyTableTemplates) {
    struct Template {
        int id, fields, recordLength, headerLength;
        std::vector<std::pair<std::string, char>> first;
        std::vector<int> firstLengths;
    };
    const Template templates[] = {
        {101, 14, 269, 481,
         {{"DATNUMMER", 'C'}, {"NACHNAME", 'C'}, {"VORNAME", 'C'}, {"GEBDATUM", 'C'},
          {"STRASSE", 'C'}, {"PLZ", 'C'}},
         {6, 25, 25, 8, 25, 5}},
        {102, 74, 2881, 2401,
         {{"DATNUMMER", 'C'}, {"GESCHLECHT", 'C'}, {"UNTDATUM", 'D'}, {"GEBDATUM", 'D'},
          {"TW1111", 'C'}},
         {6, 1, 8, 8, 10}},
        {103, 254, 260, 8161, {{"DATNUMMER", 'C'}, {"T1111", 'C'}, {"T1112", 'C'}}, {6, 1, 1}},
        {104, 59, 3461, 1921,
         {{"DATNUMMER", 'C'}, {"T3000", 'C'}, {"T3001", 'C'}, {"T3002", 'C'}},
         {6, 40, 32, 40}},
    };
    for (const auto& t : templates) {
        SCOPED_TRACE(t.id);
        const std::string b = resource(RT_RCDATA, t.id);
        ASSERT_EQ(b.size(), static_cast<std::size_t>(t.headerLength) + 3);
        auto byte = [&](std::size_t i) { return static_cast<unsigned char>(b[i]); };
        EXPECT_EQ(byte(0), 3);
        EXPECT_EQ(byte(1) + 1900, 2010);
        EXPECT_EQ(byte(2), 2);
        EXPECT_EQ(byte(3), 18);
        EXPECT_EQ(byte(4) | byte(5) | byte(6) | byte(7), 0);  // no records
        EXPECT_EQ(byte(8) | byte(9) << 8, t.headerLength);
        EXPECT_EQ(byte(10) | byte(11) << 8, t.recordLength);
        int sum = 1;
        for (int f = 0; f < t.fields; ++f) sum += byte(32 + 32 * f + 16);
        EXPECT_EQ(sum, t.recordLength);
        for (std::size_t f = 0; f < t.first.size(); ++f) {
            EXPECT_EQ(std::string(b.c_str() + 32 + 32 * f), t.first[f].first);
            EXPECT_EQ(b[32 + 32 * f + 11], t.first[f].second);
            EXPECT_EQ(byte(32 + 32 * f + 16), t.firstLengths[f]);
        }
        EXPECT_EQ(b.substr(32 + 32 * static_cast<std::size_t>(t.fields)),
                  std::string("\x0d\x1a\0\0", 4));
    }
}

TEST(ExeVersion, IsOnePointZeroPointOne) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(exePath(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(exePath(), 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &len));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 1));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(0, 1));
    wchar_t* text = nullptr;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\StringFileInfo\\040704B0\\FileVersion",
                               reinterpret_cast<void**>(&text), &len));
    EXPECT_STREQ(text, L"" FK_VERSION_TEXT);
    EXPECT_STREQ(text, L"1.0.1");
}

}  // namespace
}  // namespace fk
