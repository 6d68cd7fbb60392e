#include "platform/win32/ribbon_adapters.h"

#include <ocidl.h>
#include <olectl.h>

#include <vector>

#include "platform/error.h"
#include "platform/win32/dispatch_call.h"
#include "platform/win32/gdi_handles.h"
#include "platform/win32/hresult_errors.h"

namespace rowtint::win32 {
namespace {
class RibbonUiAdapter final : public platform::RibbonUI, public DispatchBacked {
 public:
  using DispatchBacked::DispatchBacked;
  void Invalidate() override { d_.Call({"Invalidate", 1}); }
  void InvalidateControl(const std::string& controlId) override {
    d_.Call({"InvalidateControl", 2}, {Variant::Text(controlId)});
  }
};

Dispatcher Over(IDispatch* object) {
  if (!object) platform::Raise(platform::err::kObjectNotSet, "Object variable or With block variable not set");
  return Dispatcher(ComPtr<IDispatch>(object), IID_IDispatch, nullptr);
}
}  // namespace

std::shared_ptr<platform::RibbonUI> RibbonUiFromDispatch(IDispatch* ribbon) {
  return std::make_shared<RibbonUiAdapter>(Over(ribbon));
}

std::string RibbonControlId(IDispatch* control) { return ToText(Over(control).Get({"Id", 1}), "Id"); }

ComPtr<IDispatch> SwatchPicture(platform::Color color, int pixels) {
  COLORREF rgb = 0;
  if (const HRESULT hr = OleTranslateColor(static_cast<OLE_COLOR>(color), nullptr, &rgb); FAILED(hr))
    RaiseFromHresult(hr, nullptr, "OleTranslateColor");
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = pixels;
  info.bmiHeader.biHeight = pixels;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) RaiseFromHresult(E_OUTOFMEMORY, nullptr, "CreateDIBSection");
  // Rows of 24-bit pixels, blue first, each padded to four bytes.
  const int stride = (pixels * 3 + 3) & ~3;
  auto* row = static_cast<BYTE*>(bits);
  for (int y = 0; y < pixels; ++y, row += stride)
    for (int x = 0; x < pixels; ++x) {
      row[x * 3] = GetBValue(rgb);
      row[x * 3 + 1] = GetGValue(rgb);
      row[x * 3 + 2] = GetRValue(rgb);
    }
  PICTDESC description{};
  description.cbSizeofstruct = sizeof(description);
  description.picType = PICTYPE_BITMAP;
  description.bmp.hbitmap = bitmap.Get();
  ComPtr<IDispatch> picture;
  if (const HRESULT hr = OleCreatePictureIndirect(&description, IID_IPictureDisp, TRUE, picture.PutVoid()); FAILED(hr))
    RaiseFromHresult(hr, nullptr, "OleCreatePictureIndirect");
  // The picture owns the bitmap from here on.
  bitmap.Release();
  return picture;
}

}  // namespace rowtint::win32
