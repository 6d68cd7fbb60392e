// Rowtint.dll as Excel meets it after regsvr32: created by its programmatic
// identifier, answering IDTExtensibility2 and IDispatch from its type
// library, refusing an object that is not Excel's Application, and saying
// whether it may be unloaded.
#include <gtest/gtest.h>

#include <windows.h>
#include <oleauto.h>

#include <optional>
#include <string>

#include "platform/win32/com_object.h"
#include "platform/win32/com_ptr.h"
#include "rowtint_idl.h"

namespace rowtint::win32 {
namespace {

constexpr HRESULT kTypeMismatch = static_cast<HRESULT>(0x800A000D);
const wchar_t* const kClassKey = L"Software\\Classes\\CLSID\\{02ECD3DB-D3C9-4757-88D7-312137B820B0}";
const wchar_t* const kAddInKey = L"Software\\Microsoft\\Office\\Excel\\Addins\\Rowtint.Connect";

std::wstring TextValue(const wchar_t* key, const wchar_t* name) {
  wchar_t buffer[1024];
  DWORD size = sizeof(buffer);
  if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
    return L"<missing>";
  return buffer;
}

DWORD NumberValue(const wchar_t* key, const wchar_t* name) {
  DWORD value = 0xFFFFFFFF, size = sizeof(value);
  RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size);
  return value;
}

// An automation object that is not Excel: it answers IDispatch only and
// counts every call made to it beyond QueryInterface.
class NotExcel : public ComObject<NotExcel, IDispatch> {
 public:
  int calls = 0;
  STDMETHODIMP GetTypeInfoCount(UINT* n) override { return ++calls, *n = 0, S_OK; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return ++calls, E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return ++calls, DISP_E_UNKNOWNNAME; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return ++calls, DISP_E_MEMBERNOTFOUND;
  }
};

class RegisteredServer : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
  void TearDown() override { CoUninitialize(); }

  ComPtr<IDTExtensibility2> Create() {
    CLSID clsid{};
    EXPECT_EQ(CLSIDFromProgID(L"Rowtint.Connect", &clsid), S_OK);
    EXPECT_EQ(clsid, __uuidof(::Connect));
    ComPtr<IDTExtensibility2> addin;
    EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IDTExtensibility2), addin.PutVoid()),
              S_OK);
    return addin;
  }
};

TEST_F(RegisteredServer, RegistrationListsTheAddInForExcelUnderTheCurrentUser) {
  EXPECT_EQ(TextValue(kAddInKey, L"FriendlyName"), L"Rowtint");
  EXPECT_EQ(TextValue(kAddInKey, L"Description"),
            L"Rowtint is a COM add-in that Enhances Excel's Row Display Effect.\r\n");
  EXPECT_EQ(NumberValue(kAddInKey, L"LoadBehavior"), 3u);
  EXPECT_EQ(NumberValue(kAddInKey, L"CommandLineSafe"), 0u);
  const std::wstring server = TextValue((std::wstring(kClassKey) + L"\\InprocServer32").c_str(), nullptr);
  EXPECT_NE(server.find(L"Rowtint.dll"), std::wstring::npos) << server;
  EXPECT_EQ(TextValue((std::wstring(kClassKey) + L"\\InprocServer32").c_str(), L"ThreadingModel"), L"Apartment");
  EXPECT_EQ(TextValue(L"Software\\Classes\\Rowtint.Connect\\CLSID", nullptr),
            L"{02ECD3DB-D3C9-4757-88D7-312137B820B0}");
  EXPECT_EQ(TextValue(L"Software\\Classes\\TypeLib\\{4BA5643D-B60D-46E6-8867-F65DF8CA6B6E}\\1.0\\0\\win64", nullptr),
            server);
}

TEST_F(RegisteredServer, CreatedByItsProgIdItAnswersBothDualInterfaces) {
  ComPtr<IDTExtensibility2> addin = Create();
  ASSERT_TRUE(addin);
  EXPECT_TRUE(addin.As<IDispatch>());
  EXPECT_TRUE(addin.As<_Connect>());
  EXPECT_TRUE(addin.As<ISupportErrorInfo>());

  // The interface's own IDispatch, as a late-bound host reaches it.
  DISPID id = 0;
  LPOLESTR name = const_cast<LPOLESTR>(L"OnConnection");
  ASSERT_EQ(addin->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), S_OK);
  EXPECT_EQ(id, 1);
  name = const_cast<LPOLESTR>(L"OnBeginShutdown");
  ASSERT_EQ(addin->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), S_OK);
  EXPECT_EQ(id, 5);
  // The default interface's: CreateMubar is no member of IDTExtensibility2.
  name = const_cast<LPOLESTR>(L"CreateMubar");
  EXPECT_EQ(addin->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), DISP_E_UNKNOWNNAME);
  ComPtr<IDispatch> byDefault = addin.As<IDispatch>();
  ASSERT_EQ(byDefault->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), S_OK);

  UINT count = 0;
  EXPECT_EQ(addin->GetTypeInfoCount(&count), S_OK);
  EXPECT_EQ(count, 1u);
}

// The settings key as the store finds it: whether it exists, and when it was last written.
std::optional<FILETIME> SettingsWritten() {
  HKEY settings = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\Tintrow", 0, KEY_READ, &settings) !=
      ERROR_SUCCESS)
    return std::nullopt;
  FILETIME written{};
  RegQueryInfoKeyW(settings, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                   &written);
  RegCloseKey(settings);
  return written;
}

TEST_F(RegisteredServer, AnObjectThatIsNotExcelIsATypeMismatchAndTouchesNothing) {
  // Other tests on this desktop may have left settings; this connection must not write any.
  const auto settingsBefore = SettingsWritten();
  ComPtr<IDTExtensibility2> addin = Create();
  ASSERT_TRUE(addin);
  ComPtr<NotExcel> host = NotExcel::Create();
  SAFEARRAY* custom = nullptr;
  EXPECT_EQ(addin->OnConnection(host.Get(), ext_cm_Startup, nullptr, &custom), kTypeMismatch);

  ComPtr<IErrorInfo> info;
  ASSERT_EQ(GetErrorInfo(0, info.Put()), S_OK);
  BSTR description = nullptr;
  info->GetDescription(&description);
  EXPECT_STREQ(description, L"Type mismatch");
  SysFreeString(description);

  EXPECT_EQ(host->calls, 0) << "the host object was used";
  const auto settingsAfter = SettingsWritten();
  ASSERT_EQ(settingsAfter.has_value(), settingsBefore.has_value()) << "the settings key was made";
  if (settingsAfter) {
    EXPECT_EQ(CompareFileTime(&*settingsAfter, &*settingsBefore), 0) << "the settings key was written";
  }
  // Disconnecting what never connected is harmless.
  EXPECT_EQ(addin->OnDisconnection(ext_dm_UserClosed, &custom), S_OK);
}

TEST_F(RegisteredServer, TheLibrarySaysNoToUnloadingWhileAnObjectLives) {
  const std::wstring path = TextValue((std::wstring(kClassKey) + L"\\InprocServer32").c_str(), nullptr);
  HMODULE dll = LoadLibraryW(path.c_str());
  ASSERT_TRUE(dll);
  using CanUnload = HRESULT(STDAPICALLTYPE*)();
  using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  auto canUnload = reinterpret_cast<CanUnload>(reinterpret_cast<void*>(GetProcAddress(dll, "DllCanUnloadNow")));
  auto getClassObject =
      reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(GetProcAddress(dll, "DllGetClassObject")));
  ASSERT_TRUE(canUnload && getClassObject);

  EXPECT_EQ(canUnload(), S_OK);
  ComPtr<IClassFactory> factory;
  EXPECT_EQ(getClassObject(__uuidof(IDTExtensibility2), __uuidof(IClassFactory), factory.PutVoid()),
            CLASS_E_CLASSNOTAVAILABLE);
  ASSERT_EQ(getClassObject(__uuidof(::Connect), __uuidof(IClassFactory), factory.PutVoid()), S_OK);
  EXPECT_EQ(canUnload(), S_FALSE);
  ComPtr<IDTExtensibility2> addin;
  EXPECT_EQ(factory->CreateInstance(nullptr, __uuidof(IDTExtensibility2), addin.PutVoid()), S_OK);
  factory.Reset();
  EXPECT_EQ(canUnload(), S_FALSE);
  addin.Reset();
  EXPECT_EQ(canUnload(), S_OK);
  FreeLibrary(dll);
}

}  // namespace
}  // namespace rowtint::win32
