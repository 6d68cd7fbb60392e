// The settings store at the runtime's program-settings key, checked against
// the registry itself.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "platform/error.h"
#include "platform/win32/gdi_handles.h"
#include "platform/win32/registry_settings_store.h"

namespace rowtint::win32 {
namespace {

constexpr const wchar_t* kAppKey = L"Software\\VB and VBA Program Settings\\Tintrow";

class RegistrySettings : public ::testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kAppKey); }
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kAppKey); }

  static UniqueKey OpenSection(const wchar_t* section) {
    HKEY key = nullptr;
    const std::wstring path = std::wstring(kAppKey) + L"\\" + section;
    RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    return UniqueKey(key);
  }

  RegistrySettingsStore store;
};

TEST_F(RegistrySettings, ASavedSettingIsAStringValueUnderTheProgramSettingsKey) {
  store.SaveSetting("Tintrow", "RGB", "RGB-bc", "14600886");
  auto section = OpenSection(L"RGB");
  ASSERT_TRUE(section);
  wchar_t data[64] = {};
  DWORD type = 0;
  DWORD bytes = sizeof data;
  ASSERT_EQ(RegQueryValueExW(section.Get(), L"RGB-bc", nullptr, &type, reinterpret_cast<BYTE*>(data), &bytes),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_STREQ(data, L"14600886");
  EXPECT_EQ(bytes, sizeof(L"14600886"));  // with its terminator

  // A second write replaces the value.
  store.SaveSetting("Tintrow", "RGB", "RGB-bc", "16366575");
  EXPECT_EQ(store.GetSetting("Tintrow", "RGB", "RGB-bc", "0"), "16366575");
}

TEST_F(RegistrySettings, AValuePutThereByOthersIsRead) {
  auto section = OpenSection(L"HIS");
  const wchar_t text[] = L"255";
  ASSERT_EQ(RegSetValueExW(section.Get(), L"his_color2", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text),
            ERROR_SUCCESS);
  EXPECT_EQ(store.GetSetting("Tintrow", "HIS", "his_color2", "-2147483633"), "255");

  // Stored without a terminator, the text is the same.
  const wchar_t bare[] = {L'4', L'2'};
  RegSetValueExW(section.Get(), L"his_color3", 0, REG_SZ, reinterpret_cast<const BYTE*>(bare), sizeof bare);
  EXPECT_EQ(store.GetSetting("Tintrow", "HIS", "his_color3", "-2147483633"), "42");

  // Longer than a first guess of the buffer, and beyond ASCII: UTF-8 on the add-in's side.
  const std::wstring longText = std::wstring(3000, L'7') + L"\u00e9\u20ac";
  RegSetValueExW(section.Get(), L"long", 0, REG_SZ, reinterpret_cast<const BYTE*>(longText.c_str()),
                 static_cast<DWORD>((longText.size() + 1) * sizeof(wchar_t)));
  EXPECT_EQ(store.GetSetting("Tintrow", "HIS", "long", ""), std::string(3000, '7') + "\xC3\xA9\xE2\x82\xAC");

  const wchar_t empty[] = L"";
  RegSetValueExW(section.Get(), L"empty", 0, REG_SZ, reinterpret_cast<const BYTE*>(empty), sizeof empty);
  EXPECT_EQ(store.GetSetting("Tintrow", "HIS", "empty", "default"), "");
}

TEST_F(RegistrySettings, MissingApplicationSectionOrKeyGivesTheDefault) {
  EXPECT_EQ(store.GetSetting("Tintrow", "RGB", "RGB-bc", "14600886"), "14600886");  // no application
  store.SaveSetting("Tintrow", "RGB", "RGB-bc", "1");
  EXPECT_EQ(store.GetSetting("Tintrow", "HIS", "his_color1", "-2147483633"), "-2147483633");  // no section
  EXPECT_EQ(store.GetSetting("Tintrow", "RGB", "his_color1", "-2147483633"), "-2147483633");  // no key
  EXPECT_EQ(store.GetSetting("Tintrow", "RGB", "RGB-bc", "14600886"), "1");
}

TEST_F(RegistrySettings, AValueOfAnotherTypeCountsAsMissing) {
  auto section = OpenSection(L"RGB");
  const DWORD number = 255;
  RegSetValueExW(section.Get(), L"RGB-bc", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
  EXPECT_EQ(store.GetSetting("Tintrow", "RGB", "RGB-bc", "14600886"), "14600886");
  const wchar_t expandable[] = L"255";
  RegSetValueExW(section.Get(), L"RGB-bc", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(expandable),
                 sizeof expandable);
  EXPECT_EQ(store.GetSetting("Tintrow", "RGB", "RGB-bc", "14600886"), "14600886");

  // A save puts a string value in its place.
  store.SaveSetting("Tintrow", "RGB", "RGB-bc", "255");
  EXPECT_EQ(store.GetSetting("Tintrow", "RGB", "RGB-bc", "14600886"), "255");
}

TEST_F(RegistrySettings, AWriteTheRegistryRefusesRaisesTheRuntimesError) {
  // A key name longer than the registry allows (255 characters).
  const std::string tooLong(300, 's');
  try {
    store.SaveSetting("Tintrow", tooLong, "RGB-bc", "1");
    FAIL() << "the write was not refused";
  } catch (const platform::PlatformError& e) {
    EXPECT_EQ(e.Number(), platform::err::kInvalidCall);
    EXPECT_EQ(e.Description(), "Invalid procedure call or argument");
  }
  EXPECT_EQ(store.GetSetting("Tintrow", tooLong, "RGB-bc", "default"), "default");
}

}  // namespace
}  // namespace rowtint::win32
