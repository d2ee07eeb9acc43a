// orvando-campaign [--states N] [--seed S]: N random game folders (seeds S,
// S+1, ...) on real files, each run through one start of the program and the
// click its state allows. In every one nothing may be lost or overwritten,
// the renames made follow the order of the clicked operation, and the exit
// status is 1 exactly when the start-up check or a rename was refused. Prints
// one closing line; exits 1 on a fault (its seed goes to stderr), 2 on a
// usage error.
#include <cstdint>
#include <cstdlib>

#include "reliability/reliability.h"

using namespace orvando;
using namespace orvando::testing;

int main(int argc, char** argv) {
    unsigned long states = 300, seed = 1;
    for (int i = 1; i + 1 < argc; i += 2) {
        (std::string(argv[i]) == "--seed" ? seed : states) = std::strtoul(argv[i + 1], nullptr, 10);
    }
    if (argc % 2 == 0 || states == 0) {
        std::fprintf(stderr, "usage: orvando-campaign [--states N] [--seed S]\n");
        return 2;
    }
    long faults = 0, renames = 0, refusals = 0, boxes = 0;
    for (unsigned long i = 0; i < states; ++i) {
        const auto stateSeed = static_cast<std::uint32_t>(seed + i);
        std::mt19937 rng(stateSeed);
        TempFolder real;
        for (const FolderEntry& e : randomGameFolder(rng)) {
            e.folder ? real.addFolder(e.path) : real.addFile(e.path, e.content);
        }
        auto system = makeSystemFileServices(real.path().string());
        WatchedFiles watched(*system, [&real] { return real.files(); });
        const auto log = startAndClick(watched, static_cast<int>(rng() % 2));

        // The renames made, as steps of the plan the first one belongs to.
        const OperationPlan* plan = nullptr;
        int last = -1;
        bool inOrder = true;
        for (const std::string& call : watched.calls) {
            int k = -1;
            for (const OperationPlan* p : {&kEnablePlan, &kRestorePlan}) {
                for (int j = 0; j < static_cast<int>(p->size()); ++j) {
                    const RenamePair& pair = (*p)[static_cast<std::size_t>(j)];
                    if (call == "rename " + std::string(pair.oldname) + " -> " +
                                    std::string(pair.finalname) + ": done" &&
                        (plan == nullptr || plan == p)) {
                        plan = p;
                        k = j;
                    }
                }
            }
            const bool made = call.rfind("rename ", 0) == 0 && call.ends_with(": done");
            inOrder = inOrder && (!made || k > last);
            last = made ? k : last;
        }
        const auto shown = boxesIn(log);
        // A refused rename that ends the run shows the error box, with icon 16.
        const bool refused = std::any_of(shown.begin(), shown.end(), [](const auto& b) {
            return b.rfind("box 16 ", 0) == 0 || b.rfind("box 64 File error:", 0) == 0;
        });
        const bool exitRight = log.back() == (refused ? "end 1" : "end 0");
        const Damage damage = watched.damage();
        if (damage != Damage{} || !inOrder || !exitRight) {
            ++faults;
            std::fprintf(stderr, "seed %u: %d lost, %d overwritten%s%s\n", stateSeed, damage.lost,
                         damage.overwritten, inOrder ? "" : ", renames out of order",
                         exitRight ? "" : ", wrong exit status");
        }
        renames += watched.renames;
        refusals += watched.refusals;
        boxes += static_cast<long>(shown.size());
    }
    std::printf("campaign: %lu states, %ld faults (%ld renames, %ld refused, %ld boxes)\n", states,
                faults, renames, refusals, boxes);
    return faults == 0 ? 0 : 1;
}
