// A temporary game folder for the benchmarks, removed with everything in it.
// Paths given to it use backslashes, like catalogue paths.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace orvando::bench {

class TempFolder {
  public:
    TempFolder() {
        namespace fs = std::filesystem;
        while (!fs::create_directory(
            path_ = fs::temp_directory_path() /
                    ("orvando-bench-" + std::to_string(std::random_device{}())))) {
        }
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path native(std::string path) const {
        std::replace(path.begin(), path.end(), '\\', '/');
        return path_ / path;
    }
    void addFile(const std::string& path, const std::string& content) {
        std::filesystem::create_directories(native(path).parent_path());
        std::ofstream(native(path), std::ios::binary) << content;
    }

  private:
    std::filesystem::path path_;
};

}  // namespace orvando::bench
