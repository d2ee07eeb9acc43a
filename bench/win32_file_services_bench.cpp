// Speed of the Windows file services, run under Wine: the start-up detection
// and an enable plus restore cycle, each beside a floor loop that makes only
// the unavoidable calls (one lookup per queried name, one rename per pair),
// and the cycle with every name on disk in other case among 10,000 unrelated
// files per folder. Prints the median of repeated runs.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/frm_music.h"
#include "bench_support.h"
#include "catalogue/catalogue.h"
#include "detection/detection.h"
#include "engine/operations.h"
#include "platform/file_services.h"
#include "platform/wide_win32.h"

namespace orvando {
namespace {

std::wstring upper(std::wstring s) {
    for (wchar_t& c : s) {
        c = (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
    }
    return s;
}

void touch(const std::wstring& path) {
    const HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "cannot create %s\n", narrow(path).c_str());
        std::exit(2);
    }
    CloseHandle(h);
}

// A stock game folder below the temporary folder: 23 stock and 7 replacement
// tracks, spelt as the catalogue spells them or all in upper case, with
// `extra` unrelated files in each music folder. Returned with a backslash.
std::wstring makeGame(const std::wstring& name, bool otherCase, int extra) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring root = std::wstring(temp) + name + L"\\";
    CreateDirectoryW(root.c_str(), nullptr);
    for (const wchar_t* folder : {L"streammusic", L"streamsounds"}) {
        const std::wstring f = root + (otherCase ? upper(folder) : folder);
        CreateDirectoryW(f.c_str(), nullptr);
        for (int i = 0; i < extra; ++i) {
            touch(f + L"\\unrelated_" + std::to_wstring(i) + L".wav");
        }
    }
    auto add = [&](std::string_view n) {
        const std::wstring w = widen(n);
        touch(root + (otherCase ? upper(w) : w));
    };
    for (auto n : kStockNames) {
        add(n);
    }
    for (const auto& p : kReplacementPairs) {
        add(p.replacement);
    }
    return root;
}

void removeGame(const std::wstring& root) {
    for (const wchar_t* folder : {L"streammusic\\", L"streamsounds\\"}) {
        for (const std::wstring& f : {root + folder, root + upper(folder)}) {
            WIN32_FIND_DATAW d;
            const HANDLE find = FindFirstFileW((f + L"*").c_str(), &d);
            if (find == INVALID_HANDLE_VALUE) {
                continue;
            }
            do {
                DeleteFileW((f + d.cFileName).c_str());
            } while (FindNextFileW(find, &d));
            FindClose(find);
            RemoveDirectoryW(f.c_str());
        }
    }
    RemoveDirectoryW(root.c_str());
}

// One enable and one restore, each a run of its own as the program makes them.
void cycle(const std::wstring& root, std::uint64_t& reads) {
    if (!bench::cycle(narrow(root), reads)) {
        std::fprintf(stderr, "the cycle did not run clean\n");
        std::exit(2);
    }
}

// The median time of one call of `work`, in microseconds.
double median(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void report(const char* what, double program, double floor) {
    std::printf("%-58s %10.1f us %10.1f us %6.2f\n", what, program, floor, program / floor);
}

}  // namespace
}  // namespace orvando

int main() {
    using namespace orvando;
    std::printf("%-58s %13s %13s %6s\n", "", "program", "floor", "ratio");
    const int runs = 101;

    const std::wstring game =
        makeGame(L"orvando-bench-" + std::to_wstring(GetCurrentProcessId()), false, 0);
    std::vector<std::wstring> queried{game + widen(kBackupNames[kProbeRow])};
    for (auto n : kStockNames) {
        queried.push_back(game + widen(n));
    }
    const double detection = median(runs, [&] {
        auto files = makeSystemFileServices(narrow(game));
        detectInstallState(*files);
    });
    const double detectionFloor = median(runs, [&] {
        for (const std::wstring& q : queried) {
            GetFileAttributesW(q.c_str());
        }
    });
    report("Start-up detection (24 queries)", detection, detectionFloor);

    removeGame(game);

    // The whole switch, without and with 300 unrelated files in each music folder.
    for (const int extra : {0, 300}) {
        const std::wstring g = makeGame(L"orvando-bench-" + std::to_wstring(GetCurrentProcessId()) +
                                            L"-" + std::to_wstring(extra),
                                        false, extra);
        std::vector<std::pair<std::wstring, std::wstring>> pairs;
        for (const auto* plan : {&kEnablePlan, &kRestorePlan}) {
            for (const RenamePair& p : *plan) {
                pairs.emplace_back(g + widen(p.oldname), g + widen(p.finalname));
            }
        }
        std::uint64_t reads = 0;
        const double renames = median(runs, [&] { cycle(g, reads); });
        const double renamesFloor = median(runs, [&] {
            for (const auto& [from, to] : pairs) {
                GetFileAttributesW(from.c_str());
                if (!MoveFileExW(from.c_str(), to.c_str(), 0)) {
                    std::fprintf(stderr, "floor rename failed\n");
                    std::exit(2);
                }
            }
        });
        const std::string what = "Enable plus restore cycle, " + std::to_string(extra) +
                                 " other files a folder (" + std::to_string(reads / runs) +
                                 " folder reads)";
        report(what.c_str(), renames, renamesFloor);
        removeGame(g);
    }

    const std::wstring large =
        makeGame(L"orvando-bench-large-" + std::to_wstring(GetCurrentProcessId()), true, 10000);
    const int largeRuns = 9;
    std::uint64_t reads = 0;
    const double otherCase = median(largeRuns, [&] { cycle(large, reads); });
    std::printf(
        "The same cycle, every name on disk in other case, 10,000 unrelated files in each "
        "folder: %.1f ms, %.1f folder reads per cycle\n",
        otherCase / 1000, static_cast<double>(reads) / largeRuns);
    removeGame(large);
    return 0;
}
