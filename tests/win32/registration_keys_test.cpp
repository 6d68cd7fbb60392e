// What unregistering one bitness deletes: its own class, and the keys both
// bitnesses share only once the other has no class left.
#include <gtest/gtest.h>

#include <algorithm>

#include "server/registration.h"

namespace rowtint::win32 {
namespace {

const std::wstring kClasses = L"Software\\Classes\\";
const std::wstring kClass = kClasses + L"CLSID\\{02ECD3DB-D3C9-4757-88D7-312137B820B0}";
const std::wstring kInterface = kClasses + L"Interface\\{E87D8889-AB02-4C06-8C00-5B67E73C2783}";
const std::wstring kTypeLib = kClasses + L"TypeLib\\{4BA5643D-B60D-46E6-8867-F65DF8CA6B6E}";
const std::wstring kProgId = kClasses + L"Rowtint.Connect";
const std::wstring kAddIn = L"Software\\Microsoft\\Office\\Excel\\Addins\\Rowtint.Connect";

bool Has(const std::vector<std::wstring>& keys, const std::wstring& key) {
  return std::find(keys.begin(), keys.end(), key) != keys.end();
}

TEST(Registration, UnregisteringOneBitnessKeepsWhatTheOtherStillNeeds) {
  struct Case {
    bool win64;
    bool otherRegistered;
    const wchar_t* ownTypeLibFile;
  } cases[] = {{true, true, L"win64"}, {true, false, L"win64"}, {false, true, L"win32"}, {false, false, L"win32"}};
  for (const auto& c : cases) {
    const auto keys = UnregistrationKeys(c.win64, c.otherRegistered);
    const std::string what = std::string(c.win64 ? "64" : "32") + (c.otherRegistered ? ", other registered" : "");
    EXPECT_TRUE(Has(keys, kClass)) << what;
    EXPECT_TRUE(Has(keys, kInterface)) << what;
    EXPECT_TRUE(Has(keys, kTypeLib + L"\\1.0\\0\\" + c.ownTypeLibFile)) << what;
    EXPECT_FALSE(Has(keys, kTypeLib + L"\\1.0\\0\\" + (c.win64 ? L"win32" : L"win64"))) << what;
    for (const auto& shared : {kProgId, kTypeLib, kAddIn}) EXPECT_EQ(Has(keys, shared), !c.otherRegistered) << what;
  }
}

TEST(Registration, EveryKeyRegistrationWritesIsOneUnregistrationRemoves) {
  for (bool win64 : {true, false}) {
    const auto keys = UnregistrationKeys(win64, false);
    for (const auto& value : RegistrationValues(L"C:\\Rowtint\\Rowtint.dll", win64)) {
      const bool covered = std::any_of(keys.begin(), keys.end(), [&](const std::wstring& key) {
        return value.key == key || value.key.rfind(key + L"\\", 0) == 0;
      });
      EXPECT_TRUE(covered) << std::string(value.key.begin(), value.key.end());
    }
  }
}

}  // namespace
}  // namespace rowtint::win32
