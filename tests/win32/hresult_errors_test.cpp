// HRESULTs become the runtime's error numbers and back.
#include <gtest/gtest.h>

#include <oleauto.h>

#include "platform/win32/com_ptr.h"
#include "platform/win32/boundaries.h"
#include "platform/win32/hresult_errors.h"

namespace rowtint::win32 {
namespace {

TEST(HresultErrors, HresultsBecomeRuntimeNumbers) {
  struct Case {
    HRESULT hr;
    std::int32_t number;
  } cases[] = {
      {static_cast<HRESULT>(0x800A03EC), 1004},
      {static_cast<HRESULT>(0x800A000D), 13},
      {DISP_E_TYPEMISMATCH, 13},
      {E_NOINTERFACE, 13},
      {DISP_E_OVERFLOW, 6},
      {DISP_E_BADINDEX, 9},
      {DISP_E_MEMBERNOTFOUND, 438},
      {DISP_E_UNKNOWNNAME, 438},
      {E_FAIL, static_cast<std::int32_t>(E_FAIL)},
      {RPC_E_CALL_REJECTED, static_cast<std::int32_t>(RPC_E_CALL_REJECTED)},
  };
  for (const auto& c : cases) EXPECT_EQ(ErrorNumberFromHresult(c.hr), c.number) << std::hex << c.hr;
}

TEST(HresultErrors, NumbersTravelBackAsHresults) {
  EXPECT_EQ(HresultFromErrorNumber(13), static_cast<HRESULT>(0x800A000D));
  EXPECT_EQ(HresultFromErrorNumber(1004), static_cast<HRESULT>(0x800A03EC));
  EXPECT_EQ(HresultFromErrorNumber(static_cast<std::int32_t>(E_OUTOFMEMORY)), E_OUTOFMEMORY);
  for (std::int32_t n : {5, 6, 9, 13, 91, 438, 1004, 65535})
    EXPECT_EQ(ErrorNumberFromHresult(HresultFromErrorNumber(n)), n) << n;
  EXPECT_TRUE(FAILED(HresultFromErrorNumber(0)));
}

// The host's description with its number is the adapters' test; an
// exception may instead carry the number in its code alone.
TEST(HresultErrors, AnExceptionMayCarryTheNumberInItsCode) {
  EXCEPINFO byCode{};
  byCode.wCode = 91;
  try {
    RaiseFromHresult(DISP_E_EXCEPTION, &byCode, "ActiveCell");
    FAIL();
  } catch (const platform::PlatformError& e) {
    EXPECT_EQ(e.Number(), 91);
  }
}

TEST(HresultErrors, TheBoundaryTurnsEveryFailureIntoAResultWithErrorInfo) {
  EXPECT_EQ(ComBoundary([]() -> HRESULT { platform::Raise(13, "Type mismatch"); }), static_cast<HRESULT>(0x800A000D));
  ComPtr<IErrorInfo> info;
  ASSERT_EQ(GetErrorInfo(0, info.Put()), S_OK);
  BSTR description = nullptr;
  info->GetDescription(&description);
  EXPECT_STREQ(description, L"Type mismatch");
  SysFreeString(description);

  EXPECT_EQ(ComBoundary([]() -> HRESULT { throw std::bad_alloc(); }), E_OUTOFMEMORY);
  EXPECT_EQ(ComBoundary([]() -> HRESULT { throw 42; }), E_UNEXPECTED);
  EXPECT_EQ(ComBoundary([] { return S_FALSE; }), S_FALSE);
}

}  // namespace
}  // namespace rowtint::win32
