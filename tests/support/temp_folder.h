// A real temporary folder for tests of the system file services, removed with
// everything in it when the test ends. Paths given to it use backslashes, like
// catalogue paths.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <stdexcept>
#include <string>

namespace orvando::testing {

class TempFolder {
  public:
    TempFolder() {
        std::random_device random;
        for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            const auto p = std::filesystem::temp_directory_path() /
                           ("orvando-test-" + std::to_string(random()));
            path_ = std::filesystem::create_directory(p) ? p : path_;
        }
        if (path_.empty()) {
            throw std::runtime_error("cannot create a temporary folder");
        }
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path native(std::string path) const {
        std::replace(path.begin(), path.end(), '\\', '/');
        return path_ / std::filesystem::path(path).make_preferred();
    }

    void addFile(const std::string& path, const std::string& content) {
        std::filesystem::create_directories(native(path).parent_path());
        std::ofstream(native(path), std::ios::binary) << content;
    }
    void addFolder(const std::string& path) { std::filesystem::create_directories(native(path)); }
    void addLink(const std::string& path, const std::string& target) {
        std::filesystem::create_directories(native(path).parent_path());
        std::filesystem::create_symlink(target, native(path));
    }

    // Every ordinary file below the folder, by its path with backslashes,
    // with its content.
    std::map<std::string, std::string> files() const {
        std::map<std::string, std::string> out;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path_)) {
            if (entry.is_regular_file() && !entry.is_symlink()) {
                std::string name = std::filesystem::relative(entry.path(), path_).generic_string();
                std::replace(name.begin(), name.end(), '/', '\\');
                std::ifstream in(entry.path(), std::ios::binary);
                out[name] = std::string(std::istreambuf_iterator<char>(in), {});
            }
        }
        return out;
    }

  private:
    std::filesystem::path path_;
};

}  // namespace orvando::testing
