// Speed of the start-up detection and of an enable plus restore cycle on real
// folders, each beside a floor loop that makes only the unavoidable system
// calls (one lookup per queried name, one rename per pair). The closing lines
// give each figure as a ratio to its floor, measured in the same run.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "app/frm_music.h"
#include "bench_support.h"
#include "catalogue/catalogue.h"
#include "detection/detection.h"
#include "engine/operations.h"
#include "platform/file_services.h"
#include "platform/name_rules.h"
#include "ratio_reporter.h"
#include "temp_folder.h"

namespace orvando {
namespace {

using bench::TempFolder;

std::string native(std::string_view path) {
    std::string s(path);
    for (char& c : s) {
        if (c == '\\') {
            c = '/';
        }
    }
    return s;
}

std::string upper(std::string s) {
    for (char& c : s) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return s;
}

// A stock game folder: 23 stock and 7 replacement tracks, spelt as the
// catalogue spells them or all in upper case, with `extra` unrelated files in
// each music folder.
void fillStock(TempFolder& folder, bool otherCase, int extra) {
    auto add = [&](std::string_view name) {
        const std::string n(name);
        folder.addFile(otherCase ? upper(n) : n, "x");
    };
    for (auto n : kStockNames)
        add(n);
    for (const auto& p : kReplacementPairs)
        add(p.replacement);
    for (const char* dir : {"streammusic", "streamsounds"}) {
        const std::string d = otherCase ? upper(dir) : dir;
        for (int i = 0; i < extra; ++i) {
            const int fd =
                ::open((folder.native(d) / ("unrelated_" + std::to_string(i) + ".wav")).c_str(),
                       O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
            ::close(fd);
        }
    }
}

void BM_Detection(benchmark::State& state) {
    TempFolder folder;
    fillStock(folder, false, 0);
    for (auto _ : state) {
        auto files = makeSystemFileServices(folder.path().string());
        benchmark::DoNotOptimize(detectInstallState(*files));
    }
}
BENCHMARK(BM_Detection);

void BM_DetectionFloor(benchmark::State& state) {
    TempFolder folder;
    fillStock(folder, false, 0);
    std::vector<std::string> names{native(kBackupNames[kProbeRow])};
    for (auto n : kStockNames)
        names.push_back(native(n));
    for (auto _ : state) {
        const int root = ::open(folder.path().c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        struct stat st {};
        for (const auto& n : names) {
            benchmark::DoNotOptimize(::fstatat(root, n.c_str(), &st, 0));
        }
        ::close(root);
    }
}
BENCHMARK(BM_DetectionFloor);

// One enable and one restore, each a run of its own as the program makes them.
void runCycle(const TempFolder& folder, benchmark::State& state, std::uint64_t& reads) {
    if (!bench::cycle(folder.path().string(), reads)) {
        state.SkipWithError("the cycle did not run clean");
    }
}

void BM_Cycle(benchmark::State& state) {
    TempFolder folder;
    fillStock(folder, false, static_cast<int>(state.range(0)));
    std::uint64_t reads = 0;
    for (auto _ : state) {
        runCycle(folder, state, reads);
    }
}
BENCHMARK(BM_Cycle)->Arg(0)->Arg(300);

void BM_CycleFloor(benchmark::State& state) {
    TempFolder folder;
    fillStock(folder, false, static_cast<int>(state.range(0)));
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const auto* plan : {&kEnablePlan, &kRestorePlan}) {
        for (const RenamePair& p : *plan) {
            pairs.emplace_back(native(p.oldname), native(p.finalname));
        }
    }
    for (auto _ : state) {
        for (std::size_t run = 0; run < 2; ++run) {
            const int root = ::open(folder.path().c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
            struct stat st {};
            for (std::size_t i = run * 30; i < run * 30 + 30; ++i) {
                const auto& [from, to] = pairs[i];
                benchmark::DoNotOptimize(::fstatat(root, from.c_str(), &st, 0));
                if (::renameat2(root, from.c_str(), root, to.c_str(), RENAME_NOREPLACE) != 0) {
                    state.SkipWithError("floor rename failed");
                }
            }
            ::close(root);
        }
    }
}
BENCHMARK(BM_CycleFloor)->Arg(0)->Arg(300);

// Every name on disk in another case, 10,000 unrelated files in each folder.
void BM_CycleOtherCaseLargeFolders(benchmark::State& state) {
    TempFolder folder;
    fillStock(folder, true, 10000);
    std::uint64_t reads = 0;
    for (auto _ : state) {
        runCycle(folder, state, reads);
    }
    state.counters["folder_reads_per_cycle"] =
        static_cast<double>(reads) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_CycleOtherCaseLargeFolders)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvando

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    orvando::bench::RatioReporter reporter({{"BM_Detection", "BM_DetectionFloor"},
                                            {"BM_Cycle/0", "BM_CycleFloor/0"},
                                            {"BM_Cycle/300", "BM_CycleFloor/300"}});
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
