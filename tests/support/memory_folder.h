// An in-memory game folder for tests: a tree of folders and files, each file
// with a content string, behind the FileServices interface. It follows the
// same naming rules as the real Linux services (exact spelling first, then a
// match without regard to ASCII case; a rename never replaces), written
// independently so the two can be checked against each other.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_services.h"

namespace orvando::testing {

class MemoryFolder : public FileServices {
  public:
    // Paths use backslashes; missing folders are created.
    void addFile(const std::string& path, const std::string& content);
    void addFolder(const std::string& path);
    // Removes the file or folder of exactly that spelling.
    void remove(const std::string& path);

    // Every file, by its full path as spelt on "disk", with its content.
    std::map<std::string, std::string> files() const;

    // When set, each call appends a line to it ("query X", "rename X -> Y").
    void logTo(std::vector<std::string>* log) { log_ = log; }

    // Makes the next rename of `from` fail with this error.
    void refuseRenameOf(const std::string& from, RenameError error);

    bool fileExists(const std::string& path) override;
    std::optional<RenameError> renameNoReplace(const std::string& from,
                                               const std::string& to) override;

  private:
    struct Node {
        bool isFolder = true;
        std::string content;
        std::map<std::string, Node> children;
    };
    struct Entry {
        Node* parent;
        std::string folderShown;
        std::string name;
    };
    static std::vector<std::string> split(const std::string& path);
    static std::vector<std::string> named(const Node& folder, const std::string& name);
    std::vector<Entry> folders(const std::vector<std::string>& parts, std::size_t count);
    std::vector<Entry> locate(const std::vector<std::string>& parts);
    void collect(const Node& node, const std::string& prefix,
                 std::map<std::string, std::string>& out) const;

    Node root_;
    std::vector<std::string>* log_ = nullptr;
    std::map<std::string, RenameError> refusals_;
};

}  // namespace orvando::testing
