// forms::TRegistry against the real registry, under a scratch key of the current user that
// is deleted afterwards.
#include "forms/Registry.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

using forms::ERegistryException;
using forms::TRegistry;

namespace {

const char* const kParent = "Software\\ThermowlTest";

// The message of the exception `action` throws ("" if it throws none).
template <typename Action>
std::string ErrorOf(Action action) {
    try {
        action();
    } catch (const ERegistryException& e) {
        return e.what();
    }
    return "";
}

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = std::string(kParent) + "\\" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount());
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &raw_, nullptr),
                  ERROR_SUCCESS);
    }

    void TearDown() override {
        RegCloseKey(raw_);
        TRegistry cleanup;
        EXPECT_TRUE(cleanup.DeleteKey("\\" + path_));
        EXPECT_FALSE(RawKeyExists(path_));
        RegDeleteKeyA(HKEY_CURRENT_USER, kParent);  // only if no other run left a key in it
    }

    static bool RawKeyExists(const std::string& path) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }

    void SetRaw(const char* name, DWORD type, const std::vector<BYTE>& data) {
        ASSERT_EQ(RegSetValueExA(raw_, name, 0, type, data.data(), static_cast<DWORD>(data.size())), ERROR_SUCCESS);
    }

    // Type and data of a value as stored.
    std::pair<DWORD, std::vector<BYTE>> GetRaw(const char* name) {
        DWORD type = REG_NONE, size = 0;
        RegQueryValueExA(raw_, name, nullptr, &type, nullptr, &size);
        std::vector<BYTE> data(size);
        RegQueryValueExA(raw_, name, nullptr, &type, data.data(), &size);
        return {type, data};
    }

    // A wrapper with the scratch key open.
    TRegistry& Opened() {
        EXPECT_TRUE(reg_.OpenKey("\\" + path_, false));
        return reg_;
    }

    std::string path_;
    HKEY raw_ = nullptr;
    TRegistry reg_;
};

// ---- integers ----

TEST_F(RegistryTest, IntegersRoundTripAsFourByteDwords) {
    TRegistry& reg = Opened();
    for (int32_t value : {0, 1, -1, -31, INT32_MIN, INT32_MAX, 0x00A00000}) {
        reg.WriteInteger("Value", value);
        EXPECT_EQ(reg.ReadInteger("Value"), value);
    }
    reg.WriteInteger("PosX", -31);
    const auto [type, data] = GetRaw("PosX");
    EXPECT_EQ(type, DWORD(REG_DWORD));
    EXPECT_EQ(data, (std::vector<BYTE>{0xE1, 0xFF, 0xFF, 0xFF}));
}

// Other types that fit in four bytes are the wrong type; wider data or none cannot be got.
TEST_F(RegistryTest, ReadsOfTheWrongTypeOrSizeNameTheValue) {
    SetRaw("Short", REG_SZ, {'a', 'b', 0});
    SetRaw("Four", REG_BINARY, {1, 2, 3, 4});
    SetRaw("Big", REG_DWORD_BIG_ENDIAN, {0, 0, 0, 1});
    SetRaw("Wide", REG_BINARY, {1, 2, 3, 4, 5, 6, 7, 8});
    SetRaw("Text", REG_SZ, {'3', '0', '0', '0', '0', 0});
    SetRaw("Alarm", REG_DWORD, {1, 0, 0, 0});
    SetRaw("Bin", REG_BINARY, {});
    TRegistry& reg = Opened();
    const struct {
        const char* name;
        bool asString;
        const char* error;
    } cases[] = {{"Devices", false, "Failed to get data for 'Devices'"}, {"Short", false, "Invalid data type for 'Short'"},
                 {"Four", false, "Invalid data type for 'Four'"}, {"Big", false, "Invalid data type for 'Big'"},
                 {"Wide", false, "Failed to get data for 'Wide'"}, {"Text", false, "Failed to get data for 'Text'"},
                 {"Alarm", true, "Invalid data type for 'Alarm'"}, {"Bin", true, "Invalid data type for 'Bin'"}};
    for (const auto& c : cases) {
        auto read = [&] { c.asString ? (void)reg.ReadString(c.name) : (void)reg.ReadInteger(c.name); };
        EXPECT_EQ(ErrorOf(read), c.error);
    }
}

TEST_F(RegistryTest, FailedReadsChangeNothing) {
    SetRaw("Wide", REG_BINARY, {1, 2, 3, 4, 5, 6, 7, 8});
    TRegistry& reg = Opened();
    const HKEY key = reg.CurrentKey();
    EXPECT_THROW(reg.ReadInteger("Wide"), ERegistryException);
    EXPECT_THROW(reg.ReadString("Wide"), ERegistryException);
    EXPECT_EQ(reg.CurrentKey(), key);
    EXPECT_EQ(GetRaw("Wide").second, (std::vector<BYTE>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_FALSE(reg.ValueExists("Missing"));
    EXPECT_THROW(reg.ReadInteger("Missing"), ERegistryException);
    EXPECT_FALSE(reg.ValueExists("Missing"));
}

// ---- strings ----

TEST_F(RegistryTest, StringsRoundTripIncludingAnsiBytes) {
    TRegistry& reg = Opened();
    reg.WriteString("PATH", "C:\\Program Files\\Thermowl 45\xB0");
    EXPECT_EQ(reg.ReadString("PATH"), "C:\\Program Files\\Thermowl 45\xB0");
    EXPECT_EQ(GetRaw("PATH").first, DWORD(REG_SZ));
    reg.WriteString("Empty", "");
    EXPECT_EQ(reg.ReadString("Empty"), "");
}

TEST_F(RegistryTest, ReadStringTakesExpandableAndUnterminatedStringsAndMissingIsEmpty) {
    SetRaw("Expand", REG_EXPAND_SZ, {'%', 'X', '%', 0});
    SetRaw("Bare", REG_SZ, {'a', 'b', 'c'});
    TRegistry& reg = Opened();
    EXPECT_EQ(reg.ReadString("Expand"), "%X%");  // not expanded
    EXPECT_EQ(reg.ReadString("Bare"), "abc");
    EXPECT_EQ(reg.ReadString("Nothing"), "");
}

// ---- keys ----

TEST_F(RegistryTest, KeyExistsAndOpenKeyWithoutCreateNeverCreateAndLeaveTheOpenKeyAlone) {
    TRegistry& reg = Opened();
    const HKEY key = reg.CurrentKey();
    const std::string conf = "\\" + path_ + "\\Conf";
    EXPECT_FALSE(reg.KeyExists(conf));
    EXPECT_FALSE(RawKeyExists(path_ + "\\Conf"));
    EXPECT_TRUE(reg.KeyExists("\\" + path_));
    EXPECT_FALSE(reg.OpenKey(conf, false));
    EXPECT_FALSE(RawKeyExists(path_ + "\\Conf"));
    EXPECT_EQ(reg.CurrentKey(), key);  // the open key stays open
    EXPECT_TRUE(reg.OpenKey(conf, true));
    EXPECT_TRUE(RawKeyExists(path_ + "\\Conf"));
    EXPECT_NE(reg.CurrentKey(), key);
}

TEST_F(RegistryTest, PathsWithoutBackslashAreRelativeToTheOpenKey) {
    TRegistry& reg = Opened();
    EXPECT_TRUE(reg.OpenKey("Sub", true));
    EXPECT_TRUE(RawKeyExists(path_ + "\\Sub"));
    reg.CloseKey();
    EXPECT_EQ(reg.CurrentKey(), nullptr);
    EXPECT_TRUE(reg.OpenKey(path_ + "\\Sub", false));  // no key open: relative to the root
    reg.WriteInteger("X", 5);
    EXPECT_TRUE(reg.OpenKeyReadOnly("\\" + path_ + "\\Sub"));
    EXPECT_EQ(reg.ReadInteger("X"), 5);
    EXPECT_EQ(ErrorOf([&] { reg.WriteInteger("X", 6); }), "Failed to set data for 'X'");
}

TEST_F(RegistryTest, CreateKeyMakesTheKeyOrSaysWhichFailed) {
    TRegistry reg;
    reg.CreateKey("\\" + path_ + "\\A\\B");
    EXPECT_TRUE(RawKeyExists(path_ + "\\A\\B"));
    EXPECT_EQ(reg.CurrentKey(), nullptr);

    // A lasting key cannot live under a volatile one.
    HKEY volatileKey = nullptr;
    ASSERT_EQ(RegCreateKeyExA(raw_, "Volatile", 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &volatileKey,
                              nullptr),
              ERROR_SUCCESS);
    RegCloseKey(volatileKey);
    const std::string child = "\\" + path_ + "\\Volatile\\C";
    EXPECT_EQ(ErrorOf([&] { reg.CreateKey(child); }), "Failed to create key " + child);
    EXPECT_FALSE(RawKeyExists(path_ + "\\Volatile\\C"));
}

TEST_F(RegistryTest, DeleteKeyTakesItsSubkeysAlong) {
    TRegistry reg;
    reg.CreateKey("\\" + path_ + "\\A\\B\\C");
    EXPECT_TRUE(reg.DeleteKey("\\" + path_ + "\\A"));
    EXPECT_FALSE(RawKeyExists(path_ + "\\A"));
    EXPECT_FALSE(reg.DeleteKey("\\" + path_ + "\\A"));
}

TEST_F(RegistryTest, DeleteValueAndValueExists) {
    TRegistry& reg = Opened();
    reg.WriteInteger("Tray", 0);
    EXPECT_TRUE(reg.ValueExists("Tray"));
    EXPECT_TRUE(reg.DeleteValue("Tray"));
    EXPECT_FALSE(reg.ValueExists("Tray"));
    EXPECT_FALSE(reg.DeleteValue("Tray"));
}

// ---- no open key ----

TEST_F(RegistryTest, WithoutAnOpenKeyOrOnAReadOnlyKeyWritesFail) {
    TRegistry reg;
    EXPECT_EQ(ErrorOf([&] { reg.WriteInteger("Alarm", 1); }), "Failed to set data for 'Alarm'");
    EXPECT_EQ(ErrorOf([&] { reg.WriteString("PATH", "x"); }), "Failed to set data for 'PATH'");
    EXPECT_EQ(ErrorOf([&] { reg.ReadInteger("Alarm"); }), "Failed to get data for 'Alarm'");
    EXPECT_EQ(ErrorOf([&] { reg.ReadString("PATH"); }), "Failed to get data for 'PATH'");
    EXPECT_FALSE(reg.ValueExists("Alarm"));

    // A read-only key: the write fails and names the value.
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\" + path_));
    EXPECT_EQ(ErrorOf([&] { reg.WriteString("PATH", "x"); }), "Failed to set data for 'PATH'");
    EXPECT_FALSE(reg.ValueExists("PATH"));
}

}  // namespace
