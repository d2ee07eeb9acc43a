// What the end-to-end run cannot see of the window: style, layout in the system's message font,
// pictures. It sees the rest: place, the keyboard, the boxes.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <string>

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

// In the message font the system reports: its own, then one as wide as Segoe UI 9 pt or wider.
// One process for both, so that no other window takes the foreground meanwhile.
void labelsWholePicturesFilled(const wchar_t* font) {
    NONCLIENTMETRICSW system{};
    system.cbSize = sizeof system;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof system, &system, 0));
    NONCLIENTMETRICSW wide = system;
    if (*font) {
        lstrcpynW(wide.lfMessageFont.lfFaceName, font, LF_FACESIZE);
        wide.lfMessageFont.lfHeight = -MulDiv(9, GetDeviceCaps(GetDC(nullptr), LOGPIXELSY), 72);
    }
    SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof wide, &wide, 0);
    MainWindow window(GetModuleHandleW(nullptr));
    frmMusic form(window, folder);
    window.attach(form);
    ASSERT_TRUE(window.create() && window.load());
    window.show();
    SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof system, &system, 0);
    EXPECT_TRUE(GetWindowLongW(window.hwnd(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(GetWindowLongW(window.hwnd(), GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX));

    // The design's places in pixels at 96 dpi, grown alike; each label whole inside the frame
    // and focus rectangle (4 pixels a side at 96 dpi); each picture an icon as large as its place.
    const double k = window.layout().pixelsPerTwip() * 15;
    const int dpi = static_cast<int>(window.dpi());
    const int places[kShownCount][3] = {
        {72, 16, 137}, {72, 88, 137}, {72, 160, 137}, {0, 0, 48}, {0, 144, 48}};
    for (int i = 0; i < kShownCount; ++i) {
        const HWND control = window.control(static_cast<Shown>(i));
        RECT r{};
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, window.hwnd(), reinterpret_cast<POINT*>(&r), 2);
        EXPECT_NEAR(r.left, places[i][0] * k, 1) << "control " << i;
        EXPECT_NEAR(r.top, places[i][1] * k, 1) << "control " << i;
        EXPECT_NEAR(r.right - r.left, places[i][2] * k, 2) << "control " << i;
        if (i < kButtonCount) {
            wchar_t label[64]{};
            const int length = GetWindowTextW(control, label, 64);
            const HDC dc = GetDC(control);
            SelectObject(dc, HGDIOBJ(SendMessageW(control, WM_GETFONT, 0, 0)));
            SIZE text{};
            GetTextExtentPoint32W(dc, label, length, &text);
            ReleaseDC(control, dc);
            EXPECT_LE(text.cx + MulDiv(8, dpi, 96), r.right - r.left) << "control " << i;
        } else {
            ICONINFO info{};
            BITMAP bitmap{};
            ASSERT_TRUE(GetIconInfo(HICON(SendMessageW(control, STM_GETICON, 0, 0)), &info));
            GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            EXPECT_EQ(bitmap.bmWidth, r.right - r.left) << "control " << i;
        }
    }
    LOGFONTW lf{};  // Arial, 9 points, italic, normal weight
    GetObjectW(HFONT(SendMessageW(window.control(Shown::cmdErrorHelp), WM_GETFONT, 0, 0)),
               sizeof lf, &lf);
    EXPECT_TRUE(std::wstring(lf.lfFaceName) == L"Arial" && lf.lfItalic &&
                lf.lfWeight == FW_NORMAL && lf.lfHeight == -MulDiv(9, dpi, 72));
}

TEST(Window, LabelsWholePicturesFilled) {
    for (const wchar_t* font : {L"", L"DejaVu Sans"}) {
        SCOPED_TRACE(font);
        labelsWholePicturesFilled(font);
    }
}

}  // namespace orvando::win32
