// orvando-campaign [--states N] [--seed S]: N random game folders (seeds S,
// S+1, ...), each run through one start of the program and the click its
// state allows, on real files and on the in-memory model side by side. Prints
// one closing line; exits 1 when a file was lost or overwritten or model and
// real differ (their seeds go to stderr), 2 on a usage error.
#include <cctype>
#include <cstdint>
#include <cstdlib>

#include "reliability/reliability.h"
#include "ui/texts.h"

using namespace orvando;
using namespace orvando::testing;

int main(int argc, char** argv) {
    unsigned long states = 300, seed = 1;
    for (int i = 1; i < argc; i += 2) {
        const std::string arg = argv[i];
        unsigned long* target = arg == "--states" ? &states : arg == "--seed" ? &seed : nullptr;
        char* end = nullptr;
        if (target != nullptr && i + 1 < argc && std::isdigit(argv[i + 1][0])) {
            *target = std::strtoul(argv[i + 1], &end, 10);
        }
        if (end == nullptr || *end != '\0') {
            std::fprintf(stderr, "usage: orvando-campaign [--states N] [--seed S]\n");
            return 2;
        }
    }
    const std::string warning =
        boxLine(MsgBoxStyle::Exclamation, std::string(text::kRenameWarningTitle), "");
    const std::string notGame =
        boxLine(MsgBoxStyle::Information, std::string(text::kFileErrorTitle), "");
    long lost = 0, overwritten = 0, mismatches = 0, renames = 0, refused = 0, warnings = 0,
         notGameFolder = 0;
    for (unsigned long i = 0; i < states; ++i) {
        const auto stateSeed = static_cast<std::uint32_t>(seed + i);
        std::mt19937 rng(stateSeed);
        const auto entries = randomGameFolder(rng);
        const int choice = static_cast<int>(rng() % 2);
        MemoryFolder model;
        TempFolder real;
        for (const FolderEntry& e : entries) {
            e.folder ? model.addFolder(e.path) : model.addFile(e.path, e.content);
            e.folder ? real.addFolder(e.path) : real.addFile(e.path, e.content);
        }
        const bool sameStart = model.files() == real.files();
        auto system = makeSystemFileServices(real.path().string());
        WatchedFiles watchedModel(model, [&model] { return model.files(); });
        WatchedFiles watchedReal(*system, [&real] { return real.files(); });
        const auto modelLog = startAndClick(watchedModel, choice);
        const auto realLog = startAndClick(watchedReal, choice);

        const Damage m = watchedModel.damage(), r = watchedReal.damage();
        const char* mismatch = !sameStart            ? "the folders at the start"
                               : modelLog != realLog ? "the window"
                               : watchedModel.calls != watchedReal.calls ? "the file calls"
                               : model.files() != real.files()           ? "the folders at the end"
                                                                         : nullptr;
        if (m.lost + r.lost + m.overwritten + r.overwritten > 0 || mismatch != nullptr) {
            std::fprintf(stderr, "seed %u: %d lost, %d overwritten, model/real differ in %s\n",
                         stateSeed, m.lost + r.lost, m.overwritten + r.overwritten,
                         mismatch != nullptr ? mismatch : "nothing");
        }
        lost += m.lost + r.lost;
        overwritten += m.overwritten + r.overwritten;
        mismatches += mismatch != nullptr;
        renames += watchedReal.renames;
        refused += watchedReal.refusals;
        for (const std::string& line : realLog) {
            warnings += line.rfind(warning, 0) == 0;
            notGameFolder += line.rfind(notGame, 0) == 0;
        }
    }
    std::printf(
        "campaign: %lu states, %ld files lost, %ld files overwritten, %ld model/real mismatches "
        "(%ld renames, %ld refused, %ld missing-file warnings, %ld states not a game folder)\n",
        states, lost, overwritten, mismatches, renames, refused, warnings, notGameFolder);
    return lost == 0 && overwritten == 0 && mismatches == 0 ? 0 : 1;
}
