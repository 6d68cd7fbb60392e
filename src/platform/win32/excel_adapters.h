// Excel's Application, Window, Range and WorksheetFunction, and any other
// automation object, seen through the host interface over IDispatch.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <memory>

#include "platform/host.h"
#include "platform/win32/com_ptr.h"
#include "platform/win32/dispatch_call.h"

namespace rowtint::win32 {

// The host's application taken as Excel's _Application; an object without
// that interface raises type mismatch (13) and is not called. Nothing stays
// Nothing (nullptr).
std::shared_ptr<platform::host::Application> ApplicationFromDispatch(IDispatch* application);

// Any other automation object (the add-in's AddInInst, an event's sheet or
// workbook); nullptr for Nothing.
std::shared_ptr<platform::host::Object> ObjectFromDispatch(IDispatch* object,
                                                           std::shared_ptr<DispidCache> names = nullptr);

// An object already known to be a Range (an event's Target); nullptr for Nothing.
std::shared_ptr<platform::host::Range> RangeFromDispatch(IDispatch* range, std::shared_ptr<DispidCache> names);

// The automation object behind an adapter, to hand back to COM; empty for
// an object that no automation object stands behind.
ComPtr<IDispatch> DispatchOf(const platform::host::Object& object);

}  // namespace rowtint::win32
