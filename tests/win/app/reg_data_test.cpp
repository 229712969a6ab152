// cRegData against the real registry, under a test-only key that is removed afterwards.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../framework/test_key.h"
#include "app/reg_data.h"

namespace {

std::vector<unsigned char> Dword(DWORD v) {
    const auto* p = reinterpret_cast<const unsigned char*>(&v);
    return std::vector<unsigned char>(p, p + 4);
}

std::unique_ptr<cRegData> Open(const TestKey& key) {
    auto data = std::make_unique<cRegData>(key.Path());
    data->Load();
    return data;
}

}  // namespace

TEST(SettingsRecord, DefaultsThenAll58ValuesWithTheirKinds) {
    TestKey key;
    {
        auto data = Open(key);
        EXPECT_STREQ(data->leftImagePath.GetBuffer(), L"");
        EXPECT_EQ(data->defaultFileView, 0);
        EXPECT_EQ(data->blendMode, 2);
        EXPECT_EQ(data->maxTexSize, 4096u);
        EXPECT_EQ(data->jpegQuality, 80);
        EXPECT_TRUE(data->firstTimeRun);
        EXPECT_EQ(data->leftMatrix, bistrope::FullColourMatrix(bistrope::Eye::Left));
        EXPECT_EQ(data->rightMatrix, bistrope::FullColourMatrix(bistrope::Eye::Right));
        EXPECT_FALSE(key.Exists());  // nothing is written before the record goes
    }
    struct Section {
        const wchar_t* name;
        size_t count;
    } sections[] = {{L"General", 5},
                    {L"Colour blending", 1},
                    {L"Advanced", 1},
                    {L"Output", 1},
                    {L"Custom blending\\left matrix", 25},
                    {L"Custom blending\\right matrix", 25}};
    size_t total = 0;
    for (const Section& section : sections) {
        const auto values = key.List(section.name);
        EXPECT_EQ(values.size(), section.count) << section.name;
        total += values.size();
    }
    EXPECT_EQ(total, 58u);
    for (const wchar_t* name : {L"Left image path", L"Right image path", L"Output image path"}) {
        const auto value = key.Get(L"General", name);
        EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ));
        EXPECT_TRUE(value.data.empty());
    }
    EXPECT_EQ(key.Get(L"General", L"First time run").data, Dword(1));
    EXPECT_EQ(key.Get(L"General", L"First time run").type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(key.Get(L"Colour blending", L"Mode").data, Dword(2));
    EXPECT_EQ(key.Get(L"Advanced", L"Max tex size").data, Dword(4096));
    EXPECT_EQ(key.Get(L"Output", L"JPEG compression").data, Dword(80));
    const auto m00 = key.Get(L"Custom blending\\left matrix", L"M00");
    EXPECT_EQ(m00.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(m00.data, TestKey::Bytes(L"1.00000000"));
    EXPECT_EQ(key.Get(L"Custom blending\\right matrix", L"M00").data, TestKey::Bytes(L"0.00000000"));
    EXPECT_EQ(key.Get(L"Custom blending\\right matrix", L"M44").data, TestKey::Bytes(L"1.00000000"));
}

TEST(SettingsRecord, OddStoredValuesLoadAsTheEncodingsSay) {
    TestKey key;
    Open(key).reset();
    ASSERT_TRUE(key.PutTextWithNull(L"Custom blending\\left matrix", L"M00", L"0.50000000"));
    ASSERT_TRUE(key.PutText(L"Custom blending\\left matrix", L"M11", L"abc"));
    ASSERT_TRUE(key.PutDword(L"General", L"First time run", 2));
    ASSERT_TRUE(key.PutDword(L"Colour blending", L"Mode", 9));
    ASSERT_TRUE(key.PutDword(L"Output", L"JPEG compression", 150));
    ASSERT_TRUE(key.PutTextWithNull(L"General", L"Left image path", L"C:\\left"));
    ASSERT_TRUE(key.PutText(L"General", L"Right image path", std::wstring(513, L'r')));
    {
        auto data = Open(key);
        EXPECT_EQ(data->leftMatrix.at(0, 0), 0.5f);
        EXPECT_EQ(data->leftMatrix.at(1, 1), 0.0f);
        EXPECT_FALSE(data->firstTimeRun);
        EXPECT_EQ(data->blendMode, 9);
        EXPECT_EQ(data->jpegQuality, 150);
        EXPECT_STREQ(data->leftImagePath.GetBuffer(), L"C:\\left");
        EXPECT_STREQ(data->rightImagePath.GetBuffer(), L"");
        data->leftMatrix.at(1, 0) = 0.299f;
    }
    EXPECT_EQ(key.Get(L"General", L"First time run").data, Dword(0));
    EXPECT_EQ(key.Get(L"Colour blending", L"Mode").data, Dword(9));
    EXPECT_EQ(key.Get(L"Output", L"JPEG compression").data, Dword(150));
    EXPECT_EQ(key.Get(L"Custom blending\\left matrix", L"M00").data, TestKey::Bytes(L"0.50000000"));
    EXPECT_EQ(key.Get(L"Custom blending\\left matrix", L"M10").data, TestKey::Bytes(L"0.29899999"));
    EXPECT_EQ(key.Get(L"General", L"Left image path").data, TestKey::Bytes(L"C:\\left"));  // terminator dropped
    EXPECT_TRUE(key.Get(L"General", L"Right image path").data.empty());
}

TEST(SettingsRecord, ValuesOfTheWrongKindFallBackToDefaults) {
    TestKey key;
    ASSERT_TRUE(key.PutText(L"Colour blending", L"Mode", L"five"));  // 8 bytes: too long for a number
    const unsigned long long eight = 7;
    ASSERT_TRUE(key.Put(L"Output", L"JPEG compression", REG_QWORD, &eight, 8));
    auto data = Open(key);
    EXPECT_EQ(data->blendMode, 2);
    EXPECT_EQ(data->jpegQuality, 80);
    EXPECT_FALSE(data->Load());
}
