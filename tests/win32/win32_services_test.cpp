// The services that reach beyond one call: finding this process's window
// among every process's, starting processes, the module's folder, and the
// modal dialogs.
#include <gtest/gtest.h>

#include <windows.h>
#include <commdlg.h>

#include <cstring>
#include <string>

#include "platform/win32/system_library.h"
#include "platform/win32/win32_services.h"
#include "support/test_windows.h"

namespace rowtint::win32 {
namespace {
using testing::AsHandle;
using testing::PumpUntil;
using testing::TestWindow;

// Answers the next dialog box of this thread with a command, from a timer
// that keeps looking while the dialog's own message loop runs.
struct DialogAnswer {
  WPARAM command = IDOK;
  bool seen = false;
  std::wstring caption;
};
DialogAnswer g_answer;

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM found) {
  char name[16] = {};
  GetClassNameA(hwnd, name, sizeof name);
  if (std::strcmp(name, "#32770") != 0 || !IsWindowVisible(hwnd)) return TRUE;
  *reinterpret_cast<HWND*>(found) = hwnd;
  return FALSE;
}

void CALLBACK AnswerDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &FindDialog, reinterpret_cast<LPARAM>(&dialog));
  if (!dialog) return;
  KillTimer(nullptr, timer);
  wchar_t caption[256] = {};
  GetWindowTextW(dialog, caption, 256);
  g_answer.caption = caption;
  g_answer.seen = true;
  PostMessageW(dialog, WM_COMMAND, g_answer.command, 0);
}

void AnswerNextDialog(WPARAM command) {
  g_answer = DialogAnswer{command};
  SetTimer(nullptr, 0, 50, &AnswerDialog);
}

class Win32ServicesCalls : public ::testing::Test {
 protected:
  Win32Services os;
};

TEST_F(Win32ServicesCalls, FindProcessWindowFindsThisProcesssWindowOfTheClass) {
  TestWindow a{L"RowtintFindA", RECT{0, 0, 40, 40}, WS_POPUP};
  TestWindow b{L"RowtintFindB", RECT{0, 0, 40, 40}, WS_POPUP};
  EXPECT_EQ(os.FindProcessWindow("RowtintFindA"), AsHandle(a.Get()));
  EXPECT_EQ(os.FindProcessWindow("rowtintfindb"), AsHandle(b.Get()));  // class names ignore case
  EXPECT_EQ(os.FindProcessWindow("RowtintFindC"), 0u);
  a.Destroy();
  EXPECT_EQ(os.FindProcessWindow("RowtintFindA"), 0u);
}

TEST_F(Win32ServicesCalls, FindProcessWindowPassesOverAnotherProcesssWindow) {
  const std::uint32_t pid = os.StartProcess(os.WindowsFolder() + "\\notepad.exe", "notepad.exe", SW_SHOWNOACTIVATE);
  ASSERT_NE(pid, 0u);
  HWND theirs = nullptr;
  const bool appeared = PumpUntil([&] { return (theirs = FindWindowA("Notepad", nullptr)) != nullptr; }, 20000);
  if (appeared) {
    DWORD owner = 0;
    GetWindowThreadProcessId(theirs, &owner);
    EXPECT_EQ(owner, pid);  // the identifier StartProcess gave is the started process's
    EXPECT_EQ(os.FindProcessWindow("Notepad"), 0u);
    TestWindow ours{L"Notepad", RECT{0, 0, 40, 40}, WS_POPUP};
    EXPECT_EQ(os.FindProcessWindow("Notepad"), AsHandle(ours.Get()));
  }
  if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
    TerminateProcess(process, 0);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
  }
  ASSERT_TRUE(appeared) << "notepad showed no window";
}

TEST_F(Win32ServicesCalls, StartProcessGivesTheIdentifierOrZeroAndTheShellStartsToo) {
  const std::uint32_t pid = os.StartProcess(os.WindowsFolder() + "\\system32\\cmd.exe", "cmd.exe /c exit 7", SW_HIDE);
  ASSERT_NE(pid, 0u);
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, pid);
  ASSERT_NE(process, nullptr);
  EXPECT_EQ(WaitForSingleObject(process, 10000), WAIT_OBJECT_0);
  DWORD code = 0;
  GetExitCodeProcess(process, &code);
  EXPECT_EQ(code, 7u);  // the command line reached the process whole
  CloseHandle(process);

  EXPECT_EQ(os.StartProcess("no-such-program-here.exe", "no-such-program-here.exe", SW_SHOWNORMAL), 0u);
  EXPECT_GT(os.ShellOpen(0, "open", "cmd.exe", "/c exit", "", SW_HIDE), 32) << "the shell starts what it is given";
}

// A library planted in the current folder, where a load by bare name would find it first.
TEST_F(Win32ServicesCalls, SystemLibrariesComeFromTheSystemFolderOrFromWhatIsLoaded) {
  EXPECT_NE(SystemFunction(L"user32.dll", "GetFocus"), nullptr);
  EXPECT_EQ(SystemFunction(L"user32.dll", "NoSuchFunctionAnywhere"), nullptr);
  EXPECT_EQ(SystemFunction(L"rowtint-never-loaded.dll", "GetFocus"), nullptr) << "not loaded: not found";

  const std::string windows = os.WindowsFolder();
  const std::wstring system = std::wstring(windows.begin(), windows.end()) + L"\\system32\\";
  ASSERT_TRUE(CopyFileW((system + L"version.dll").c_str(), L"rowtint-planted.dll", FALSE));
  EXPECT_EQ(LoadSystemLibrary(L"rowtint-planted.dll"), nullptr);
  const HMODULE version = LoadSystemLibrary(L"version.dll");
  EXPECT_NE(version, nullptr);
  if (version) FreeLibrary(version);
  DeleteFileW(L"rowtint-planted.dll");
}

TEST_F(Win32ServicesCalls, ModuleFolderHoldsTheModuleWithoutATrailingSeparator) {
  const std::string folder = os.ModuleFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.back(), '\\');
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::wstring selfPath = self;
  const std::wstring name = selfPath.substr(selfPath.find_last_of(L"\\/") + 1);
  const std::wstring again = std::wstring(folder.begin(), folder.end()) + L"\\" + name;
  EXPECT_NE(GetFileAttributesW(again.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(Win32ServicesCalls, TheColorDialogOpensWithThePlatformsRecord) {
  // The add-in fills in the 32-bit record's size; the dialog opens all the same.
  std::array<platform::Color, 16> custom{};
  custom[0] = 0x00112233;
  platform::ChooseColorRecord record;
  record.structSize = 36;
  record.result = 0x00345678;
  record.customColors = &custom;
  record.flags = platform::kCcFullOpen | CC_RGBINIT;

  AnswerNextDialog(IDOK);
  EXPECT_TRUE(os.ShowColorDialog(record));
  EXPECT_TRUE(g_answer.seen);
  EXPECT_EQ(record.result, 0x00345678);
  EXPECT_EQ(custom[0], 0x00112233);

  record.result = 0x00345678;
  AnswerNextDialog(IDCANCEL);
  EXPECT_FALSE(os.ShowColorDialog(record));
  EXPECT_TRUE(g_answer.seen);
}

TEST_F(Win32ServicesCalls, AMessageBoxShowsItsUtf8TextAndGivesTheButton) {
  AnswerNextDialog(IDOK);
  EXPECT_EQ(os.ShowMessageBox(0, "1004\r\nFailed", "Rowtint \xE2\x80\x93 \xC3\xA9", platform::kMbOk), IDOK);
  EXPECT_TRUE(g_answer.seen);
  EXPECT_EQ(g_answer.caption, L"Rowtint \u2013 \u00e9");
}

}  // namespace
}  // namespace rowtint::win32
