// What the end-to-end run cannot see of the window: places, font, lists, tab order.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>

#include "app/frm_music.h"
#include "ui/win32/main_window.h"

namespace orvando::win32 {
namespace {

TEST(Window, ControlsFontListsAndTabOrder) {
    // Every stock track but the last: an error state, both buttons shown.
    struct : FileServices {
        bool fileExists(const std::string& path) override {
            return path != kStockNames.back() && path.find(".original.") == std::string::npos;
        }
        std::optional<RenameError> renameNoReplace(const std::string&,
                                                   const std::string&) override {
            return RenameError{};
        }
    } folder;
    MainWindow window(GetModuleHandleW(nullptr), [](auto&&...) { ADD_FAILURE() << "a box"; });
    ASSERT_TRUE(window.create());
    frmMusic form(window, folder);
    window.attach(form);
    ASSERT_TRUE(window.load());
    window.show();
    EXPECT_TRUE(GetWindowLongW(window.hwnd(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(GetWindowLongW(window.hwnd(), GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX));

    const int dpi = static_cast<int>(window.dpi());
    const struct {
        Control control;
        int left, top, width, height;  // pixels at 96 dpi; the portraits keep their size
        bool visible;
    } places[] = {{Control::rename, 72, 16, 137, 57, true},
                  {Control::unrename, 72, 88, 137, 57, true},
                  {Control::originalname, 240, 16, 281, 56, false},
                  {Control::modname, 240, 80, 281, 56, false},
                  {Control::cmdErrorHelp, 72, 160, 137, 33, true},
                  {Control::Image1, 0, 0, 48, 48, true},
                  {Control::Image2, 0, 144, 48, 48, true}};
    for (const auto& p : places) {
        const HWND hwnd = window.control(p.control);
        const bool picture = p.control == Control::Image1 || p.control == Control::Image2;
        const int sizeDpi = picture ? 96 : dpi;
        RECT r{};
        GetWindowRect(hwnd, &r);
        MapWindowPoints(nullptr, window.hwnd(), reinterpret_cast<POINT*>(&r), 2);
        SCOPED_TRACE(static_cast<int>(p.control));
        EXPECT_EQ(
            (std::array{r.left, r.top, r.right - r.left, r.bottom - r.top}),
            (std::array<LONG, 4>{MulDiv(p.left, dpi, 96), MulDiv(p.top, dpi, 96),
                                 MulDiv(p.width, sizeDpi, 96), MulDiv(p.height, sizeDpi, 96)}));
        EXPECT_EQ(IsWindowVisible(hwnd) != FALSE, p.visible);
        EXPECT_TRUE(!picture || SendMessageW(hwnd, STM_GETICON, 0, 0)) << "no picture";
    }

    LOGFONTW font{};
    const HWND help = window.control(Control::cmdErrorHelp);
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(help, WM_GETFONT, 0, 0)), sizeof(font), &font);
    EXPECT_STREQ(font.lfFaceName, L"Arial");
    EXPECT_TRUE(font.lfItalic);
    EXPECT_EQ(font.lfHeight, -MulDiv(9, dpi, 72));

    for (const auto& [list, box] : {std::pair{ListName::originalname, Control::originalname},
                                    std::pair{ListName::modname, Control::modname}}) {
        EXPECT_FALSE(GetWindowLongW(window.control(box), GWL_STYLE) & LBS_SORT);
        ASSERT_EQ(SendMessageW(window.control(box), LB_GETCOUNT, 0, 0), frmMusic::ListCount(list));
        for (std::int16_t i = 0; i < frmMusic::ListCount(list); ++i) {
            wchar_t item[128] = {};
            SendMessageW(window.control(box), LB_GETTEXT, i, reinterpret_cast<LPARAM>(item));
            const std::string_view expected = frmMusic::List(list, i);
            EXPECT_EQ(item, std::wstring(expected.begin(), expected.end()));
        }
    }

    HWND at = GetFocus();
    for (const Control c :
         {Control::rename, Control::unrename, Control::cmdErrorHelp, Control::rename}) {
        EXPECT_EQ(at, window.control(c));
        at = GetNextDlgTabItem(window.hwnd(), at, FALSE);
    }
}

}  // namespace
}  // namespace orvando::win32
