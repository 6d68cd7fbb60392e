// Fakes shaped like Excel's and Office's objects: the interfaces they answer,
// the members and argument names GetIDsOfNames knows, the events they
// raise. What each member does is left to the test (FakeDispatch::On).
// The command-bar DISPIDs are made up on purpose, so that only a caller
// that asks for them by name finds them.
#pragma once

#include "fake_dispatch.h"

namespace rowtint::win32::fakes {

namespace office_ids {
inline constexpr DISPID kAdd = 0x60030010;
inline constexpr DISPID kItem = 0x60030011;
inline constexpr DISPID kActiveMenuBar = 0x60030012;
inline constexpr DISPID kCount = 0x60030013;
inline constexpr DISPID kFindControls = 0x60030014;
inline constexpr DISPID kName = 0x60030020;
inline constexpr DISPID kControls = 0x60030021;
inline constexpr DISPID kProtection = 0x60030022;
inline constexpr DISPID kVisible = 0x60030023;
inline constexpr DISPID kDelete = 0x60030024;
inline constexpr DISPID kCaption = 0x60030030;
inline constexpr DISPID kBeginGroup = 0x60030031;
inline constexpr DISPID kTooltipText = 0x60030032;
inline constexpr DISPID kEnabled = 0x60030033;
inline constexpr DISPID kTag = 0x60030034;
inline constexpr DISPID kStyle = 0x60030040;
inline constexpr DISPID kFaceId = 0x60030041;
inline constexpr DISPID kPopupBar = 0x60030050;  // CommandBarPopup.CommandBar
}  // namespace office_ids

// Members of Excel's that a caller finds by name; the DISPID is the fake's own.
inline constexpr DISPID kHwndId = 0x60040001;
inline constexpr DISPID kWindowHwndId = 0x60040002;  // Window.Hwnd, from version 15 on
inline constexpr DISPID kBuildId = 0x60040003;
inline constexpr DISPID kRangeFromPointId = 0x60040004;
inline constexpr DISPID kRowHeightId = 0x60040005;
inline constexpr DISPID kColumnWidthId = 0x60040006;

// Excel's Application: _Application, the Application events, its members by DISPID.
ComPtr<FakeDispatch> FakeApplication();
ComPtr<FakeDispatch> FakeWindow();
// A window's Panes collection and one pane, through IDispatch alone.
ComPtr<FakeDispatch> FakePanes();
ComPtr<FakeDispatch> FakePane();
// A Range, with Find's argument names.
ComPtr<FakeDispatch> FakeRange(const std::string& address = "$A$1");
ComPtr<FakeDispatch> FakeWorksheetFunction();

// Office command bars, members known by name only.
ComPtr<FakeDispatch> FakeCommandBars();
ComPtr<FakeDispatch> FakeCommandBar(const std::string& name);
ComPtr<FakeDispatch> FakeControls();
// A button: CommandBarControl and _CommandBarButton, raising Click.
ComPtr<FakeDispatch> FakeButton(const std::string& caption = "");
// A popup: CommandBarControl and CommandBarPopup, no button.
ComPtr<FakeDispatch> FakePopup(const std::string& caption = "");

}  // namespace rowtint::win32::fakes
