// A real temporary folder for tests of the system file services, removed with
// everything in it when the test ends. Paths given to it use backslashes, like
// catalogue paths, and are created with forward slashes on disk.
#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace orvando::testing {

class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path native(const std::string& backslashPath) const;

    void addFile(const std::string& path, const std::string& content);
    void addFolder(const std::string& path);
    // A symbolic link at `path` pointing at `target` (taken as it is).
    void addLink(const std::string& path, const std::string& target);

    // Every ordinary file below the folder, by its path with backslashes, with
    // its content.
    std::map<std::string, std::string> files() const;
    std::string read(const std::string& path) const;

  private:
    std::filesystem::path path_;
};

}  // namespace orvando::testing
