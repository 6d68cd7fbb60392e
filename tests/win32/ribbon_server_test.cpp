// Rowtint.dll as Office's ribbon meets it after regsvr32: IRibbonExtensibility
// on the registered class, the callbacks its XML names found by name on every
// IDispatch the object hands out and called through Invoke with a control,
// a swatch that is a real picture, and no registry key of Office's interfaces.
#include <gtest/gtest.h>

#include <windows.h>
#include <ocidl.h>
#include <oleauto.h>
#include <olectl.h>

#include <regex>
#include <set>
#include <string>
#include <vector>

#include "fake_dispatch.h"
#include "live_gdi_objects.h"
#include "platform/win32/com_ptr.h"
#include "platform/win32/dispatch_call.h"
#include "rowtint_idl.h"

namespace rowtint::win32 {
namespace {
using fakes::FakeDispatch;

constexpr COLORREF kWarm = 16366575;
// Not connected, the band has no colour chosen: the menu shows the default.
constexpr COLORREF kWober = 14600886;

class RegisteredRibbon : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID(L"Rowtint.Connect", &clsid), S_OK);
    ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IRibbonExtensibility), ribbon.PutVoid()),
              S_OK);
  }
  void TearDown() override {
    ribbon.Reset();
    CoUninitialize();
  }

  std::wstring CustomUI(const wchar_t* ribbonId) {
    Bstr id(ribbonId), xml;
    EXPECT_EQ(ribbon->GetCustomUI(id.Get(), xml.Put()), S_OK);
    return xml.Get() ? std::wstring(xml.Get(), SysStringLen(xml.Get())) : std::wstring();
  }

  // Every IDispatch a caller can get from the object.
  std::vector<ComPtr<IDispatch>> Dispatches() {
    std::vector<ComPtr<IDispatch>> all{ribbon.As<IDispatch>()};
    all.push_back(ComPtr<IDispatch>(ribbon.Get()));
    if (auto extensibility = ribbon.As<IDTExtensibility2>()) all.push_back(ComPtr<IDispatch>(extensibility.Get()));
    if (auto connect = ribbon.As<_Connect>()) all.push_back(ComPtr<IDispatch>(connect.Get()));
    return all;
  }

  // A callback called as Office calls it: by name, with an IRibbonControl first.
  HRESULT Call(IDispatch* through, const wchar_t* name, const char* controlId, VARIANT* result,
               std::vector<Variant> more = {}) {
    DISPID id = 0;
    LPOLESTR names = const_cast<LPOLESTR>(name);
    const HRESULT found = through->GetIDsOfNames(IID_NULL, &names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(found)) return found;
    ComPtr<FakeDispatch> control = FakeDispatch::Create("IRibbonControl");
    control->Define(1, "Id").On(1, fakes::Returns(Variant::Text(controlId)));
    std::vector<VARIANT> args;
    for (auto it = more.rbegin(); it != more.rend(); ++it) args.push_back(*it->Ptr());
    Variant control_ = Variant::Object(control.Get());
    args.push_back(*control_.Ptr());
    DISPPARAMS params{args.data(), nullptr, static_cast<UINT>(args.size()), 0};
    return through->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, result, nullptr, nullptr);
  }

  ComPtr<IRibbonExtensibility> ribbon;
};

TEST_F(RegisteredRibbon, OnlyExcelsWorkbookRibbonGetsTheGroup) {
  const std::wstring xml = CustomUI(L"Microsoft.Excel.Workbook");
  EXPECT_NE(xml.find(L"id=\"rowtintGroup\" label=\"Rowtint\""), std::wstring::npos);
  // Not connected, the host's version is unknown: the schema every version reads.
  EXPECT_NE(xml.find(L"xmlns=\"http://schemas.microsoft.com/office/2006/01/customui\""), std::wstring::npos);
  EXPECT_EQ(CustomUI(L"Microsoft.Outlook.Mail.Read"), L"");
  EXPECT_EQ(CustomUI(L""), L"");
}

TEST_F(RegisteredRibbon, EveryCallbackTheXmlNamesResolvesOnEveryDispatchAlike) {
  const std::wstring xml = CustomUI(L"Microsoft.Excel.Workbook");
  std::set<std::wstring> names;
  const std::wregex callback(L"(onLoad|onAction|getPressed|getEnabled|getImage)=\"([A-Za-z]+)\"");
  for (std::wsregex_iterator it(xml.begin(), xml.end(), callback), end; it != end; ++it) names.insert((*it)[2]);
  ASSERT_EQ(names.size(), 6u);
  for (const std::wstring& name : names) {
    std::set<DISPID> ids;
    for (const auto& dispatch : Dispatches()) {
      DISPID id = DISPID_UNKNOWN;
      LPOLESTR text = const_cast<LPOLESTR>(name.c_str());
      EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, &text, 1, LOCALE_USER_DEFAULT, &id), S_OK)
          << std::string(name.begin(), name.end());
      ids.insert(id);
    }
    EXPECT_EQ(ids.size(), 1u) << "one DISPID on every IDispatch";
    // None of them takes a DISPID the interfaces' own members have.
    EXPECT_GT(*ids.begin(), 5);
  }
  // Each interface's own members stay its own.
  DISPID id = 0;
  LPOLESTR text = const_cast<LPOLESTR>(L"GetCustomUI");
  ASSERT_EQ(ribbon->GetIDsOfNames(IID_NULL, &text, 1, LOCALE_USER_DEFAULT, &id), S_OK);
  EXPECT_EQ(id, 1);
  text = const_cast<LPOLESTR>(L"OnConnection");
  ASSERT_EQ(ribbon.As<IDTExtensibility2>()->GetIDsOfNames(IID_NULL, &text, 1, LOCALE_USER_DEFAULT, &id), S_OK);
  EXPECT_EQ(id, 1);
  text = const_cast<LPOLESTR>(L"NoSuchCallback");
  EXPECT_EQ(ribbon->GetIDsOfNames(IID_NULL, &text, 1, LOCALE_USER_DEFAULT, &id), DISP_E_UNKNOWNNAME);
}

TEST_F(RegisteredRibbon, CallbacksAnswerThroughInvokeWithTheControlFirst) {
  for (const auto& dispatch : Dispatches()) {
    Variant pressed;
    ASSERT_EQ(Call(dispatch.Get(), L"RibbonPressed", "rowtintBand", pressed.Ptr()), S_OK);
    EXPECT_EQ(pressed.Type(), VT_BOOL);
    EXPECT_EQ(V_BOOL(pressed.Ptr()), VARIANT_TRUE) << "the band is on until switched off";
    Variant other;
    ASSERT_EQ(Call(dispatch.Get(), L"RibbonPressed", "rowtintOptions", other.Ptr()), S_OK);
    EXPECT_EQ(V_BOOL(other.Ptr()), VARIANT_FALSE);
  }
  // Without the host the gate cannot be read: a toggle fails as a click does,
  // and says so, whether Office passes the pressed state by value or by reference.
  Variant none;
  const HRESULT byValue =
      Call(ribbon.Get(), L"RibbonToggle", "rowtintBand", none.Ptr(), {Variant::Bool(platform::kFalse)});
  EXPECT_FALSE(SUCCEEDED(byValue));
  VARIANT_BOOL pressed = VARIANT_FALSE;
  const HRESULT byReference =
      Call(ribbon.Get(), L"RibbonToggle", "rowtintBand", none.Ptr(), {Variant::BoolRef(&pressed)});
  EXPECT_EQ(byReference, byValue) << "the pressed state by reference reached the add-in as by value does";
}

// Office's image sizes: 32 pixels for the large "Colours" menu, 16 for its items.
TEST_F(RegisteredRibbon, ASwatchIsABitmapPictureOfItsControlsSizeInItsColourThatFreesItsBitmap) {
  const struct {
    const char* control;
    int pixels;
    COLORREF colour;
  } swatches[] = {{"rowtintWarm", 16, kWarm}, {"rowtintColours", 32, kWober}};
  const long gdiBefore = host::LiveGdiObjects();
  for (const auto& swatch : swatches) {
    Variant image;
    ASSERT_EQ(Call(ribbon.Get(), L"RibbonImage", swatch.control, image.Ptr()), S_OK);
    ASSERT_EQ(image.Type(), VT_DISPATCH);
    ComPtr<IPicture> picture;
    ASSERT_EQ(V_DISPATCH(image.Ptr())->QueryInterface(IID_IPicture, picture.PutVoid()), S_OK);
    SHORT type = 0;
    ASSERT_EQ(picture->get_Type(&type), S_OK);
    EXPECT_EQ(type, PICTYPE_BITMAP);
    OLE_HANDLE handle = 0;
    ASSERT_EQ(picture->get_Handle(&handle), S_OK);
    BITMAP bitmap{};
    ASSERT_TRUE(GetObjectW(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)), sizeof(bitmap), &bitmap));
    EXPECT_EQ(bitmap.bmWidth, swatch.pixels) << swatch.control;
    EXPECT_EQ(bitmap.bmHeight, swatch.pixels) << swatch.control;
    EXPECT_EQ(bitmap.bmBitsPixel, 24);
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)));
    EXPECT_EQ(GetPixel(memory, 0, 0), swatch.colour) << swatch.control;
    EXPECT_EQ(GetPixel(memory, swatch.pixels - 1, swatch.pixels - 1), swatch.colour) << swatch.control;
    SelectObject(memory, old);
    DeleteDC(memory);
  }
  EXPECT_EQ(host::LiveGdiObjects(), gdiBefore) << "the pictures let their bitmaps go";
}

TEST_F(RegisteredRibbon, NoKeyOfOfficesInterfacesIsWritten) {
  for (const wchar_t* iid : {L"{000C0395-0000-0000-C000-000000000046}", L"{000C0396-0000-0000-C000-000000000046}",
                             L"{000C03A7-0000-0000-C000-000000000046}"}) {
    HKEY key = nullptr;
    const std::wstring path = std::wstring(L"Software\\Classes\\Interface\\") + iid;
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
    if (key) RegCloseKey(key);
  }
}

}  // namespace
}  // namespace rowtint::win32
