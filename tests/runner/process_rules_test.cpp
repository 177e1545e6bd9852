// The runner's pure rules beside the choice of the next entry: the show
// time, how a child is closed on each Windows line, the command line and
// working folder of a start, the hand-off process, the rotation list's keys.
#include <gtest/gtest.h>

#include "runner/close_method.h"
#include "runner/hand_off_rule.h"
#include "runner/next_choice.h"
#include "runner/process_rules.h"
#include "runner/show_time.h"

namespace {

using namespace velmora::process;

TEST(ProcessRules, CommandLineAndWorkingFolder) {
    EXPECT_EQ(CommandLineFor("C:\\WINDOWS\\SYSTEM32\\AURORA.SCR", " /s"),
              "C:\\WINDOWS\\SYSTEM32\\AURORA.SCR /s");
    // A long path given back for a volume without 8.3 names stays one argument.
    EXPECT_EQ(CommandLineFor("D:\\My Savers\\Deep Sea.scr", " /c:1234"),
              "\"D:\\My Savers\\Deep Sea.scr\" /c:1234");
    EXPECT_EQ(CommandLineFor("x.scr", ""), "x.scr");

    EXPECT_EQ(WorkingFolderOf("C:\\WINDOWS\\SYSTEM32\\AURORA.SCR"), "C:\\WINDOWS\\SYSTEM32");
    EXPECT_EQ(WorkingFolderOf("D:\\My Savers\\Deep Sea.scr"), "D:\\My Savers");
    // A drive root keeps its backslash: "C:" alone names the drive's current folder.
    EXPECT_EQ(WorkingFolderOf("C:\\A.SCR"), "C:\\");
    EXPECT_EQ(WorkingFolderOf("\\\\server\\share\\a.scr"), "\\\\server\\share");
    EXPECT_EQ(WorkingFolderOf("A.SCR"), "");
    EXPECT_EQ(WorkingFolderOf(""), "");

    // 0x95 0x5C is one double-byte character whose trail byte is a backslash.
    auto lead = [](unsigned char c) { return c >= 0x81 && c <= 0x9F; };
    const std::string sjis = "C:\\SAVERS\\\x95\x5C.scr";
    EXPECT_EQ(WorkingFolderOf(sjis, lead), "C:\\SAVERS");
    EXPECT_EQ(WorkingFolderOf("C:\\\x95\x5C", lead), "C:\\");
    EXPECT_EQ(WorkingFolderOf("C:\\\x95", lead), "C:\\") << "a lead byte at the end";
}

using velmora::handoff::ChildLife;
using velmora::handoff::ChooseHandOff;
using velmora::handoff::CreatedWhileRunning;
using velmora::handoff::ProcessRecord;

TEST(HandOffRule, OnlyAProcessCreatedWhileTheChildRan) {
    const ChildLife child{100, 5000, 9000};
    EXPECT_TRUE(CreatedWhileRunning(child, 5000));
    EXPECT_TRUE(CreatedWhileRunning(child, 7000));
    EXPECT_TRUE(CreatedWhileRunning(child, 9000));
    EXPECT_FALSE(CreatedWhileRunning(child, 4999)) << "older than the child";
    EXPECT_FALSE(CreatedWhileRunning(child, 9001)) << "started after the child ended";
    EXPECT_FALSE(CreatedWhileRunning(child, 0)) << "times unknown";
    EXPECT_FALSE(CreatedWhileRunning(ChildLife{100, 0, 9000}, 7000)) << "child unknown";

    // An old process that records a former owner of id 100 as its parent, the
    // real hand-off, one started later by a new owner of the id, and others.
    const std::vector<ProcessRecord> snapshot = {
        {40, 100, 1000, true},   // older than the child: reused id
        {44, 100, 6000, true},   // the hand-off
        {48, 100, 9500, true},   // younger than the child's end
        {52, 8, 7000, true},     // someone else's
        {56, 100, 6500, false},  // ended already
        {60, 100, 0, true},      // cannot be asked
        {100, 100, 5000, true},  // the child itself
        {7, 100, 6800, true},    // the asker
    };
    uint32_t found = 0;
    ASSERT_TRUE(ChooseHandOff(snapshot, child, 7, found));
    EXPECT_EQ(found, 44u);

    // Only the old one: nothing to wait for.
    found = 12345;
    EXPECT_FALSE(ChooseHandOff({snapshot[0], snapshot[2], snapshot[5]}, child, 7, found));
    EXPECT_EQ(found, 12345u);

    // Of two, the newer; on a tie, the first in snapshot order.
    std::vector<ProcessRecord> two = {{64, 100, 6000, true}, {68, 100, 8000, true},
                                      {72, 100, 8000, true}};
    ASSERT_TRUE(ChooseHandOff(two, child, 7, found));
    EXPECT_EQ(found, 68u);
}

TEST(RotationList, ListedEntryKeys) {
    EXPECT_TRUE(IsListedEntryKey("Scr0", 1));
    EXPECT_TRUE(IsListedEntryKey("scr2", 3));
    EXPECT_TRUE(IsListedEntryKey("SCR10", 11));
    EXPECT_FALSE(IsListedEntryKey("Scr3", 3)) << "beyond the count";
    EXPECT_FALSE(IsListedEntryKey("Scr0", 0));
    EXPECT_FALSE(IsListedEntryKey("Scr01", 5)) << "the picker never reads a leading zero";
    EXPECT_FALSE(IsListedEntryKey("Scr-1", 5));
    EXPECT_FALSE(IsListedEntryKey("Scr", 5));
    EXPECT_FALSE(IsListedEntryKey("Scr1x", 5));
    EXPECT_FALSE(IsListedEntryKey("nScr", 5));
    EXPECT_FALSE(IsListedEntryKey("Sc", 5));
    EXPECT_FALSE(IsListedEntryKey("", 5));
    EXPECT_FALSE(IsListedEntryKey(nullptr, 5));
    EXPECT_FALSE(IsListedEntryKey("Scr99999999999999999999", 2147483647));
    EXPECT_TRUE(IsListedEntryKey("Scr2147483646", 2147483647));
}

TEST(RunOptions, ShowTimeAndCloseMethod) {
    EXPECT_EQ(ShowTimeMinutes(0), 15);
    EXPECT_EQ(ShowTimeMinutes(-7), 15);
    EXPECT_EQ(ShowTimeMinutes(1), 1);
    EXPECT_EQ(ShowTimeMinutes(5), 5);
    EXPECT_EQ(ShowTimeMinutes(10000), 10000);
    EXPECT_EQ(ShowTimeMinutes(10001), 10000);
    EXPECT_EQ(ShowTimeMinutes(2147483647), 10000);

    EXPECT_EQ(CloseMethodFor(false, 4, 10), CloseMethod::CloseForegroundWindow);  // 98
    EXPECT_EQ(CloseMethodFor(false, 4, 90), CloseMethod::CloseForegroundWindow);  // Me
    EXPECT_EQ(CloseMethodFor(true, 4, 0), CloseMethod::CloseScreenSaverDesktop);  // NT 4
    EXPECT_EQ(CloseMethodFor(true, 5, 0), CloseMethod::CloseScreenSaverDesktop);  // 2000
    EXPECT_EQ(CloseMethodFor(true, 6, 0), CloseMethod::CloseScreenSaverDesktop);  // Vista
    EXPECT_EQ(CloseMethodFor(true, 5, 1), CloseMethod::CloseChildWindows);         // XP
    EXPECT_EQ(CloseMethodFor(true, 6, 1), CloseMethod::CloseChildWindows);         // 7
    EXPECT_EQ(CloseMethodFor(true, 10, 0), CloseMethod::CloseScreenSaverDesktop); // 10
}

}  // namespace
