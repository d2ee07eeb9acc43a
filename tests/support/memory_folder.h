// An in-memory game folder for tests that need no real one: files by their
// exact spelling, each with a content, and a rename that never replaces.
#pragma once

#include <map>
#include <string>

#include "platform/file_services.h"

namespace orvando::testing {

class MemoryFolder final : public FileServices {
  public:
    void addFile(const std::string& path, const std::string& content) { files_[path] = content; }
    void remove(const std::string& path) { files_.erase(path); }
    const std::map<std::string, std::string>& files() const { return files_; }

    bool fileExists(const std::string& path) override { return files_.count(path) != 0; }
    std::optional<RenameError> renameNoReplace(const std::string& from,
                                               const std::string& to) override {
        if (files_.count(to) != 0) {
            return RenameError{RenameError::Kind::TargetExists, "already exists"};
        }
        auto file = files_.extract(from);
        if (file.empty()) {
            return RenameError{RenameError::Kind::Other, "No such file or directory"};
        }
        file.key() = to;
        files_.insert(std::move(file));
        return std::nullopt;
    }

  private:
    std::map<std::string, std::string> files_;
};

}  // namespace orvando::testing
