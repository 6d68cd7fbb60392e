#include "ribbon_objects.h"

#include <olectl.h>

#include <vector>

#include "host_behaviours.h"
#include "platform/win32/gdi_handles.h"
#include "screen_capture.h"

namespace rowtint::host {
namespace {
using win32::ComPtr;
using win32::fakes::FakeDispatch;

// A read-only property: a put fails as it does on Office's own objects.
Behaviour ReadOnly(const Variant& value) {
  auto get = Member([value](const ReceivedCall&) { return value; });
  return [get](const ReceivedCall& call, Variant& result, EXCEPINFO& info) -> HRESULT {
    return IsPut(call) ? DISP_E_MEMBERNOTFOUND : get(call, result, info);
  };
}
}  // namespace

ComPtr<FakeDispatch> FakeRibbonControl(const std::string& id, const ComPtr<IDispatch>& context) {
  auto control = FakeDispatch::Create("IRibbonControl");
  control->Unrecorded().Define(1, "Id").Define(2, "Context").Define(3, "Tag");
  control->On(1, ReadOnly(Variant::Text(id)))
      .On(2, ReadOnly(Variant::Object(context.Get())))
      .On(3, ReadOnly(Variant::Text("")));
  return control;
}

ComPtr<FakeDispatch> FakeRibbonUi(sim::RibbonModel& model, std::weak_ptr<const bool> connected) {
  auto ui = FakeDispatch::Create("IRibbonUI");
  ui->Unrecorded().Define(1, "Invalidate").Define(2, "InvalidateControl", {"ControlID"});
  ui->On(1, Member([&model, connected](const ReceivedCall&) {
           if (!connected.expired()) model.Invalidate();
           return Variant();
         }));
  ui->On(2, Member([&model, connected](const ReceivedCall& call) {
           const Variant* id = Arg(call, 0, 0);
           if (!id) platform::Raise(platform::err::kInvalidCall, "Invalid procedure call or argument");
           const std::string text = win32::ToText(*id, "ControlID");
           if (!connected.expired()) model.InvalidateControl(text);
           return Variant();
         }));
  return ui;
}

platform::Color PictureColor(const Variant& result) {
  const ComPtr<IDispatch> object = win32::RequireObject(result, "RibbonImage");
  ComPtr<IPicture> picture;
  object->QueryInterface(IID_IPicture, picture.PutVoid());
  SHORT type = PICTYPE_UNINITIALIZED;
  OLE_HANDLE handle = 0;
  if (!picture || FAILED(picture->get_Type(&type)) || type != PICTYPE_BITMAP || FAILED(picture->get_Handle(&handle)))
    platform::Raise(platform::err::kTypeMismatch, "RibbonImage did not return a bitmap picture");
  const auto bitmap = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
  BITMAP shape{};
  if (!GetObjectW(bitmap, sizeof(shape), &shape) || shape.bmWidth <= 0 || shape.bmHeight <= 0)
    platform::Raise(platform::err::kInvalidCall, "the picture RibbonImage returned holds no bitmap");
  // Every pixel, as the swatch shows them: a picture of one colour is what the add-in promises.
  BITMAPINFO layout = TopDownDib(shape.bmWidth, shape.bmHeight);
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(shape.bmWidth) * shape.bmHeight);
  const win32::ScopedWindowDC screen(nullptr, win32::ScopedWindowDC::Area::Client);
  if (GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(shape.bmHeight), pixels.data(), &layout, DIB_RGB_COLORS) !=
      shape.bmHeight)
    platform::Raise(platform::err::kInvalidCall, "the picture RibbonImage returned cannot be read");
  const std::uint32_t first = pixels.front() & 0xFFFFFF;
  for (const std::uint32_t p : pixels)
    if ((p & 0xFFFFFF) != first)
      platform::Raise(platform::err::kInvalidCall, "the picture RibbonImage returned is not of one colour");
  // The DIB's pixels hold red, green, blue from the high byte down: turned round into 0x00BBGGRR.
  return static_cast<platform::Color>(((first & 0xFF) << 16) | (first & 0xFF00) | ((first >> 16) & 0xFF));
}

}  // namespace rowtint::host
