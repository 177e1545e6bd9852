// Trapline.dll and its damaged variants, loaded for real from the build's
// bin folder and driven with real processes and windows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "savers/probe/probe_log.h"
#include "tests/support/win_test_support.h"
#include "tests/trapline/handoff_helper.h"
#include "tests/trapline/trapline_fixture.h"

namespace {

using namespace vtest;
using namespace trapline_test;

const char* const kExportNames[] = {
    "_ShellProc@12",           "_EnableWindowHook@16", "_GetProgramNameFromHandle@12",
    "_EnableFunctionAddress@4", "_FindProcessChild@8",  "_GetTraplineDllVersion@8",
};

TEST(TraplineExports, TheSixDecoratedNamesAndNoOthers) {
    Library lib("Trapline.dll");
    ASSERT_NE(lib.module(), nullptr) << lib.path() << " error " << GetLastError();
    for (const char* name : kExportNames) EXPECT_TRUE(lib.Has(name)) << name;
    // Neither the undecorated names nor MinGW's usual ones.
    const char* const others[] = {"ShellProc",          "EnableWindowHook",
                                  "GetProgramNameFromHandle", "EnableFunctionAddress",
                                  "FindProcessChild",   "GetTraplineDllVersion",
                                  "EnableFunctionAddress@4",  "FindProcessChild@8",
                                  "_shellproc@12"};
    for (const char* name : others) EXPECT_FALSE(lib.Has(name)) << name;

    EXPECT_NE(lib.EnableFunctionAddress(TRUE), FALSE);
    EXPECT_NE(lib.EnableFunctionAddress(FALSE), FALSE);
}

TEST(TraplineExports, NonameVariantLacksOnlyTheVersion) {
    Library lib("trapline_noname.dll");
    ASSERT_NE(lib.module(), nullptr) << lib.path() << " error " << GetLastError();
    for (const char* name : kExportNames) {
        bool isVersion = std::string(name) == "_GetTraplineDllVersion@8";
        EXPECT_EQ(lib.Has(name), !isVersion) << name;
    }
    EXPECT_FALSE(lib.Has("GetTraplineDllVersion"));
    EXPECT_NE(lib.EnableFunctionAddress(TRUE), FALSE);
}

TEST(TraplineExports, RefuseVariantIsNeverReady) {
    Library lib("trapline_refuse.dll");
    ASSERT_NE(lib.module(), nullptr) << lib.path() << " error " << GetLastError();
    for (const char* name : kExportNames) EXPECT_TRUE(lib.Has(name)) << name;
    EXPECT_EQ(lib.EnableFunctionAddress(TRUE), FALSE);
    EXPECT_EQ(lib.EnableFunctionAddress(TRUE), FALSE) << "asked again";

    // Not switched on, so it finds no child even where there is one.
    Lingering lingering;
    HandOff handOff = RunHandOff(lingering, 1);
    ASSERT_NE(handOff.lastChild, 0u);
    DWORD child = 0;
    EXPECT_EQ(lib.FindProcessChild(handOff.pid, &child), FALSE);
    EXPECT_NE(lib.EnableFunctionAddress(FALSE), FALSE);
}

TEST(TraplineVersion, TwoPointZeroByPointersAndResult) {
    Library lib("Trapline.dll");
    ASSERT_NE(lib.GetTraplineDllVersion, nullptr);
    DWORD major = 77, minor = 77;
    EXPECT_EQ(lib.GetTraplineDllVersion(&major, &minor), static_cast<DWORD>(MAKELONG(0, 2)));
    EXPECT_EQ(major, 2u);
    EXPECT_EQ(minor, 0u);
    EXPECT_EQ(lib.GetTraplineDllVersion(&major, &minor), 0x00020000u);

    // Null pointers are skipped; the result is the same.
    major = 77;
    minor = 77;
    EXPECT_EQ(lib.GetTraplineDllVersion(nullptr, nullptr), 0x00020000u);
    EXPECT_EQ(lib.GetTraplineDllVersion(&major, nullptr), 0x00020000u);
    EXPECT_EQ(major, 2u);
    EXPECT_EQ(lib.GetTraplineDllVersion(nullptr, &minor), 0x00020000u);
    EXPECT_EQ(minor, 0u);
    // The header agrees with the library.
    EXPECT_EQ(kTraplineVersionMajor, 2u);
    EXPECT_EQ(kTraplineVersionMinor, 0u);
}

class FindProcessChild : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(lib.FindProcessChild, nullptr);
        ASSERT_NE(lib.EnableFunctionAddress(TRUE), FALSE);
    }
    Library lib{"Trapline.dll"};
};

TEST_F(FindProcessChild, FindsTheProcessAHandOffLeft) {
    Lingering lingering;
    HandOff handOff = RunHandOff(lingering, 1);
    ASSERT_NE(handOff.lastChild, 0u) << "the hand-off did not start its copy";
    ASSERT_EQ(handOff.children, std::vector<DWORD>{handOff.lastChild});

    DWORD child = 0;
    EXPECT_NE(lib.FindProcessChild(handOff.pid, &child), FALSE);
    EXPECT_EQ(child, handOff.lastChild);
    EXPECT_EQ(lib.FindProcessChild(handOff.pid, nullptr), FALSE) << "null out-pointer";

    // Switched off it finds nothing, and leaves the out-value alone.
    ASSERT_NE(lib.EnableFunctionAddress(FALSE), FALSE);
    child = 12345;
    EXPECT_EQ(lib.FindProcessChild(handOff.pid, &child), FALSE);
    EXPECT_EQ(child, 12345u);
    ASSERT_NE(lib.EnableFunctionAddress(TRUE), FALSE);
    child = 0;
    EXPECT_NE(lib.FindProcessChild(handOff.pid, &child), FALSE) << "switched on again";
    EXPECT_EQ(child, handOff.lastChild);

    // Once the copy has ended there is nothing, though we still hold its handle.
    ASSERT_TRUE(lingering.ReleaseAndWait());
    child = 12345;
    EXPECT_EQ(lib.FindProcessChild(handOff.pid, &child), FALSE);
    EXPECT_EQ(child, 12345u);
}

TEST_F(FindProcessChild, OfSeveralTheNewest) {
    Lingering lingering;
    HandOff handOff = RunHandOff(lingering, 2);
    ASSERT_NE(handOff.lastChild, 0u);
    ASSERT_EQ(handOff.children.size(), 2u);
    DWORD child = 0;
    EXPECT_NE(lib.FindProcessChild(handOff.pid, &child), FALSE);
    EXPECT_EQ(child, handOff.lastChild) << "the copy started second";
}

TEST_F(FindProcessChild, NoChildNoAnswer) {
    Lingering lingering;
    HandOff handOff = RunHandOff(lingering, 0);
    ASSERT_NE(handOff.pid, 0u);
    EXPECT_TRUE(handOff.children.empty());
    DWORD child = 12345;
    EXPECT_EQ(lib.FindProcessChild(handOff.pid, &child), FALSE);
    EXPECT_EQ(child, 12345u);
}

TEST_F(FindProcessChild, NeverTheCaller) {
    // Asked by a child of ours about us, the library skips the caller itself
    // and answers its sibling, then nothing once the sibling has ended.
    Lingering lingering;
    Process sibling;
    ASSERT_TRUE(sibling.Start(HelperPath(), HelperCommand("linger " + lingering.eventName())));
    ASSERT_TRUE(lingering.Adopt(sibling.Id()));
    const std::string ask =
        HelperCommand("ask \"" + lib.path() + "\" " + std::to_string(GetCurrentProcessId()));
    EXPECT_EQ(RunToEnd(ask), sibling.Id());

    // In this process the sibling is a child of the caller, which is fine.
    DWORD child = 0;
    EXPECT_NE(lib.FindProcessChild(GetCurrentProcessId(), &child), FALSE);
    EXPECT_EQ(child, sibling.Id());

    ASSERT_TRUE(lingering.ReleaseAndWait());
    EXPECT_EQ(RunToEnd(ask), kAskNone);

    // Whatever our parent has as children, we are never one of the answers.
    DWORD parent = velmora::probe::ParentProcessId();
    child = 0;
    if (lib.FindProcessChild(parent, &child)) {
        EXPECT_NE(child, GetCurrentProcessId());
        EXPECT_NE(child, parent);
    }
}

// A hidden top-level window of this thread, destroyed at the end.
std::string OwnExePath() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    return std::string(path, n);
}

TEST(GetProgramNameFromHandle, OwnWindowGivesThisProgram) {
    Library lib("Trapline.dll");
    ASSERT_NE(lib.GetProgramNameFromHandle, nullptr);
    TestWindow window;
    ASSERT_NE(window.hwnd(), nullptr);

    char name[MAX_PATH];
    ASSERT_NE(lib.GetProgramNameFromHandle(window.hwnd(), name, sizeof name), FALSE);
    EXPECT_TRUE(SamePath(name, OwnExePath())) << name << " vs " << OwnExePath();

    // An exact fit works; one byte less fails and leaves an empty string.
    const DWORD length = static_cast<DWORD>(std::string(name).size());
    std::vector<char> exact(length + 1, 'x');
    EXPECT_NE(lib.GetProgramNameFromHandle(window.hwnd(), exact.data(), length + 1), FALSE);
    EXPECT_EQ(std::string(exact.data()), std::string(name));
    std::vector<char> small(length + 1, 'x');
    EXPECT_EQ(lib.GetProgramNameFromHandle(window.hwnd(), small.data(), length), FALSE);
    EXPECT_EQ(small[0], '\0');
    EXPECT_EQ(small[length], 'x') << "wrote past the size it was given";
    char one = 'x';
    EXPECT_EQ(lib.GetProgramNameFromHandle(window.hwnd(), &one, 1), FALSE);
    EXPECT_EQ(one, '\0');
    char untouched = 'x';
    EXPECT_EQ(lib.GetProgramNameFromHandle(window.hwnd(), &untouched, 0), FALSE);
    EXPECT_EQ(untouched, 'x') << "size 0";
    EXPECT_EQ(lib.GetProgramNameFromHandle(window.hwnd(), nullptr, MAX_PATH), FALSE);

    // It does not depend on the library being switched on.
    ASSERT_NE(lib.EnableFunctionAddress(FALSE), FALSE);
    EXPECT_NE(lib.GetProgramNameFromHandle(window.hwnd(), name, sizeof name), FALSE);
}

TEST(GetProgramNameFromHandle, BadWindowsFail) {
    Library lib("Trapline.dll");
    ASSERT_NE(lib.GetProgramNameFromHandle, nullptr);
    char name[MAX_PATH] = "x";
    EXPECT_EQ(lib.GetProgramNameFromHandle(nullptr, name, sizeof name), FALSE);
    EXPECT_EQ(name[0], '\0');

    HWND gone;
    {
        TestWindow window;
        gone = window.hwnd();
        ASSERT_NE(gone, nullptr);
    }
    ASSERT_FALSE(IsWindow(gone));
    name[0] = 'x';
    EXPECT_EQ(lib.GetProgramNameFromHandle(gone, name, sizeof name), FALSE);
    EXPECT_EQ(name[0], '\0');
}

TEST(GetProgramNameFromHandle, WindowOfAnotherProcess) {
    Library lib("Trapline.dll");
    ASSERT_NE(lib.GetProgramNameFromHandle, nullptr);
    Lingering lingering;
    Process helper;
    ASSERT_TRUE(helper.Start(HelperPath(), HelperCommand("window " + lingering.eventName())));
    ASSERT_TRUE(lingering.Adopt(helper.Id()));
    HWND window = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            for (HWND hwnd : TopLevelWindowsOf(helper.Id()))
                if (WindowText(hwnd) == kHelperWindowTitle) window = hwnd;
            return window != nullptr;
        },
        20000));

    char name[MAX_PATH];
    ASSERT_NE(lib.GetProgramNameFromHandle(window, name, sizeof name), FALSE);
    EXPECT_TRUE(SamePath(name, HelperPath())) << name;

    ASSERT_TRUE(lingering.ReleaseAndWait());
    EXPECT_EQ(lib.GetProgramNameFromHandle(window, name, sizeof name), FALSE)
        << "the window went with its process";
}

// The hook's notifications arrive at a message-only window of this thread.
}  // namespace
