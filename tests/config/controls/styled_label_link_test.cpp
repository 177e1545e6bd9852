// Link labels clicked with the real mouse: what they open is caught by a
// probe program registered as the handler of the address schemes, and what
// they tell the parent is caught by the dialog.
#include "config/controls/styled_label.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/config/controls/label_test_dialog.h"
#include "tests/support/url_scheme.h"
#include "tests/support/win_test_support.h"

using labeltest::Notification;
using labeltest::TestDialog;

namespace {

using vtest::ReadOpenedAddresses;
using vtest::ScopedUrlScheme;

int RunningProbes() { return vtest::RunningProcesses("link_probe.exe"); }

// Where in the dialog's record a control's STN_CLICKED is, or -1.
int ClickedAt(const TestDialog& dialog, HWND control) {
    for (size_t i = 0; i < dialog.m_notifications.size(); ++i) {
        const Notification& n = dialog.m_notifications[i];
        if (n.message == WM_COMMAND && n.from == control && HIWORD(n.wParam) == STN_CLICKED)
            return static_cast<int>(i);
    }
    return -1;
}

TEST(StyledLabelLinks, WebMailAndNotifyClicks) {
    vtest::TempDir dir("lnk");
    const std::string log = dir / "opened.log";
    vtest::ScopedEnv logVariable("VELMORA_LINK_PROBE_LOG", log);
    const std::string command = vtest::LinkProbeCommand();
    ScopedUrlScheme web("velmoralink", command);
    ScopedUrlScheme mail("mailto", command);
    ASSERT_TRUE(web.ok());
    ASSERT_TRUE(mail.ok());

    CStyledLabel labels[6];
    TestDialog dialog({
        {101, SS_LEFT, "velmoralink:window-text", {10, 10, 290, 40}},
        {102, SS_LEFT, "shown, not opened", {10, 50, 290, 80}},
        {103, SS_LEFT, "someone@example.org", {10, 90, 290, 120}},
        {104, SS_LEFT, "velmoralink:notify-web", {10, 130, 290, 160}},
        {105, SS_LEFT, "notify@example.org", {10, 170, 290, 200}},
        // No link: the item asks for the mouse itself.
        {106, SS_LEFT | SS_NOTIFY, "velmoralink:plain", {10, 210, 290, 240}},
    });
    for (int i = 0; i < 6; ++i) dialog.Bind(101 + i, labels[i]);
    ASSERT_TRUE(dialog.Create());
    labels[0].SetWebLink(TRUE);
    labels[1].SetWebLink(TRUE).SetLinkTarget("velmoralink:the-target");
    labels[2].SetMailLink(TRUE).SetLinkTarget("velmoralink:never-for-mail");
    labels[3].SetWebLink(TRUE, TRUE);
    labels[4].SetMailLink(TRUE, TRUE).SetLinkTarget("velmoralink:never");
    labels[5].SetLinkTarget("velmoralink:no-link-kind");
    const HCURSOR hand = LoadCursor(nullptr, IDC_HAND);
    for (CStyledLabel& label : labels) label.SetHoverCursor(hand);

    struct Case {
        int index;
        const char* opens;  // null: nothing opens
        bool notifies;
    };
    const Case cases[] = {
        {0, "velmoralink:window-text", false},  // empty target: the window text
        {1, "velmoralink:the-target", false},
        {2, "mailto:someone@example.org", false},  // the target is not used
        {3, nullptr, true},
        {4, nullptr, true},
        {5, nullptr, false},
    };
    size_t openedSoFar = 0;
    for (const Case& c : cases) {
        HWND hwnd = labels[c.index].m_hWnd;
        SCOPED_TRACE(vtest::WindowText(hwnd));
        dialog.m_notifications.clear();
        ASSERT_TRUE(vtest::ClickMiddleOf(hwnd));
        // The click went on to the static control, which reports it: by
        // then the label has done all it does with a click.
        ASSERT_TRUE(vtest::WaitUntil([&] { return ClickedAt(dialog, hwnd) >= 0; }, 10000));
        // The mouse is over the label: its hover cursor shows.
        EXPECT_EQ(GetCursor(), hand);

        int notifyAt = -1;
        for (size_t i = 0; i < dialog.m_notifications.size(); ++i)
            if (dialog.m_notifications[i].message == WM_NOTIFY) notifyAt = static_cast<int>(i);
        if (c.notifies) {
            ASSERT_GE(notifyAt, 0);
            const Notification& n = dialog.m_notifications[notifyAt];
            EXPECT_EQ(n.wParam, static_cast<WPARAM>(101 + c.index));
            EXPECT_EQ(n.header.hwndFrom, hwnd);
            EXPECT_EQ(n.header.idFrom, static_cast<UINT_PTR>(101 + c.index));
            EXPECT_EQ(n.header.code, 0x8200u);
            EXPECT_EQ(n.header.code, LN_CLICKED);
            EXPECT_LT(notifyAt, ClickedAt(dialog, hwnd));  // first the label, then the default
        } else {
            EXPECT_EQ(notifyAt, -1);
        }

        if (c.opens) {
            ASSERT_TRUE(vtest::WaitUntil([&] { return ReadOpenedAddresses(log).size() > openedSoFar; },
                                         15000));
            auto opened = ReadOpenedAddresses(log);
            ASSERT_EQ(opened.size(), openedSoFar + 1);
            EXPECT_EQ(opened.back().address, c.opens);
            vtest::OpenedProcess probe(opened.back().pid);
            EXPECT_TRUE(probe.WaitForExit(15000));
            openedSoFar = opened.size();
        } else {
            // The shell starts a handler before ShellExecute returns: had the
            // click opened anything, its probe would be running or logged.
            EXPECT_EQ(RunningProbes(), 0);
            EXPECT_EQ(ReadOpenedAddresses(log).size(), openedSoFar);
        }
    }
    EXPECT_TRUE(vtest::WaitUntil([] { return RunningProbes() == 0; }, 15000));
}

}  // namespace
