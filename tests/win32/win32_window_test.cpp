// What the end-to-end run cannot see of the window: style, places, font, lists, tab order.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>

#include "app/frm_music.h"
#include "ui/win32/main_window.h"

namespace orvando::win32 {

// Every stock track but the last, no backup: an error state, both buttons shown.
struct : FileServices {
    bool fileExists(const std::string& path) override {
        return path != kStockNames.back() && !path.ends_with(".original.wav");
    }
    std::optional<RenameError> renameNoReplace(const std::string&, const std::string&) override {
        return RenameError{};
    }
} folder;

TEST(Window, StylePlacesFontListsAndTabOrder) {
    using enum Control;
    MainWindow window(GetModuleHandleW(nullptr));  // a box would block it until ctest's timeout
    frmMusic form(window, folder);
    window.attach(form);
    ASSERT_TRUE(window.create() && window.load());
    window.show();
    EXPECT_TRUE(GetWindowLongW(window.hwnd(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(GetWindowLongW(window.hwnd(), GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX));

    const int dpi = static_cast<int>(window.dpi());  // places: by Control, pixels at 96 dpi, shown
    const auto px = [&](int v) { return v == 48 ? v : MulDiv(v, dpi, 96); };  // portraits keep 48
    const int places[][5] = {{72, 16, 137, 57, 1},  {72, 88, 137, 57, 1},  {240, 16, 281, 56, 0},
                             {240, 80, 281, 56, 0}, {72, 160, 137, 33, 1}, {0, 0, 48, 48, 1},
                             {0, 144, 48, 48, 1}};
    for (int i = 0; i < kControlCount; ++i) {
        const auto [left, top, width, height, shown] = places[i];
        const HWND hwnd = window.control(static_cast<Control>(i));
        RECT r{};
        GetWindowRect(hwnd, &r);
        MapWindowPoints(nullptr, window.hwnd(), reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(
            (std::array<LONG, 6>{r.left, r.top, r.right - r.left, r.bottom - r.top,
                                 IsWindowVisible(hwnd),
                                 SendMessageW(hwnd, STM_GETICON, 0, 0) != 0}),
            (std::array<LONG, 6>{px(left), px(top), px(width), px(height), shown, width == 48}));
    }
    // Tab from the focused first button visits the shown buttons in order.
    for (HWND tab = GetFocus(); const Control c : {rename, unrename, cmdErrorHelp, rename})
        EXPECT_EQ(window.control(c),
                  std::exchange(tab, GetNextDlgTabItem(window.hwnd(), tab, FALSE)));

    LOGFONTW lf{};  // Arial, 9 points, italic, normal weight
    GetObjectW(HFONT(SendMessageW(window.control(cmdErrorHelp), WM_GETFONT, 0, 0)), sizeof lf, &lf);
    EXPECT_TRUE(std::wstring(lf.lfFaceName) == L"Arial" && lf.lfItalic &&
                lf.lfWeight == FW_NORMAL && lf.lfHeight == -MulDiv(9, dpi, 72));
}

}  // namespace orvando::win32
