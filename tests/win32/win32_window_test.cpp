// The Windows window over an in-memory game folder: its designed layout and
// controls, what the load event leaves on screen, the keyboard (Tab, Enter,
// Escape), and the boxes and end of the program as the window delivers them.
// Message boxes are recorded instead of shown.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "app/frm_music.h"
#include "support/game_folders.h"
#include "support/memory_folder.h"
#include "ui/win32/main_window.h"

namespace orvando::win32 {
namespace {

using testing::MemoryFolder;

std::wstring textOf(HWND hwnd) {
    wchar_t buffer[512] = {};
    GetWindowTextW(hwnd, buffer, 512);
    return buffer;
}

LONG styleOf(HWND hwnd) {
    return GetWindowLongW(hwnd, GWL_STYLE);
}

bool hasStyle(HWND hwnd, LONG style) {
    return (styleOf(hwnd) & style) == style;
}

// Removes whatever an earlier test left in the thread's queue, the quit
// message included.
struct EmptyQueue {
    EmptyQueue() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
};

struct Box {
    std::wstring text;
    std::wstring title;
    UINT flags;
    bool windowOnScreen;  // at the moment the box was shown
    bool actionButtonsEnabled;
};

class Window : public ::testing::Test {
  protected:
    Window() {
        created_ = window.create();
        window.attach(form);
    }

    void SetUp() override { ASSERT_TRUE(created_); }

    HWND hwnd() const { return window.hwnd(); }
    HWND control(Control c) const { return window.control(c); }
    int scaled(int pixelsAt96) const {
        return MulDiv(pixelsAt96, static_cast<int>(window.dpi()), 96);
    }

    RECT placeOf(Control c) const {
        RECT rect{};
        GetWindowRect(control(c), &rect);
        MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    // Delivers the queued messages as the program's loop would; returns the
    // exit status when the program ended.
    std::optional<int> pump() {
        std::optional<int> quit;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quit = static_cast<int>(message.wParam);
            } else if (!window.preTranslate(message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        return quit;
    }

    // A key pressed while `target` has the focus.
    std::optional<int> press(Control target, WPARAM key) {
        SetFocus(control(target));
        PostMessageW(control(target), WM_KEYDOWN, key, 1);
        PostMessageW(control(target), WM_KEYUP, key, 0xC0000001);
        return pump();
    }

    std::optional<int> click(Control button) {
        SendMessageW(control(button), BM_CLICK, 0, 0);
        return pump();
    }

    void recordBox(const std::wstring& text, const std::wstring& title, UINT flags) {
        const HWND main = window.hwnd();
        boxes.push_back({text, title, flags, main != nullptr && IsWindowVisible(main) != FALSE,
                         main != nullptr && (IsWindowEnabled(control(Control::rename)) ||
                                             IsWindowEnabled(control(Control::unrename)))});
    }

    EmptyQueue emptyQueue_;
    MemoryFolder folder;
    std::vector<Box> boxes;
    MainWindow window{GetModuleHandleW(nullptr),
                      [this](const std::wstring& text, const std::wstring& title, UINT flags) {
                          recordBox(text, title, flags);
                      }};
    frmMusic form{window, folder};
    bool created_ = false;
};

// --- the designed window ----------------------------------------------------

TEST_F(Window, IsAFixedToolWindowWithTheDesignedTitleAndSize) {
    EXPECT_EQ(textOf(hwnd()), L"Orvando v2");
    EXPECT_FALSE(IsWindowVisible(hwnd()));
    const LONG exStyle = GetWindowLongW(hwnd(), GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);
    EXPECT_TRUE(hasStyle(hwnd(), WS_CAPTION | WS_SYSMENU));
    for (const LONG absent : {WS_MINIMIZEBOX, WS_MAXIMIZEBOX, WS_THICKFRAME}) {
        EXPECT_FALSE(styleOf(hwnd()) & absent) << std::hex << absent;
    }
    RECT client{};
    GetClientRect(hwnd(), &client);
    EXPECT_EQ(client.right, scaled(547));
    EXPECT_EQ(client.bottom, scaled(206));
}

struct Placement {
    const char* name;
    Control control;
    int left, top, width, height;  // pixels at 96 dpi
};

void PrintTo(const Placement& p, std::ostream* os) {
    *os << p.name;
}

class Layout : public Window, public ::testing::WithParamInterface<Placement> {};

TEST_P(Layout, ControlsStandAtTheirDesignedPlaces) {
    const Placement& p = GetParam();
    const RECT rect = placeOf(p.control);
    const bool picture = p.control == Control::Image1 || p.control == Control::Image2;
    EXPECT_EQ(rect.left, scaled(p.left));
    EXPECT_EQ(rect.top, scaled(p.top));
    // The portraits keep their own size; everything else scales.
    EXPECT_EQ(rect.right - rect.left, picture ? p.width : scaled(p.width));
    EXPECT_EQ(rect.bottom - rect.top, picture ? p.height : scaled(p.height));
}

INSTANTIATE_TEST_SUITE_P(
    Designed, Layout,
    ::testing::Values(Placement{"rename", Control::rename, 72, 16, 137, 57},
                      Placement{"unrename", Control::unrename, 72, 88, 137, 57},
                      Placement{"originalname", Control::originalname, 240, 16, 281, 56},
                      Placement{"modname", Control::modname, 240, 80, 281, 56},
                      Placement{"cmdErrorHelp", Control::cmdErrorHelp, 72, 160, 137, 33},
                      Placement{"Image1", Control::Image1, 0, 0, 48, 48},
                      Placement{"Image2", Control::Image2, 0, 144, 48, 48}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(Window, ButtonsArePlainPushButtonsWithTheirTexts) {
    const std::map<Control, std::wstring> texts = {
        {Control::rename, L"Rename (Enable-Mod)"},
        {Control::unrename, L"Un-rename (Normal Music)"},
        {Control::cmdErrorHelp, L"Error Help"},
    };
    for (const auto& [button, text] : texts) {
        EXPECT_EQ(textOf(control(button)), text);
        // No default button: Enter must not reach a button without the focus.
        EXPECT_EQ(styleOf(control(button)) & BS_TYPEMASK, BS_PUSHBUTTON) << textOf(control(button));
        EXPECT_TRUE(hasStyle(control(button), WS_TABSTOP));
    }
    EXPECT_FALSE(hasStyle(control(Control::rename), WS_VISIBLE));
    EXPECT_FALSE(hasStyle(control(Control::unrename), WS_VISIBLE));
    EXPECT_TRUE(hasStyle(control(Control::cmdErrorHelp), WS_VISIBLE));
}

TEST_F(Window, ErrorHelpIsSetInArialNinePointItalic) {
    LOGFONTW help{};
    const auto font =
        reinterpret_cast<HFONT>(SendMessageW(control(Control::cmdErrorHelp), WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    ASSERT_NE(GetObjectW(font, sizeof(help), &help), 0);
    EXPECT_STREQ(help.lfFaceName, L"Arial");
    EXPECT_TRUE(help.lfItalic);
    EXPECT_EQ(help.lfWeight, FW_NORMAL);
    EXPECT_EQ(help.lfCharSet, ANSI_CHARSET);
    EXPECT_EQ(help.lfHeight, -MulDiv(9, static_cast<int>(window.dpi()), 72));

    LOGFONTW other{};
    const auto renameFont =
        reinterpret_cast<HFONT>(SendMessageW(control(Control::rename), WM_GETFONT, 0, 0));
    ASSERT_NE(renameFont, nullptr);
    GetObjectW(renameFont, sizeof(other), &other);
    EXPECT_FALSE(other.lfItalic);
}

TEST_F(Window, HiddenListsHoldTheCatalogueInItsStoredOrder) {
    for (const auto& [list, which] : {std::pair{ListName::originalname, Control::originalname},
                                      std::pair{ListName::modname, Control::modname}}) {
        const HWND box = control(which);
        EXPECT_FALSE(hasStyle(box, WS_VISIBLE));
        EXPECT_FALSE(styleOf(box) & LBS_SORT);
        ASSERT_EQ(SendMessageW(box, LB_GETCOUNT, 0, 0), 23);
        for (std::int16_t i = 0; i < 23; ++i) {
            wchar_t item[128] = {};
            SendMessageW(box, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item));
            const std::string_view expected = frmMusic::List(list, i);
            EXPECT_EQ(std::wstring(item), std::wstring(expected.begin(), expected.end()))
                << "item " << i;
        }
    }
    // Sorting would move these.
    wchar_t item[128] = {};
    SendMessageW(control(Control::originalname), LB_GETTEXT, 2, reinterpret_cast<LPARAM>(item));
    EXPECT_STREQ(item, L"streammusic\\mus_area_desert.wav");
    SendMessageW(control(Control::modname), LB_GETTEXT, 21, reinterpret_cast<LPARAM>(item));
    EXPECT_STREQ(item, L"streammusic\\mus_area_acad.original.wav");
}

TEST_F(Window, PicturesShowTheirPortraitsAtFortyEightPixels) {
    for (const Control picture : {Control::Image1, Control::Image2}) {
        EXPECT_TRUE(hasStyle(control(picture), SS_ICON));
        EXPECT_FALSE(hasStyle(control(picture), WS_TABSTOP));
        const auto icon =
            reinterpret_cast<HICON>(SendMessageW(control(picture), STM_GETICON, 0, 0));
        ASSERT_NE(icon, nullptr);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP mask{};
        GetObjectW(info.hbmMask, sizeof(mask), &mask);
        EXPECT_EQ(mask.bmWidth, 48);
        DeleteObject(info.hbmMask);
        if (info.hbmColor != nullptr) {
            BITMAP color{};
            GetObjectW(info.hbmColor, sizeof(color), &color);
            EXPECT_EQ(color.bmWidth, 48);
            EXPECT_EQ(color.bmHeight, 48);
            DeleteObject(info.hbmColor);
        }
    }
}

// --- what the load event leaves on screen ------------------------------------

void fillStock(MemoryFolder& folder) {
    testing::fillStockFolder(folder);
}
void fillEnabled(MemoryFolder& folder) {
    testing::fillEnabledFolder(folder);
}
void fillStockWithoutLastTrack(MemoryFolder& folder) {
    testing::fillStockFolder(folder);
    folder.remove("streammusic\\mus_theme_malak.wav");
}
void fillOnlyProbeBackup(MemoryFolder& folder) {
    folder.addFile("streammusic\\mus_area_desert.original.wav", "track");
}

struct LoadCase {
    const char* name;
    void (*fill)(MemoryFolder&);
    const wchar_t* caption;
    std::vector<Control> tabOrder;  // the visible buttons, focus first
};

void PrintTo(const LoadCase& c, std::ostream* os) {
    *os << c.name;
}

class Load : public Window, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(Load, ShowsTheStateAndTabsThroughTheVisibleButtons) {
    const LoadCase& c = GetParam();
    c.fill(folder);
    ASSERT_TRUE(window.load());
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(IsWindowVisible(hwnd())) << "shown before the load event was done";
    window.show();
    ASSERT_TRUE(IsWindowVisible(hwnd()));

    EXPECT_EQ(textOf(hwnd()), c.caption);
    RECT outer{};
    GetWindowRect(hwnd(), &outer);
    RECT client{};
    GetClientRect(hwnd(), &client);
    EXPECT_EQ(outer.right - outer.left, scaled(320));  // 4800 twips
    EXPECT_EQ(client.bottom, scaled(206));

    for (const Control button : {Control::rename, Control::unrename}) {
        const bool listed =
            std::find(c.tabOrder.begin(), c.tabOrder.end(), button) != c.tabOrder.end();
        EXPECT_EQ(IsWindowVisible(control(button)) != FALSE, listed);
    }
    ASSERT_EQ(GetFocus(), control(c.tabOrder.front()));
    HWND at = GetFocus();
    for (std::size_t i = 1; i <= c.tabOrder.size(); ++i) {
        at = GetNextDlgTabItem(hwnd(), at, FALSE);
        EXPECT_EQ(at, control(c.tabOrder[i % c.tabOrder.size()])) << "tab " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    States, Load,
    ::testing::Values(LoadCase{"NotEnabled",
                               fillStock,
                               L"Orvando v2 (Det: Not Enabled)",
                               {Control::rename, Control::cmdErrorHelp}},
                      LoadCase{"ModEnabled",
                               fillEnabled,
                               L"Orvando v2 (Det: Mod Enabled)",
                               {Control::unrename, Control::cmdErrorHelp}},
                      LoadCase{"ErrorRecRename",
                               fillStockWithoutLastTrack,
                               L"Orvando v2 (Det: Error, rec. Rename)",
                               {Control::rename, Control::unrename, Control::cmdErrorHelp}},
                      LoadCase{"ErrorRecUnrename",
                               fillOnlyProbeBackup,
                               L"Orvando v2 (Det: Error, rec. Un-rename)",
                               {Control::rename, Control::unrename, Control::cmdErrorHelp}}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(Window, OutsideAGameFolderOnlyTheFileErrorBoxAppears) {
    EXPECT_FALSE(window.load());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, L"File error");
    EXPECT_EQ(boxes[0].text, L"Place this EXE into the main KotOR folder");
    EXPECT_EQ(boxes[0].flags & MB_ICONMASK, static_cast<UINT>(MB_ICONINFORMATION));
    EXPECT_EQ(boxes[0].flags & MB_TYPEMASK, static_cast<UINT>(MB_OK));
    EXPECT_FALSE(boxes[0].windowOnScreen);
    EXPECT_EQ(hwnd(), nullptr) << "the window outlived the end of the program";
    EXPECT_EQ(pump(), 1);
}

// --- clicks and keys --------------------------------------------------------

TEST_F(Window, EscapeClicksNothingAndEnterOnlyTheFocusedButton) {
    testing::fillStockFolder(folder);
    const auto before = folder.files();
    ASSERT_TRUE(window.load());
    window.show();

    for (const Control focus : {Control::rename, Control::cmdErrorHelp}) {
        EXPECT_EQ(press(focus, VK_ESCAPE), std::nullopt);
    }
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(IsWindowVisible(hwnd()));
    EXPECT_EQ(folder.files(), before);

    // Enter on "Error Help" shows the help, and nothing else happens.
    EXPECT_EQ(press(Control::cmdErrorHelp, VK_RETURN), std::nullopt);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, L"How to manage an error");
    EXPECT_EQ(folder.files(), before);

    // Enter on "Rename (Enable-Mod)" runs the enable and ends the program.
    EXPECT_EQ(press(Control::rename, VK_RETURN), 0);
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(folder.fileExists("streammusic\\mus_area_desert.original.wav"));
    EXPECT_FALSE(folder.fileExists("streammusic\\mus_area_desert.wav"));
    EXPECT_EQ(hwnd(), nullptr);
}

TEST_F(Window, HelpShowsTheSameMessageEveryTimeAndChangesNothing) {
    fillOnlyProbeBackup(folder);
    const auto before = folder.files();
    ASSERT_TRUE(window.load());
    window.show();
    const std::wstring caption = textOf(hwnd());

    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(click(Control::cmdErrorHelp), std::nullopt);
    }
    ASSERT_EQ(boxes.size(), 3u);
    for (const Box& box : boxes) {
        EXPECT_EQ(box.title, L"How to manage an error");
        EXPECT_EQ(box.text,
                  L"The renaming function will report which file cannot be located and renamed. "
                  L"That file will be skipped and the process will continue. All you then have to "
                  L"do is manually rename the file to match the correct new name.");
        EXPECT_EQ(box.flags & MB_ICONMASK, static_cast<UINT>(MB_ICONINFORMATION));
        EXPECT_TRUE(box.flags & MB_TASKMODAL) << "the window would take clicks behind the box";
    }
    EXPECT_EQ(textOf(hwnd()), caption);
    EXPECT_TRUE(IsWindowVisible(control(Control::rename)));
    EXPECT_TRUE(IsWindowVisible(control(Control::unrename)));
    EXPECT_TRUE(IsWindowEnabled(control(Control::rename)));
    EXPECT_EQ(folder.files(), before);
}

TEST_F(Window, AnOperationsBoxesStandAloneWithTheWindowGone) {
    testing::fillStockFolder(folder);
    folder.remove("streamsounds\\mus_sbat_acad.mod.wav");
    ASSERT_TRUE(window.load());
    window.show();

    EXPECT_EQ(click(Control::rename), 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, L"File rename error");
    EXPECT_EQ(boxes[0].text,
              L"Cannot locate file: streamsounds\\mus_sbat_acad.mod.wav - Final name needs to be: "
              L"streamsounds\\mus_sbat_acad.wav .");
    EXPECT_EQ(boxes[0].flags & MB_ICONMASK, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_FALSE(boxes[0].windowOnScreen);
    EXPECT_FALSE(boxes[0].actionButtonsEnabled);
    EXPECT_TRUE(folder.fileExists("streamsounds\\mus_sbat_desert.wav"));  // moved in after it
    EXPECT_EQ(hwnd(), nullptr);
}

TEST_F(Window, ARefusedRenameEndsWithAnErrorBoxAndStatusOne) {
    testing::fillEnabledFolder(folder);
    folder.refuseRenameOf("streammusic\\mus_area_ahto.wav",
                          {RenameError::Kind::PermissionDenied, "permission denied"});
    ASSERT_TRUE(window.load());
    window.show();

    EXPECT_EQ(click(Control::unrename), 1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].flags & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(boxes[0].title, L"Orvando v2");
    EXPECT_NE(boxes[0].text.find(L"permission denied"), std::wstring::npos);
    EXPECT_EQ(hwnd(), nullptr);
}

TEST_F(Window, ClosingTheWindowRenamesNothing) {
    testing::fillStockFolder(folder);
    const auto before = folder.files();
    ASSERT_TRUE(window.load());
    window.show();

    SendMessageW(hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(pump(), 0);
    EXPECT_EQ(hwnd(), nullptr);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(folder.files(), before);
}

// A failure that escapes the logic must not unwind through the window
// procedure: it is reported once and ends the program.
class FailingFiles : public FileServices {
  public:
    bool fileExists(const std::string&) override { throw std::runtime_error("device not ready"); }
    std::optional<RenameError> renameNoReplace(const std::string&, const std::string&) override {
        return std::nullopt;
    }
};

TEST(WindowFailure, AnUnexpectedErrorIsReportedAndEndsTheProgram) {
    EmptyQueue emptyQueue;
    std::vector<std::wstring> texts;
    std::vector<UINT> flags;
    MainWindow window(GetModuleHandleW(nullptr),
                      [&](const std::wstring& text, const std::wstring&, UINT f) {
                          texts.push_back(text);
                          flags.push_back(f);
                      });
    ASSERT_TRUE(window.create());
    FailingFiles files;
    frmMusic form(window, files);
    window.attach(form);

    EXPECT_FALSE(window.load());
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].find(L"device not ready"), std::wstring::npos);
    EXPECT_EQ(flags[0] & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(window.exitStatus(), 1);
    EXPECT_EQ(window.hwnd(), nullptr);
}

}  // namespace
}  // namespace orvando::win32
