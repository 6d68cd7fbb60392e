#include "ribbon_callbacks.h"

#include <map>
#include <utility>
#include <vector>

#include "ribbon_objects.h"

namespace rowtint::host {
namespace {
using win32::ComPtr;

class DispatchCallbacks final : public sim::RibbonCallbacks {
 public:
  DispatchCallbacks(ComPtr<IDispatch> addin, RibbonContext context, sim::RibbonModel& model, Deliver call)
      : addin_(std::move(addin)), context_(std::move(context)), model_(model), call_(std::move(call)) {}

  bool Resolves(const std::string& name) override {
    std::wstring wide = win32::Widen(name);
    LPOLESTR names[] = {wide.data()};
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(addin_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return false;
    ids_[name] = id;
    return true;
  }
  void Load(const std::string& name) override {
    // The add-in keeps the only reference: one it never lets go shows among the stand-in's live objects.
    std::vector<Variant> args;
    args.push_back(Variant::Object(FakeRibbonUi(model_, connected_).Get()));
    Invoke(name, args);
  }
  void Action(const std::string& name, const std::string& id) override {
    std::vector<Variant> args;
    args.push_back(Control(id));
    Invoke(name, args);
  }
  void Toggle(const std::string& name, const std::string& id, bool pressed) override {
    std::vector<Variant> args;
    args.push_back(Control(id));
    args.push_back(Variant::Bool(platform::ToVbBool(pressed)));
    Invoke(name, args);
  }
  bool Boolean(const std::string& name, const std::string& id) override {
    std::vector<Variant> args;
    args.push_back(Control(id));
    return win32::ToBool(Invoke(name, args), name.c_str()) != platform::kFalse;
  }
  platform::Color Image(const std::string& name, const std::string& id) override {
    std::vector<Variant> args;
    args.push_back(Control(id));
    return PictureColor(Invoke(name, args));
  }

 private:
  Variant Control(const std::string& id) const { return Variant::Object(FakeRibbonControl(id, context_()).Get()); }

  // One callback by Invoke, `args` first declared first; its failure raised as the host's error.
  Variant Invoke(const std::string& name, std::vector<Variant>& args) {
    const auto found = ids_.find(name);
    if (found == ids_.end())
      platform::Raise(platform::err::kNotSupported, "Object doesn't support this property or method");
    std::vector<VARIANT> slots;
    for (auto it = args.rbegin(); it != args.rend(); ++it) slots.push_back(*it->Ptr());
    DISPPARAMS params{slots.data(), nullptr, static_cast<UINT>(slots.size()), 0};
    Variant result;
    win32::ExcepInfo info;
    UINT argError = 0;
    HRESULT hr = S_OK;
    call_(name.c_str(), [&] {
      hr = addin_->Invoke(found->second, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, result.Put(),
                          info.Get(), &argError);
      // The model records the failure, with what the add-in said of it.
      return S_OK;
    });
    if (FAILED(hr)) win32::RaiseFromHresult(hr, info.Get(), name);
    return result;
  }

  ComPtr<IDispatch> addin_;
  RibbonContext context_;
  sim::RibbonModel& model_;
  Deliver call_;
  std::map<std::string, DISPID> ids_;
  std::shared_ptr<const bool> connected_ = std::make_shared<const bool>(true);
};
}  // namespace

std::unique_ptr<sim::RibbonCallbacks> DispatchRibbonCallbacks(ComPtr<IDispatch> addin, RibbonContext context,
                                                              sim::RibbonModel& model, Deliver call) {
  return std::make_unique<DispatchCallbacks>(std::move(addin), std::move(context), model, std::move(call));
}

}  // namespace rowtint::host
