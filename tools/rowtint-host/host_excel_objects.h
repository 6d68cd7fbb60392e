// Excel's Application, Window, Range and WorksheetFunction as the stand-in
// hands them out through IDispatch, over the same spreadsheet model as the
// simulator. A Range or Window is made afresh for each call, as Excel does.
#pragma once

#include <functional>

#include "fake_office.h"
#include "platform/sim/sheet_model.h"

namespace rowtint::host {

// What the objects read and do in the stand-in.
struct Workbook {
  sim::SheetModel sheet;
  std::function<platform::Rect()> gridClient;             // the grid window's client area
  std::function<void(const sim::Area&)> select;           // the user's selection, with its event
  std::function<win32::ComPtr<IDispatch>()> commandBars;  // the host's bars
};

// The Application: _Application, its members, the Application events.
win32::ComPtr<win32::fakes::FakeDispatch> MakeApplication(Workbook& book);
win32::ComPtr<win32::fakes::FakeDispatch> MakeRange(Workbook& book, const sim::Area& area);
// What the host passes as a sheet, workbook or window argument of an event.
win32::ComPtr<win32::fakes::FakeDispatch> MakeNamed(const std::string& typeName);

}  // namespace rowtint::host
