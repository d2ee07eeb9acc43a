// Fuzzes the matching of file names without regard to ASCII case, with folder
// entries of any bytes: not UTF-8, very long, in many case variants.
//
// Input: one control byte, then records separated by NUL bytes: the name
// looked up, a new name to rename it to, then the folder's entries (an entry
// starting with byte 0x01 is a folder). Control bits:
//   0-3  that many case variants of the looked-up name are added as entries;
//   4    the folder is spelt "D" on disk while the path says "d";
//   5    a decoy folder holds every entry as a file: "D" next to the folder
//        "d" (the exact spelling wins), or "e" when bit 4 is set;
//   6    the added variants are folders instead of files.
//
// Checked against an oracle written apart from the code under test:
// - two names match exactly when they are byte for byte equal after mapping
//   A-Z to a-z, so never when they differ in a non-letter or non-ASCII byte;
// - two names fold to the same key exactly when they match;
// - a lookup in a folder finds an entry of the exact spelling when there is
//   one and then no other; otherwise any matching ordinary file; a rename
//   moves that one entry (refusing when several match) and never onto a name
//   that matches an existing entry.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/name_match.h"
#include "support/memory_folder.h"

namespace {

using orvando::RenameError;

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "name matching: %s\n", what);
    std::abort();
}

void check(bool ok, const char* what) {
    if (!ok) {
        fail(what);
    }
}

bool isAsciiLetter(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Equal, or two ASCII letters of the same letter in different case.
bool sameExceptAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (x != y && !(isAsciiLetter(x) && isAsciiLetter(y) && (x ^ y) == 0x20)) {
            return false;
        }
    }
    return true;
}

std::string caseVariant(const std::string& name, unsigned j) {
    std::string v = name;
    for (std::size_t p = 0; p < v.size(); ++p) {
        const auto c = static_cast<unsigned char>(v[p]);
        const auto mix = static_cast<std::uint32_t>((p + 1) * (j + 3) * 2654435761u);
        if (isAsciiLetter(c) && ((mix >> 15) & 1u) != 0) {
            v[p] = static_cast<char>(c ^ 0x20);
        }
    }
    return v;
}

struct Entry {
    std::string name;
    bool folder;
};

constexpr std::size_t kMaxEntries = 4096;

void checkPlainMatching(const std::string& name, const std::vector<Entry>& entries) {
    const std::string folded = orvando::foldAsciiCase(name);
    check(folded.size() == name.size(), "folding keeps the length");
    for (const Entry& e : entries) {
        const bool same = sameExceptAsciiCase(e.name, name);
        check(orvando::equalsIgnoringAsciiCase(e.name, name) == same, "entry against name");
        check(orvando::equalsIgnoringAsciiCase(name, e.name) == same, "name against entry");
        check((orvando::foldAsciiCase(e.name) == folded) == same, "folded entry against name");
    }
}

void checkFolderLookup(std::uint8_t control, const std::string& name, const std::string& target,
                       const std::vector<Entry>& all) {
    const bool folderInOtherCase = (control & 0x10) != 0;
    const bool decoy = (control & 0x20) != 0;
    const std::string shown = folderInOtherCase ? "D\\" : "d\\";
    const std::string decoyShown = folderInOtherCase ? "e\\" : "D\\";

    // The folder as the model holds it: the first entry of each spelling.
    orvando::testing::MemoryFolder folder;
    folder.addFolder(shown.substr(0, 1));
    std::map<std::string, Entry> unique;
    std::map<std::string, std::string> files;
    for (std::size_t i = 0; i < all.size(); ++i) {
        const Entry& e = all[i];
        if (e.name.find('\\') != std::string::npos || !unique.emplace(e.name, e).second) {
            continue;
        }
        if (e.folder) {
            folder.addFolder(shown + e.name);
        } else {
            files[shown + e.name] = "content " + std::to_string(i);
            folder.addFile(shown + e.name, files[shown + e.name]);
        }
        if (decoy) {
            files[decoyShown + e.name] = "decoy " + std::to_string(i);
            folder.addFile(decoyShown + e.name, files[decoyShown + e.name]);
        }
    }
    check(folder.files() == files, "the model holds what was put in");

    // What the name denotes: its exact spelling alone, else every variant.
    std::vector<std::string> denoted;
    if (unique.count(name) != 0) {
        denoted.push_back(name);
    } else {
        for (const auto& [entry, e] : unique) {
            if (sameExceptAsciiCase(entry, name)) {
                denoted.push_back(entry);
            }
        }
    }
    bool present = false;
    for (const std::string& d : denoted) {
        present = present || !unique.at(d).folder;
    }
    check(folder.fileExists("d\\" + name) == present, "fileExists");

    if (target.find('\\') != std::string::npos) {
        return;
    }
    const auto error = folder.renameNoReplace("d\\" + name, "d\\" + target);
    bool targetTaken = false;
    for (const auto& [entry, e] : unique) {
        targetTaken = targetTaken || sameExceptAsciiCase(entry, target);
    }
    if (denoted.empty()) {
        check(error && error->kind == RenameError::Kind::Other, "rename of a missing name");
    } else if (denoted.size() > 1) {
        check(error && error->kind == RenameError::Kind::Ambiguous, "rename of several variants");
    } else if (targetTaken) {
        check(error && error->kind == RenameError::Kind::TargetExists, "rename onto a taken name");
    } else {
        check(!error, "rename into a free name");
        if (auto it = files.find(shown + denoted.front()); it != files.end()) {
            files[shown + target] = it->second;
            files.erase(it);
        }
    }
    check(folder.files() == files, "files after the rename");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::uint8_t control = data[0];
    std::vector<std::string> records(1);
    for (std::size_t i = 1; i < size; ++i) {
        if (data[i] == 0) {
            records.emplace_back();
        } else {
            records.back() += static_cast<char>(data[i]);
        }
    }
    const std::string name = records[0];
    const std::string target = records.size() > 1 ? records[1] : name + ".original";
    std::vector<Entry> entries;
    for (std::size_t i = 2; i < records.size() && entries.size() < kMaxEntries; ++i) {
        const bool folder = !records[i].empty() && records[i][0] == '\x01';
        entries.push_back({folder ? records[i].substr(1) : records[i], folder});
    }
    for (unsigned j = 0; j < (control & 0x0Fu); ++j) {
        entries.push_back({caseVariant(name, j), (control & 0x40) != 0});
    }

    checkPlainMatching(name, entries);
    if (name.find('\\') == std::string::npos) {
        checkFolderLookup(control, name, target, entries);
    }
    return 0;
}
