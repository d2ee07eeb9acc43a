#include "support/memory_folder.h"

#include <stdexcept>

#include "platform/name_match.h"

namespace orvando::testing {

std::vector<std::string> MemoryFolder::split(const std::string& path) {
    std::vector<std::string> parts(1);
    for (char c : path) {
        if (c == '\\') {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

void MemoryFolder::addFolder(const std::string& path) {
    Node* node = &root_;
    for (const std::string& part : split(path)) {
        node = &node->children[part];
        if (!node->isFolder) {
            throw std::logic_error("a file stands where a folder should be: " + path);
        }
    }
}

void MemoryFolder::addFile(const std::string& path, const std::string& content) {
    const auto parts = split(path);
    Node* node = &root_;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        node = &node->children[parts[i]];
    }
    Node& file = node->children[parts.back()];
    file.isFolder = false;
    file.content = content;
}

void MemoryFolder::remove(const std::string& path) {
    const auto parts = split(path);
    Node* node = &root_;
    for (std::size_t i = 0; i + 1 < parts.size() && node != nullptr; ++i) {
        auto it = node->children.find(parts[i]);
        node = it == node->children.end() ? nullptr : &it->second;
    }
    if (node == nullptr || node->children.erase(parts.back()) == 0) {
        throw std::logic_error("nothing to remove at " + path);
    }
}

void MemoryFolder::refuseRenameOf(const std::string& from, RenameError error) {
    refusals_[from] = std::move(error);
}

std::vector<std::string> MemoryFolder::named(const Node& folder, const std::string& name) {
    if (folder.children.count(name) != 0) {
        return {name};
    }
    std::vector<std::string> out;
    for (const auto& [entry, node] : folder.children) {
        if (equalsIgnoringAsciiCase(entry, name)) {
            out.push_back(entry);
        }
    }
    return out;
}

std::vector<MemoryFolder::Entry> MemoryFolder::folders(const std::vector<std::string>& parts,
                                                       std::size_t count) {
    std::vector<Entry> current{{&root_, "", ""}};
    for (std::size_t i = 0; i < count; ++i) {
        std::vector<Entry> next;
        for (const Entry& e : current) {
            for (const std::string& name : named(*e.parent, parts[i])) {
                Node& child = e.parent->children.at(name);
                if (child.isFolder) {
                    next.push_back({&child, e.folderShown + name + "\\", name});
                }
            }
        }
        current = std::move(next);
    }
    return current;
}

std::vector<MemoryFolder::Entry> MemoryFolder::locate(const std::vector<std::string>& parts) {
    std::vector<Entry> out;
    for (const Entry& folder : folders(parts, parts.size() - 1)) {
        for (const std::string& name : named(*folder.parent, parts.back())) {
            out.push_back({folder.parent, folder.folderShown, name});
        }
    }
    return out;
}

bool MemoryFolder::fileExists(const std::string& path) {
    if (log_ != nullptr) {
        log_->push_back("query " + path);
    }
    for (const Entry& e : locate(split(path))) {
        if (!e.parent->children.at(e.name).isFolder) {
            return true;
        }
    }
    return false;
}

std::optional<RenameError> MemoryFolder::renameNoReplace(const std::string& from,
                                                         const std::string& to) {
    if (log_ != nullptr) {
        log_->push_back("rename " + from + " -> " + to);
    }
    if (auto it = refusals_.find(from); it != refusals_.end()) {
        RenameError error = it->second;
        refusals_.erase(it);
        return error;
    }
    const auto sources = locate(split(from));
    if (sources.empty()) {
        return RenameError{RenameError::Kind::Other, "No such file or directory"};
    }
    if (sources.size() > 1) {
        std::string shown;
        for (const Entry& e : sources) {
            shown += (shown.empty() ? "" : ", ") + e.folderShown + e.name;
        }
        return RenameError{
            RenameError::Kind::Ambiguous,
            "more than one file matches this name when case is ignored (" + shown + ")"};
    }
    const Entry& src = sources.front();
    const std::string target = split(to).back();
    const auto taken = named(*src.parent, target);
    if (!taken.empty()) {
        // The exact spelling, else the first variant in sorted order.
        RenameError error{RenameError::Kind::TargetExists, "already exists"};
        if (taken.front() != target) {
            error.reason += " as " + src.folderShown + taken.front();
        }
        return error;
    }
    auto node = src.parent->children.extract(src.name);
    node.key() = target;
    src.parent->children.insert(std::move(node));
    return std::nullopt;
}

void MemoryFolder::collect(const Node& node, const std::string& prefix,
                           std::map<std::string, std::string>& out) const {
    for (const auto& [name, child] : node.children) {
        if (child.isFolder) {
            collect(child, prefix + name + "\\", out);
        } else {
            out[prefix + name] = child.content;
        }
    }
}

std::map<std::string, std::string> MemoryFolder::files() const {
    std::map<std::string, std::string> out;
    collect(root_, "", out);
    return out;
}

}  // namespace orvando::testing
