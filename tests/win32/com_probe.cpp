// rowtint-com-probe: creates "Rowtint.Connect" the way Excel does, by its
// programmatic identifier as an in-process server, and checks that what it
// gets is a COM add-in: it answers IDTExtensibility2 and IDispatch, and
// OnConnection is DISPID 1 on the add-in interface. Prints each finding and
// the file COM loaded; exits 0 only when all hold.
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <cstdio>
#include <string>

#include "platform/win32/com_ptr.h"

namespace {

using rowtint::win32::ComPtr;

// IDTExtensibility2, from the add-in designer type library.
constexpr IID kIdtExtensibility2 = {0xB65AD801, 0xABAF, 0x11D0, {0xBB, 0x8B, 0x00, 0xA0, 0xC9, 0x0F, 0x27, 0x44}};

class ComApartment {
 public:
  ComApartment() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComApartment() {
    if (SUCCEEDED(hr_)) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  HRESULT Result() const { return hr_; }

 private:
  HRESULT hr_;
};

std::string Utf8(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string result(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), size, nullptr, nullptr);
  result.resize(static_cast<size_t>(size - 1));
  return result;
}

std::string GuidText(REFGUID guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return Utf8(text);
}

// The file that holds an object's code: the module its interface table lies in.
std::string ServerFile(IUnknown* object) {
  HMODULE module = nullptr;
  const auto* vtable = *reinterpret_cast<void* const* const*>(object);
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          reinterpret_cast<LPCWSTR>(vtable), &module))
    return "(unknown)";
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(module, path, MAX_PATH);
  return Utf8(path);
}

bool Report(bool ok, const char* what, HRESULT hr) {
  std::printf("%s %s (hr 0x%08lX)\n", ok ? "ok  " : "FAIL", what, static_cast<unsigned long>(hr));
  return ok;
}

bool Probe() {
  CLSID clsid{};
  HRESULT hr = CLSIDFromProgID(L"Rowtint.Connect", &clsid);
  if (!Report(SUCCEEDED(hr), "Rowtint.Connect names a class", hr)) return false;
  std::printf("     class %s\n", GuidText(clsid).c_str());

  ComPtr<IUnknown> object;
  hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, object.PutVoid());
  if (!Report(SUCCEEDED(hr) && object, "CoCreateInstance in process", hr)) return false;
  std::printf("     server %s\n", ServerFile(object.Get()).c_str());

  // A dual interface: its table starts with IDispatch's.
  ComPtr<IDispatch> addin;
  hr = object->QueryInterface(kIdtExtensibility2, addin.PutVoid());
  const bool has_addin = Report(SUCCEEDED(hr) && addin, "answers IDTExtensibility2", hr);

  ComPtr<IDispatch> dispatch;
  hr = object->QueryInterface(IID_IDispatch, dispatch.PutVoid());
  const bool has_dispatch = Report(SUCCEEDED(hr) && dispatch, "answers IDispatch", hr);

  bool names_connection = false;
  if (has_addin) {
    wchar_t name[] = L"OnConnection";
    LPOLESTR names[] = {name};
    DISPID id = DISPID_UNKNOWN;
    hr = addin->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    std::printf("     OnConnection is DISPID %ld\n", static_cast<long>(id));
    names_connection = Report(SUCCEEDED(hr) && id == 1, "OnConnection is DISPID 1", hr);
  }
  return has_addin && has_dispatch && names_connection;
}

}  // namespace

int main() {
  const ComApartment apartment;
  if (!Report(SUCCEEDED(apartment.Result()), "COM initialised", apartment.Result())) return 1;
  return Probe() ? 0 : 1;
}
