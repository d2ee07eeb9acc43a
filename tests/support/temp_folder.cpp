#include "support/temp_folder.h"

#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace orvando::testing {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        path_ = fs::temp_directory_path() / ("orvando-test-" + std::to_string(random()));
        if (fs::create_directory(path_)) {
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
}

fs::path TempFolder::native(const std::string& backslashPath) const {
    std::string p = backslashPath;
    for (char& c : p) {
        if (c == '\\') {
            c = '/';
        }
    }
    return path_ / p;
}

void TempFolder::addFile(const std::string& path, const std::string& content) {
    const fs::path p = native(path);
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << content;
}

void TempFolder::addFolder(const std::string& path) {
    fs::create_directories(native(path));
}

void TempFolder::addLink(const std::string& path, const std::string& target) {
    const fs::path p = native(path);
    fs::create_directories(p.parent_path());
    fs::create_symlink(target, p);
}

std::map<std::string, std::string> TempFolder::files() const {
    std::map<std::string, std::string> out;
    for (const auto& entry : fs::recursive_directory_iterator(path_)) {
        if (entry.is_regular_file() && !entry.is_symlink()) {
            std::string rel = fs::relative(entry.path(), path_).string();
            for (char& c : rel) {
                if (c == '/') {
                    c = '\\';
                }
            }
            out[rel] = read(rel);
        }
    }
    return out;
}

std::string TempFolder::read(const std::string& path) const {
    std::ifstream in(native(path), std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace orvando::testing
