// Identifiers of Excel's and Office's automation interfaces and of the Excel
// members the add-in calls. Excel's DISPIDs are stable across versions; the
// Office command-bar members are not, and are called by name instead.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "platform/win32/dispatch_call.h"

namespace rowtint::win32 {

// Excel and Office interfaces all carry the suffix -0000-0000-C000-000000000046.
constexpr IID OleIid(unsigned long first) { return IID{first, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}}; }

inline constexpr IID kIidAppEvents = OleIid(0x00024413);
inline constexpr IID kIidApplication = OleIid(0x000208D5);
inline constexpr IID kIidWindow = OleIid(0x00020893);
inline constexpr IID kIidRange = OleIid(0x00020846);
inline constexpr IID kIidWorksheetFunction = OleIid(0x00020845);
inline constexpr IID kIidCommandBars = OleIid(0x000C0302);
inline constexpr IID kIidCommandBar = OleIid(0x000C0304);
inline constexpr IID kIidCommandBarControls = OleIid(0x000C0306);
inline constexpr IID kIidCommandBarControl = OleIid(0x000C0308);
inline constexpr IID kIidCommandBarPopup = OleIid(0x000C030A);
inline constexpr IID kIidCommandBarButton = OleIid(0x000C030E);
inline constexpr IID kIidCommandBarButtonEvents = OleIid(0x000C0351);

namespace excel {
// Application
inline constexpr Member kActiveWindow{"ActiveWindow", 0x2F7};
inline constexpr Member kActiveCell{"ActiveCell", 0x131};
inline constexpr Member kSelection{"Selection", 0x93};
inline constexpr Member kVersion{"Version", 0x188};
// Asked for by name, as members outside the checked list are.
inline constexpr Member kBuild{"Build"};
// Asked for by name: Window.Hwnd exists from version 15 on only.
inline constexpr Member kHwnd{"Hwnd"};
inline constexpr Member kRange{"Range", 0xC5};
inline constexpr Member kCells{"Cells", 0xEE};
inline constexpr Member kWorksheetFunction{"WorksheetFunction", 0x5A0};
inline constexpr Member kCommandBars{"CommandBars", 0x59F};
// Window
inline constexpr Member kZoom{"Zoom", 0x297};
inline constexpr Member kScrollRow{"ScrollRow", 0x28F};
inline constexpr Member kScrollColumn{"ScrollColumn", 0x28E};
inline constexpr Member kVisibleRange{"VisibleRange", 0x45E};
inline constexpr Member kActivePane{"ActivePane", 0x282};
inline constexpr Member kPanes{"Panes", 0x28D};
inline constexpr Member kFreezePanes{"FreezePanes", 0x28A};
inline constexpr Member kSplitRow{"SplitRow", 0x294};
inline constexpr Member kSplitColumn{"SplitColumn", 0x292};
// By name: Excel 2002 and later.
inline constexpr Member kRangeFromPoint{"RangeFromPoint"};
// Window and Pane
inline constexpr Member kPointsToScreenPixelsX{"PointsToScreenPixelsX", 0x6F0};
inline constexpr Member kPointsToScreenPixelsY{"PointsToScreenPixelsY", 0x6F1};
// Range
inline constexpr Member kAddress{"Address", 0xEC};
inline constexpr Member kRow{"Row", 0x101};
inline constexpr Member kColumn{"Column", 0xF0};
inline constexpr Member kHeight{"Height", 0x7B};
inline constexpr Member kWidth{"Width", 0x7A};
inline constexpr Member kLeft{"Left", 0x7F};
inline constexpr Member kTop{"Top", 0x7E};
inline constexpr Member kRows{"Rows", 0x102};
// By name; Null when the rows (columns) differ.
inline constexpr Member kRowHeight{"RowHeight"};
inline constexpr Member kColumnWidth{"ColumnWidth"};
inline constexpr Member kColumns{"Columns", 0xF1};
inline constexpr Member kCount{"Count", 0x76};
inline constexpr Member kFind{"Find", 0x18E};
inline constexpr Member kItem{"Item", 0xAA};
inline constexpr Member kSelect{"Select", 0xEB};
// WorksheetFunction
inline constexpr Member kCountA{"CountA", 0x40A9};

// Application events
inline constexpr DISPID kWindowResize = 0x612;
inline constexpr DISPID kSheetSelectionChange = 0x616;
inline constexpr DISPID kSheetActivate = 0x619;
inline constexpr DISPID kWorkbookActivate = 0x620;
inline constexpr DISPID kWorkbookBeforePrint = 0x624;
inline constexpr DISPID kWorkbookAddinUninstall = 0x627;
}  // namespace excel

namespace office {
// _CommandBarButtonEvents
inline constexpr DISPID kClick = 1;
}  // namespace office

}  // namespace rowtint::win32
