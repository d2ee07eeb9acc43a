// The program as the player meets it, on real folders through the platform's own file services:
// folder states and clicks, a switch stopped after each rename, the rename chain, the case rule.
// Names and texts are written out here, not taken from the program, so that one out of place shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <sstream>
#include <string_view>
#include <thread>

#include "app/frm_music.h"
#include "detection/detection.h"
#include "platform/name_match.h"
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/syscall.h>
#include <unistd.h>
#endif

// The system calls of a rename as the tests see them: unlinks of one name refused (as a sticky
// folder refuses another user's file), plain renames counted.
const char* gUnlinkRefused = nullptr;
int gPlainRenames = 0;
#ifndef _WIN32
extern "C" int unlinkat(int dir, const char* name, int flags) noexcept {
    if (gUnlinkRefused && std::string_view(name) == gUnlinkRefused)
        return errno = EPERM, -1;
    return int(::syscall(SYS_unlinkat, dir, name, flags));
}
extern "C" int renameat(int dir, const char* from, int toDir, const char* to) noexcept {
    ++gPlainRenames;
    return int(::syscall(SYS_renameat2, dir, from, toDir, to, 0));
}
#endif

namespace orvando {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;  // path with backslashes, content
using Log = std::vector<std::string>;

// A temporary folder, removed with all it holds. Names, with backslashes, are made in exactly their
// spelling: under Wine, whose folders tell case apart but Windows does not, through the Unix path.
struct TempFolder {
    explicit TempFolder(const Files& files = {}) {
        fs::create_directory(path = fs::temp_directory_path() /
                                    ("orvando-" + std::to_string(std::random_device{}())));
        real = path;
#ifdef _WIN32
        using UnixName = char*(__cdecl*)(const wchar_t*);
        const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
        if (char* p = unixName ? unixName(path.c_str()) : nullptr) {
            real = L"\\\\?\\unix" + fs::path(p).native();
            HeapFree(GetProcessHeap(), 0, p);
        }
#endif
        for (const auto& [name, content] : files)
            add(name, content);
    }
    ~TempFolder() {
        std::error_code ignored;
        for (const auto& e : fs::recursive_directory_iterator(path, ignored))
            fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(path, ignored);
    }
    fs::path exact(std::string name) const {
        std::replace(name.begin(), name.end(), '\\', '/');
        return real.native() + fs::path("/" + name).native();
    }
    // A file with that content, or without one a folder. False when no entry has exactly that
    // name, as on a file system blind to case when another spelling was there.
    bool add(const std::string& name, const std::optional<std::string>& content = {}) {
        const fs::path p = exact(name);
        fs::create_directories(p.parent_path());
        if (!(content ? bool(std::ofstream(p, std::ios::binary) << *content)
                      : fs::create_directory(p)))
            return false;
        const fs::directory_iterator entries(p.parent_path());
        return std::any_of(begin(entries), end(entries),
                           [&](const auto& e) { return e.path().filename() == p.filename(); });
    }
    Files files() const {
        Files out;
        for (const auto& e : fs::recursive_directory_iterator(path)) {
            std::string name = e.path().lexically_relative(path).generic_string();
            std::replace(name.begin(), name.end(), '/', '\\');
            if (e.is_regular_file())
                out[name] = (std::ostringstream() << std::ifstream(e.path()).rdbuf()).str();
        }
        return out;
    }
    fs::path path, real;
};

// The 23 tracks in catalogue order: rows 15 to 20 in streamsounds; rows 0, 15 to 20 replaced.
const char* const kTracks[] = {
    "area_ahto",    "area_cant1",   "area_desert",  "area_out",   "area_sewers", "area_sforge",
    "area_townint", "area_valsith", "bat_acad",     "bat_desert", "bat_malak",   "bat_sithbs",
    "bat_slehey",   "bat_valsith",  "theme_cult",   "sbat_acad",  "sbat_desert", "sbat_sforge",
    "sbat_sithbs",  "sbat_slehey",  "sbat_valsith", "area_acad",  "theme_malak"};
const int kReplaced[] = {0, 15, 16, 17, 18, 19, 20};

std::string track(int row, const char* suffix) {
    return std::string(row >= 15 && row <= 20 ? "streamsounds" : "streammusic") + "\\mus_" +
           kTracks[row] + suffix;
}
const auto stock = [](int row) { return track(row, ".wav"); };
const auto backup = [](int row) { return track(row, ".original.wav"); };
const auto mod = [](int row) { return track(row, ".mod.wav"); };
const auto upper = [](std::string s) {
    for (char& c : s)
        c = char(std::toupper(c));
    return s;
};
// In upper case, in its own folder.
const auto shout = [](const std::string& s) {
    return s.substr(0, s.find('\\')) + upper(s.substr(s.find('\\')));
};

// Rename `k` of the enable or the restore: (old name, final name).
std::pair<std::string, std::string> step(bool enable, int k) {
    if (enable)
        return k < 23 ? std::pair{stock(k), backup(k)}
                      : std::pair{mod(kReplaced[k - 23]), stock(kReplaced[k - 23])};
    return k < 7 ? std::pair{stock(kReplaced[k]), mod(kReplaced[k])}
                 : std::pair{backup(k - 7), stock(k - 7)};
}

// A rename: the exact name's file, else the one in any case, keeps its folder, takes the new name.
void apply(Files& files, const std::string& from, const std::string& to) {
    auto it = files.find(from);
    it = it != files.end() ? it : std::find_if(files.begin(), files.end(), [&](const auto& f) {
        return upper(f.first) == upper(from);
    });
    ASSERT_NE(it, files.end()) << from;
    files[it->first.substr(0, it->first.find('\\')) + to.substr(to.find('\\'))] = it->second;
    files.erase(it);
}

// The installs a test starts from, each file's content naming the track it holds.
enum class Start { Empty, Stock, Enabled, UpperCaseStock, StockAndBackups, StockWithoutMods };
using enum Start;
Files install(Start start) {
    Files files;
    const auto spelt = [&](const std::string& s) { return start == UpperCaseStock ? upper(s) : s; };
    for (int row = 0; row < 23 && start != Empty; ++row) {
        files[spelt(start == Enabled ? backup(row) : stock(row))] = "track " + stock(row);
        if (start == StockAndBackups)
            files[backup(row)] = "copy of " + stock(row);
    }
    for (const int row : kReplaced)
        if (start != Empty && start != StockWithoutMods)
            files[spelt(start == Enabled ? stock(row) : mod(row))] = "track " + mod(row);
    return files;
}

std::string box(int style, const std::string& title, const std::string& prompt) {
    return "box " + std::to_string(style) + " " + title + ": " + prompt;
}

using State = InstallState;
using enum State;
Log startLog(State state) {
    const std::map<State, Log> shown = {
        {NoGameFolder,
         {box(64, "File error", "Place this EXE into the main KotOR folder"), "end 1"}},
        {NotEnabled, {"caption Orvando v2 (Det: Not Enabled)", "show rename"}},
        {ErrorRecRename,
         {"caption Orvando v2 (Det: Error, rec. Rename)", "show rename", "show unrename"}},
        {ModEnabled, {"caption Orvando v2 (Det: Mod Enabled)", "show unrename"}},
        {ErrorRecUnrename,
         {"caption Orvando v2 (Det: Error, rec. Un-rename)", "show rename", "show unrename"}}};
    Log log = shown.at(state);
    log.insert(log.begin(), "width 4800");
    return log;
}

// The program in a real folder, its window's calls and renames one log; a test may step in.
struct Program final : View, FileServices {
    explicit Program(const TempFolder& f) : files(makeSystemFileServices(f.path.string())) {}
    // One start and a click on "rename", "unrename" or "help", which a start that ended ignores.
    Log run(const std::string& click) {
        frmMusic form(*this, *this);
        form.Form_Load();
        if (!click.empty())
            (form.*(click == "help"     ? &frmMusic::cmdErrorHelp_Click
                    : click == "rename" ? &frmMusic::rename_Click
                                        : &frmMusic::unrename_Click))();
        return log;
    }
    void setWidth(float twips) override { log.push_back("width " + std::to_string(int(twips))); }
    void setCaption(const std::string& text) override { log.push_back("caption " + text); }
    void setButtonVisible(ActionButton b, bool on) override { say(on ? "show " : "hide ", b); }
    void setButtonEnabled(ActionButton b, bool on) override { say(on ? "enable " : "disable ", b); }
    void say(const char* what, ActionButton b) {
        log.push_back(what + std::string(b == ActionButton::rename ? "rename" : "unrename"));
    }
    void setVisible(bool on) override { log.push_back(on ? "show window" : "hide window"); }
    void msgBox(const std::string& prompt, MsgBoxStyle style, const std::string& title) override {
        log.push_back(box(int(style), title, prompt));
    }
    void end(int status) override { log.push_back("end " + std::to_string(status)); }
    bool fileExists(const std::string& path) override { return files->fileExists(path); }
    std::optional<RenameError> renameNoReplace(const std::string& from,
                                               const std::string& to) override {
        beforeRename(from);
        auto error = files->renameNoReplace(from, to);
        if (!error)
            log.push_back("rename " + from + " -> " + to);
        return error;
    }
    // The copy the program first runs on: another program's edits wait for the real run.
    std::unique_ptr<FileServices> copy() override { return files->copy(); }
    std::unique_ptr<FileServices> files;
    Log log;
    std::function<void(const std::string& from)> beforeRename = [](const std::string&) {};
};

// What is done to a folder before a start, or by another program during a run.
enum EditKind { Remove, AddFile, AddFolder, LinkTo, HardLink, CloseToWriting, Hide, HoldOpen };
struct Edit {
    EditKind kind;
    std::string name, target = {};
};
#ifdef _WIN32
std::vector<HANDLE> gHeld;  // files held open, as a running game holds its track
#else
// As root, the tests run as nobody, who may not write everywhere; root again for the leak check.
struct AsNobody {
    AsNobody() : on(::geteuid() == 0 && ::setegid(65534) == 0 && ::seteuid(65534) == 0) {}
    ~AsNobody() { std::ignore = on && ::seteuid(0) == 0 && ::setegid(0) == 0; }
    const bool on;
} gNobody;
#endif

// Makes the edit, or says what this platform or file system cannot hold.
const char* edit(TempFolder& folder, const Edit& e) {
    const fs::path path = folder.exact(e.name);
    std::error_code error;
    switch (e.kind) {
        case Remove:
            EXPECT_TRUE(fs::remove(path)) << e.name;
            return nullptr;
        case AddFile:
            return folder.add(e.name, "added " + e.name) ? nullptr : "two spellings of one name";
        case AddFolder:
            return folder.add(e.name) ? nullptr : "a folder beside another spelling";
#ifdef _WIN32
        case Hide:
            SetFileAttributesW((folder.path / e.name).c_str(), FILE_ATTRIBUTE_HIDDEN);
            return nullptr;
        case HoldOpen:  // shared for reading and writing, not for deleting or renaming
            gHeld.push_back(CreateFileW((folder.path / e.name).c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        0, nullptr));
            return nullptr;
        default:
            return "a link or a folder closed to writing (Linux only)";
#else
        case LinkTo:
            fs::create_symlink(e.target, path, error);
            return error ? "a symbolic link" : nullptr;
        case HardLink:  // as a link and unlink cut off after its link leaves a file
            fs::create_hard_link(folder.exact(e.target), path, error);
            return error ? "a hard link" : nullptr;
        case CloseToWriting:
            fs::permissions(path, fs::perms::owner_read | fs::perms::owner_exec, error);
            return (fs::status(path).permissions() & fs::perms::owner_write) == fs::perms::none
                       ? nullptr
                       : "a folder closed to writing";
        default:
            return "a hidden file or a file held open (Windows only)";
#endif
    }
}

// What a click makes of renames `first` to `last` of its operation.
enum StepKind {
    Renamed,
    Warned,      // its source missing: the "File rename error" box
    Refused,     // refused in the run, the renames before it made: the error box
    NotStarted,  // the run would stop there: one box, no file renamed
};
struct Step {
    StepKind kind;
    int first, last = first;
};

struct Row {
    const char* name;
    Start start;
    std::vector<Edit> edits;
    State state;        // at start-up
    const char* click;  // "rename", "unrename", "help" or none
    std::vector<Step> run;
    State after;  // at the next start
    std::string reason = "already exists";
    friend void PrintTo(const Row& r, std::ostream* os) { *os << r.name; }
};

const Row kRows[] = {
    // clang-format off
    // A click after the File error box is ignored.
    {"ProbeOnlyElsewhere", Empty, {{AddFile, "mus_area_desert.wav"},
     {AddFile, "streamsounds\\mus_area_desert.wav"}, {AddFile, stock(0)}}, NoGameFolder, "rename", {}, NoGameFolder},
    {"ProbeIsHidden", Stock, {{Hide, stock(2)}}, NoGameFolder, "", {}, NoGameFolder},
    // Backup names are not looked at while the probe row's stock name exists.
    {"EveryStockAndBackupName", StockAndBackups, {}, NotEnabled, "rename", {{NotStarted, 0}}, NotEnabled},
    {"EnableUpperCaseGame", UpperCaseStock, {}, NotEnabled, "rename", {{Renamed, 0, 29}}, ModEnabled},
    {"HelpChangesNothing", Stock, {}, NotEnabled, "help", {}, NotEnabled},
    {"EnableWithoutMods", StockWithoutMods, {}, NotEnabled, "rename", {{Renamed, 0, 22}, {Warned, 23, 29}},
     ModEnabled},
    {"EnableOverLinks", Stock, {{HardLink, backup(7), stock(7)}, {Remove, stock(8)}, {LinkTo, stock(8), "x.wav"},
     {AddFile, "streammusic\\x.wav"}}, NotEnabled, "rename", {{Renamed, 0, 29}}, ModEnabled},
    {"ExactSpellingBeatsAVariant", Stock, {{AddFile, shout(stock(7))}}, NotEnabled, "rename",
     {{Renamed, 0, 29}}, ModEnabled},
    {"VariantsOnlyAreRefused", Stock, {{Remove, stock(7)}, {AddFile, shout(stock(7))},
     {AddFile, "streammusic\\Mus_Area_Valsith.wav"}}, NotEnabled, "rename", {{NotStarted, 7}}, NotEnabled,
     "more than one file matches this name when case is ignored (" + shout(stock(7)) +
     ", streammusic\\Mus_Area_Valsith.wav)"},
    {"EnableBackupTakenInOtherCase", Stock, {{AddFile, shout(backup(7))}}, NotEnabled, "rename",
     {{NotStarted, 7}}, NotEnabled, "already exists as " + shout(backup(7))},
    {"EnableBackupIsAFolder", Stock, {{AddFolder, backup(7)}}, NotEnabled, "rename", {{NotStarted, 7}},
     NotEnabled},
    {"ProbeFolderBesideEnabled", Enabled, {{AddFolder, stock(2)}}, ModEnabled, "", {}, ModEnabled},
    // Another program takes the target after every check of the program's own, as the reason spells it.
    {"RaceFirstBackup", Stock, {}, NotEnabled, "rename", {{Refused, 0}}, NotEnabled},
    {"RaceSecondMod", Enabled, {}, ModEnabled, "unrename", {{Renamed, 0}, {Refused, 1}}, ModEnabled},
    {"RaceLastModInOtherCase", Enabled, {}, ModEnabled, "unrename", {{Renamed, 0, 5}, {Refused, 6}},
     ModEnabled, "already exists as " + shout(mod(20))},
    // The box counts the renames made, not the track warned about.
    {"RaceAfterAWarning", Enabled, {{Remove, backup(7)}}, ErrorRecUnrename, "unrename",
     {{Renamed, 0, 13}, {Warned, 14}, {Renamed, 15, 28}, {Refused, 29}}, ErrorRecRename},
    {"RestoreStreamsoundsClosed", Enabled, {{CloseToWriting, "streamsounds"}}, ModEnabled, "unrename",
     {{NotStarted, 1}}, ModEnabled, "permission denied"},
    {"EnableTrackHeldOpen", Stock, {{HoldOpen, stock(5)}}, NotEnabled, "rename", {{NotStarted, 5}},
     NotEnabled, "another program is using it"},
    // clang-format on
};

// The box for a switch that would stop at a rename: no file renamed, and what to do, by reason.
std::string notStarted(const std::string& reason) {
    return "No file was renamed: the switch would have stopped there, half done.\n\n" +
           std::string(reason.starts_with("already")
                           ? "Move the file that has that name out of the game folder, or rename it"
                       : reason.starts_with("more than one")
                           ? "Keep one of these files under that name and move the others out of "
                             "the game folder"
                       : reason.starts_with("permission")
                           ? "Start the program as a user who may change the game folder (on "
                             "Windows, as administrator), or move the game to a folder you may "
                             "change"
                           : "Close the program that uses the file (the game, for example)") +
           ", then start the program again.";
}

// The box for a rename refused in the run, after `renamed` renames.
std::string refusedAfter(int renamed) {
    return "Nothing was overwritten and no further file was renamed. " +
           (renamed == 0 ? "No file was renamed before this one."
            : renamed == 1
                ? "The 1 rename made before this one stays made."
                : "The " + std::to_string(renamed) + " renames made before this one stay made.") +
           "\n\nStart the program again to see the state of the game folder.";
}

class Behaviour : public ::testing::TestWithParam<Row> {};

// Caption, buttons, boxes and texts, renames in order, exit status, folder, the next start.
TEST_P(Behaviour, AsThePlayerSeesIt) {
    const Row& row = GetParam();
    TempFolder folder(install(row.start));
    for (const Edit& e : row.edits)
        if (const char* cannot = edit(folder, e))
            GTEST_SKIP() << "cannot hold " << cannot << ": " << e.name;
    Files files = folder.files();

    Log log = startLog(row.state);
    const std::string click = row.click;
    const bool enable = click == "rename";
    int refused = -1, renamed = 0;
    if (click == "help") {
        log.push_back(box(64, "How to manage an error",
                          "The renaming function will report which file cannot be located and "
                          "renamed. That file will be skipped and the process will continue. All "
                          "you then have to do is manually rename the file to match the correct "
                          "new name."));
    } else if (!click.empty() && row.state != NoGameFolder) {
        log.insert(log.end(), {"disable rename", "disable unrename", "hide window"});
        for (const Step& s : row.run)
            for (int k = s.first; k <= s.last; ++k) {
                const auto [from, to] = step(enable, k);
                const std::string cannot =
                    "Cannot rename " + from + " to " + to + ": " + row.reason + ".\n\n";
                if (s.kind == Renamed) {
                    log.push_back("rename " + from + " -> " + to);
                    apply(files, from, to);
                    ++renamed;
                } else if (s.kind == Warned) {
                    log.push_back(box(
                        48, "File rename error",
                        "Cannot locate file: " + from + " - Final name needs to be: " + to + " ."));
                } else {
                    refused = s.kind == Refused ? k : refused;
                    log.push_back(box(16, "Orvando v2",
                                      cannot + (s.kind == Refused ? refusedAfter(renamed)
                                                                  : notStarted(row.reason))));
                }
            }
        log.push_back(row.run.back().kind >= Refused ? "end 1" : "end 0");
    }

    Program program(folder);
    program.beforeRename = [&](const std::string& from) {
        if (refused < 0 || from != step(enable, refused).first)
            return;
        const std::string to = step(enable, refused).second;
        const std::string taken = row.reason == "already exists" ? to : shout(to);
        EXPECT_TRUE(folder.add(taken, files[taken] = "racer"));
    };
    program.run(click);
    EXPECT_EQ(program.log, log);
    EXPECT_EQ(folder.files(), files);
#ifdef _WIN32
    for (HANDLE h : std::exchange(gHeld, {}))
        CloseHandle(h);
#endif
    // Blind to case behind FUSE, the kernel may serve a name renamed away for a second.
    if (const char* ms = std::getenv("ORVANDO_TEST_NAME_CACHE_MS");
        ms && row.start == UpperCaseStock)
        std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(ms)));
    EXPECT_EQ(Program(folder).run(""), startLog(row.after));
}

INSTANTIATE_TEST_SUITE_P(Table, Behaviour, ::testing::ValuesIn(kRows),
                         [](const auto& p) { return std::string(p.param.name); });

// A switch stopped after its k-th rename (a crash, a power cut): the next start shows the state
// below, and the button it recommends, every box answered, finishes the switch. Enable: the probe
// row's stock name goes with the 3rd rename, the backups are complete after the 23rd. Restore: the
// replacements leave first, unseen; the probe backup goes with the 10th.
TEST(CutOff, TheRecommendedButtonFinishesAtEveryPoint) {
    const std::map<char, State> states = {
        {'N', NotEnabled}, {'R', ErrorRecRename}, {'E', ModEnabled}, {'U', ErrorRecUnrename}};
    for (const auto& [enable, shown] : {std::pair{true, "NRRUUUUUUUUUUUUUUUUUUUUEEEEEEEE"},
                                        std::pair{false, "EEEEEEEEUURRRRRRRRRRRRRRRRRRRRN"}}) {
        for (int k = 0; k <= 30; ++k) {
            SCOPED_TRACE((enable ? "enable stopped after " : "restore stopped after ") +
                         std::to_string(k));
            Files files = install(enable ? Stock : Enabled);
            for (int i = 0; i < k; ++i)
                apply(files, step(enable, i).first, step(enable, i).second);
            TempFolder folder(files);
            EXPECT_EQ(Program(folder).run(""), startLog(states.at(shown[k])));
            Program(folder).run(shown[k] == 'N' || shown[k] == 'R' ? "rename" : "unrename");
            EXPECT_TRUE(folder.files() == install(Stock) || folder.files() == install(Enabled));
        }
    }
}

// The rename chain on the temporary folder's file system, reaching the step ORVANDO_TEST_RENAME
// names: "flag" (the system refuses a taken name; the default), "link" (a hard link, then the old
// name dropped: with that unlink refused, the new name goes again and the reason is the unlink's)
// or "check" (a last look, then a plain rename). Nothing outside the game folder is reached.
TEST(SystemCall, TheRenameTakesTheStrongestStepAndNeverReplaces) {
    const char* step = std::getenv("ORVANDO_TEST_RENAME");
    const std::string expected = step ? step : "flag";
    TempFolder folder({{"a", "first"}, {"b", "second"}});
    folder.add("x");
    auto files = makeSystemFileServices(folder.path.string());
    gUnlinkRefused = "a", gPlainRenames = 0;
    const auto refused = files->renameNoReplace("a", "c");
    gUnlinkRefused = nullptr;
    EXPECT_EQ(refused ? refused->reason : "", expected == "link" ? "operation not permitted" : "");
    EXPECT_EQ(gPlainRenames, expected == "check") << "expected the step " << expected;
    EXPECT_EQ(folder.files(), (Files{{"b", "second"}, {expected == "link" ? "a" : "c", "first"}}));
    EXPECT_FALSE(files->fileExists("x\\..\\b"));
}

// Matching without regard to case over every pair of one-byte names, against the rule written out
// here apart from the code: two names match, and fold to the same key, exactly when their bytes are
// equal or the same letter of kLetters (26 places apart); '@' and '`', 0xC9 and 0xE9 never match.
constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

TEST(NameMatch, EveryPairOfBytes) {
    for (int i = 0; i < 256; ++i) {
        const char a = static_cast<char>(i), key = foldAscii(a);
        ASSERT_EQ(foldAscii(key), key) << "byte " << i;
        for (int j = 0; j < 256; ++j) {
            const char b = static_cast<char>(j);
            const std::size_t x = kLetters.find(a), y = kLetters.find(b);
            const bool same = i == j || (std::max(x, y) < kLetters.size() && x % 26 == y % 26);
            ASSERT_EQ(equalsIgnoringAsciiCase({&a, 1}, {&b, 1}), same) << i << ", " << j;
            ASSERT_EQ(key == foldAscii(b), same) << "bytes " << i << ", " << j;
            ASSERT_FALSE(equalsIgnoringAsciiCase({&a, 1}, std::string{a, b})) << i << ", " << j;
        }
    }
}

}  // namespace
}  // namespace orvando
