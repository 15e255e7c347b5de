// A test fixture that runs each test in a fresh folder of its own (the settings file is always
// "Vaderur.ini" in the current directory), with helpers to write and read files byte for byte.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

class ScratchFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        home = std::filesystem::current_path();
        folder = home / (std::string(test->test_suite_name()) + "." + test->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        std::filesystem::current_path(folder);
    }

    void TearDown() override
    {
        std::filesystem::current_path(home);
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    static void WriteFile(const std::string& name, const std::string& bytes)
    {
        std::ofstream out(name, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    static std::optional<std::string> ReadFile(const std::string& name)
    {
        std::ifstream in(name, std::ios::binary);
        if (!in)
            return std::nullopt;
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // Every name in the current folder, sorted.
    static std::vector<std::string> FolderContents()
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator("."))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::filesystem::path home;
    std::filesystem::path folder;
};

// ASCII text to the one-character-per-byte text of the settings code.
inline std::u16string Wide(const std::string& bytes)
{
    std::u16string text;
    for (char c : bytes)
        text.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
    return text;
}

inline std::string Narrow(const std::u16string& text)
{
    std::string bytes;
    for (char16_t c : text)
        bytes.push_back(static_cast<char>(c));
    return bytes;
}
