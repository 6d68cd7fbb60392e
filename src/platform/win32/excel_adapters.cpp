#include "platform/win32/excel_adapters.h"

#include "platform/command_bars.h"
#include "platform/error.h"
#include "platform/win32/command_bar_adapters.h"
#include "platform/win32/event_sinks.h"
#include "platform/win32/excel_com_ids.h"

namespace rowtint::win32 {
namespace {
namespace host = platform::host;

// The host language's TypeName: the name its type information gives the
// object, without the underscore that marks a hidden default interface
// (_Application is "Application"); "Object" when it describes itself not.
std::string TypeNameOf(IDispatch* object) {
  ComPtr<ITypeInfo> info;
  if (FAILED(object->GetTypeInfo(0, kUserLocale, info.Put())) || !info) return "Object";
  Bstr name;
  if (FAILED(info->GetDocumentation(MEMBERID_NIL, name.Put(), nullptr, nullptr, nullptr))) return "Object";
  std::string text = name.Text();
  if (text.size() > 1 && text.front() == '_') text.erase(0, 1);
  return text.empty() ? "Object" : text;
}

std::shared_ptr<host::Range> MakeRange(const Dispatcher& context, ComPtr<IDispatch> range);

// The object taken as a Range, as `Set r = object` into a Range variable does it.
std::shared_ptr<host::Range> RangeOf(const Dispatcher& d) {
  ComPtr<IDispatch> range = d.Query(kIidRange);
  if (!range) platform::Raise(platform::err::kTypeMismatch, "Type mismatch");
  return MakeRange(d, std::move(range));
}

class ExcelObject final : public host::Object, public DispatchBacked {
 public:
  using DispatchBacked::DispatchBacked;
  std::string TypeName() override { return TypeNameOf(d_.Object()); }
  std::shared_ptr<host::Range> AsRange() override { return RangeOf(d_); }
};

class ExcelRange final : public host::Range, public DispatchBacked {
 public:
  using DispatchBacked::DispatchBacked;
  std::string TypeName() override { return TypeNameOf(d_.Object()); }
  std::shared_ptr<host::Range> AsRange() override { return RangeOf(d_); }

  std::string Address() override { return ToText(d_.Get(excel::kAddress), excel::kAddress.name); }
  std::int32_t Row() override { return ToLong(d_.Get(excel::kRow), excel::kRow.name); }
  std::int32_t Column() override { return ToLong(d_.Get(excel::kColumn), excel::kColumn.name); }
  double Height() override { return ToDouble(d_.Get(excel::kHeight), excel::kHeight.name); }
  double Width() override { return ToDouble(d_.Get(excel::kWidth), excel::kWidth.name); }
  double Left() override { return ToDouble(d_.Get(excel::kLeft), excel::kLeft.name); }
  double Top() override { return ToDouble(d_.Get(excel::kTop), excel::kTop.name); }
  std::optional<double> RowHeight() override { return SizeOrNull(excel::kRowHeight); }
  std::optional<double> ColumnWidth() override { return SizeOrNull(excel::kColumnWidth); }
  std::shared_ptr<host::Range> Rows() override { return RangeAt(excel::kRows); }
  std::shared_ptr<host::Range> Columns() override { return RangeAt(excel::kColumns); }
  std::int32_t Count() override { return ToLong(d_.Get(excel::kCount), excel::kCount.name); }

  std::shared_ptr<host::Range> Find(const std::string& what, std::int32_t searchOrder, std::int32_t searchDirection,
                                    const host::SearchOptions& options) override {
    std::vector<NamedArg> named;
    named.push_back({"What", Variant::Text(what)});
    if (options.lookIn) named.push_back({"LookIn", Variant::Long(*options.lookIn)});
    if (options.lookAt) named.push_back({"LookAt", Variant::Long(*options.lookAt)});
    if (options.matchCase) named.push_back({"MatchCase", Variant::Bool(platform::ToVbBool(*options.matchCase))});
    named.push_back({"SearchOrder", Variant::Long(searchOrder)});
    named.push_back({"SearchDirection", Variant::Long(searchDirection)});
    // A search that matches nothing answers Nothing, which is no failure.
    ComPtr<IDispatch> found = ToObject(d_.Call(excel::kFind, {}, std::move(named)), excel::kFind.name);
    if (!found) return nullptr;
    return MakeRange(d_, std::move(found));
  }

  std::shared_ptr<host::Range> Item(std::int32_t row, std::int32_t column) override {
    std::vector<Variant> args;
    args.push_back(Variant::Long(row));
    args.push_back(Variant::Long(column));
    return MakeRange(d_, RequireObject(d_.Get(excel::kItem, std::move(args)), excel::kItem.name));
  }

  void Select() override { d_.Call(excel::kSelect); }

 private:
  std::shared_ptr<host::Range> RangeAt(const Member& member) {
    return MakeRange(d_, RequireObject(d_.Get(member), member.name));
  }
  // Excel answers Null for rows or columns of different sizes.
  std::optional<double> SizeOrNull(const Member& member) {
    const Variant size = d_.Get(member);
    if (size.Type() == VT_NULL) return std::nullopt;
    return ToDouble(size, member.name);
  }
};

std::shared_ptr<host::Range> MakeRange(const Dispatcher& context, ComPtr<IDispatch> range) {
  return std::make_shared<ExcelRange>(context.Other(std::move(range), kIidRange));
}

// Excel's Pane interface is not among the checked identifiers: a pane is
// called through IDispatch alone, by the checked DISPIDs.
class ExcelPane final : public host::Pane, public DispatchBacked {
 public:
  using DispatchBacked::DispatchBacked;
  std::int32_t ScrollRow() override { return ToLong(d_.Get(excel::kScrollRow), excel::kScrollRow.name); }
  std::int32_t ScrollColumn() override { return ToLong(d_.Get(excel::kScrollColumn), excel::kScrollColumn.name); }
  std::shared_ptr<host::Range> VisibleRange() override {
    return MakeRange(d_, RequireObject(d_.Get(excel::kVisibleRange), excel::kVisibleRange.name));
  }
  std::int32_t PointsToScreenPixelsX(std::int32_t points) override {
    return Pixels(excel::kPointsToScreenPixelsX, points);
  }
  std::int32_t PointsToScreenPixelsY(std::int32_t points) override {
    return Pixels(excel::kPointsToScreenPixelsY, points);
  }

 private:
  std::int32_t Pixels(const Member& member, std::int32_t points) {
    std::vector<Variant> args;
    args.push_back(Variant::Long(points));
    return ToLong(d_.Call(member, std::move(args)), member.name);
  }
};

class ExcelWindow final : public host::Window, public DispatchBacked {
 public:
  using DispatchBacked::DispatchBacked;
  std::shared_ptr<host::Pane> ActivePane() override {
    return std::make_shared<ExcelPane>(
        d_.Other(RequireObject(d_.Get(excel::kActivePane), excel::kActivePane.name), IID_IDispatch));
  }
  bool FreezePanes() override {
    return ToBool(d_.Get(excel::kFreezePanes), excel::kFreezePanes.name) != platform::kFalse;
  }
  std::int32_t SplitRow() override { return ToLong(d_.Get(excel::kSplitRow), excel::kSplitRow.name); }
  std::int32_t SplitColumn() override { return ToLong(d_.Get(excel::kSplitColumn), excel::kSplitColumn.name); }
  std::int32_t PaneCount() override { return ToLong(Panes().Get(excel::kCount), excel::kCount.name); }
  std::shared_ptr<host::Pane> PaneAt(std::int32_t index) override {
    std::vector<Variant> args;
    args.push_back(Variant::Long(index));
    return std::make_shared<ExcelPane>(
        d_.Other(RequireObject(Panes().Get(excel::kItem, std::move(args)), excel::kItem.name), IID_IDispatch));
  }
  double Zoom() override { return ToDouble(d_.Get(excel::kZoom), excel::kZoom.name); }
  std::int32_t ScrollRow() override { return ToLong(d_.Get(excel::kScrollRow), excel::kScrollRow.name); }
  std::int32_t ScrollColumn() override { return ToLong(d_.Get(excel::kScrollColumn), excel::kScrollColumn.name); }
  std::shared_ptr<host::Range> VisibleRange() override {
    return MakeRange(d_, RequireObject(d_.Get(excel::kVisibleRange), excel::kVisibleRange.name));
  }
  std::shared_ptr<host::Range> ActiveCell() override {
    return MakeRange(d_, RequireObject(d_.Get(excel::kActiveCell), excel::kActiveCell.name));
  }
  std::shared_ptr<host::Range> RangeFromPoint(std::int32_t x, std::int32_t y) override {
    std::vector<Variant> args;
    args.push_back(Variant::Long(x));
    args.push_back(Variant::Long(y));
    ComPtr<IDispatch> found = ToObject(d_.Call(excel::kRangeFromPoint, std::move(args)), excel::kRangeFromPoint.name);
    if (!found) return nullptr;
    // Over a shape Excel answers the shape: no cell is there.
    ComPtr<IDispatch> range;
    if (FAILED(found->QueryInterface(kIidRange, range.PutVoid())) || !range) return nullptr;
    return MakeRange(d_, std::move(range));
  }

 private:
  Dispatcher Panes() const { return d_.Other(RequireObject(d_.Get(excel::kPanes), excel::kPanes.name), IID_IDispatch); }
};

class ExcelWorksheetFunction final : public host::WorksheetFunction, public DispatchBacked {
 public:
  using DispatchBacked::DispatchBacked;
  double CountA(host::Range& arg1) override {
    ComPtr<IDispatch> range = DispatchOf(arg1);
    if (!range) platform::Raise(platform::err::kTypeMismatch, "Type mismatch");
    std::vector<Variant> args;
    args.push_back(Variant::Object(range.Get()));
    return ToDouble(d_.Call(excel::kCountA, std::move(args)), excel::kCountA.name);
  }
};

class ExcelApplication final : public host::Application, public DispatchBacked {
 public:
  using DispatchBacked::DispatchBacked;
  std::shared_ptr<host::Window> ActiveWindow() override {
    return std::make_shared<ExcelWindow>(
        d_.Other(RequireObject(d_.Get(excel::kActiveWindow), excel::kActiveWindow.name), kIidWindow));
  }
  std::shared_ptr<host::Range> ActiveCell() override {
    return MakeRange(d_, RequireObject(d_.Get(excel::kActiveCell), excel::kActiveCell.name));
  }
  std::shared_ptr<host::Object> Selection() override {
    ComPtr<IDispatch> selection = RequireObject(d_.Get(excel::kSelection, {}, kEnglishLocale), excel::kSelection.name);
    return std::make_shared<ExcelObject>(d_.Other(std::move(selection), IID_IDispatch));
  }
  std::string Version() override { return ToText(d_.Get(excel::kVersion, {}, kEnglishLocale), excel::kVersion.name); }
  std::int32_t Build() override { return ToLong(d_.Get(excel::kBuild), excel::kBuild.name); }
  platform::WindowHandle Hwnd() override {
    // A handle is a 32-bit value in both bitnesses; Excel passes it as a Long.
    return static_cast<platform::WindowHandle>(
        static_cast<std::uint32_t>(ToLong(d_.Get(excel::kHwnd), excel::kHwnd.name)));
  }
  std::shared_ptr<host::Range> GetRange(const std::string& cell1) override {
    std::vector<Variant> args;
    args.push_back(Variant::Text(cell1));
    args.push_back(Variant::Missing());  // Cell2
    return MakeRange(d_, RequireObject(d_.Get(excel::kRange, std::move(args)), excel::kRange.name));
  }
  std::shared_ptr<host::Range> Cells() override {
    return MakeRange(d_, RequireObject(d_.Get(excel::kCells), excel::kCells.name));
  }
  std::shared_ptr<host::WorksheetFunction> GetWorksheetFunction() override {
    return std::make_shared<ExcelWorksheetFunction>(d_.Other(
        RequireObject(d_.Get(excel::kWorksheetFunction), excel::kWorksheetFunction.name), kIidWorksheetFunction));
  }
  std::shared_ptr<platform::CommandBars> GetCommandBars() override {
    return CommandBarsFromDispatch(
        d_.Other(RequireObject(d_.Get(excel::kCommandBars), excel::kCommandBars.name), kIidCommandBars));
  }
  std::unique_ptr<host::EventConnection> AdviseEvents(host::AppEvents& sink) override {
    return AdviseAppEvents(d_, sink);
  }
  std::shared_ptr<host::Range> AsRange() override { return RangeOf(d_); }
};
}  // namespace

std::shared_ptr<host::Application> ApplicationFromDispatch(IDispatch* application) {
  if (!application) return nullptr;
  ComPtr<IDispatch> excel;
  const HRESULT hr = application->QueryInterface(kIidApplication, excel.PutVoid());
  if (FAILED(hr) || !excel) platform::Raise(platform::err::kTypeMismatch, "Type mismatch");
  return std::make_shared<ExcelApplication>(Dispatcher(std::move(excel), kIidApplication, nullptr));
}

std::shared_ptr<host::Object> ObjectFromDispatch(IDispatch* object, std::shared_ptr<DispidCache> names) {
  if (!object) return nullptr;
  return std::make_shared<ExcelObject>(Dispatcher(ComPtr<IDispatch>(object), IID_IDispatch, std::move(names)));
}

std::shared_ptr<host::Range> RangeFromDispatch(IDispatch* range, std::shared_ptr<DispidCache> names) {
  if (!range) return nullptr;
  return std::make_shared<ExcelRange>(Dispatcher(ComPtr<IDispatch>(range), kIidRange, std::move(names)));
}

ComPtr<IDispatch> DispatchOf(const host::Object& object) {
  if (const auto* backed = dynamic_cast<const DispatchBacked*>(&object)) return backed->Automation().ObjectRef();
  return {};
}

}  // namespace rowtint::win32
