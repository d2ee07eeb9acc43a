// What both platforms' benchmarks share: a window that records only what a
// run ended with, and the system's file primitive counting its folder reads.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "app/frm_music.h"
#include "platform/name_rules.h"

namespace orvando::bench {

class NullView final : public View {
  public:
    void setWidth(float) override {}
    void setCaption(const std::string&) override {}
    void setButtonVisible(ActionButton, bool) override {}
    void setButtonEnabled(ActionButton, bool) override {}
    void setVisible(bool) override {}
    void msgBox(const std::string&, MsgBoxStyle, const std::string&) override { ++boxes; }
    void end(int status) override { exitStatus = status; }
    int boxes = 0;
    int exitStatus = -1;
};

class CountingAccess final : public FolderAccess {
  public:
    CountingAccess(const std::string& folder, std::uint64_t& reads)
        : inner_(makeSystemFolderAccess(folder)), reads_(reads) {}
    Kind kindOf(const std::string& path) override { return inner_->kindOf(path); }
    Listing list(const std::string& folder, const std::string& like) override {
        ++reads_;
        return inner_->list(folder, like);
    }
    std::optional<RenameError> renameStep(const std::string& from, const std::string& to,
                                          const FreeCheck& stillFree) override {
        return inner_->renameStep(from, to, stillFree);
    }
    std::optional<RenameError> mayRename(const std::string& path) override {
        return inner_->mayRename(path);
    }
    bool sameFile(const std::string& a, const std::string& b) override {
        return inner_->sameFile(a, b);
    }

  private:
    std::unique_ptr<FolderAccess> inner_;
    std::uint64_t& reads_;
};

// One enable and one restore in `folder`, each a run of its own as the program
// makes them, reading through the counting primitive. False unless both ran
// clean: no box, exit status 0.
inline bool cycle(const std::string& folder, std::uint64_t& reads) {
    for (bool enable : {true, false}) {
        auto files = makeFileServices(std::make_unique<CountingAccess>(folder, reads));
        NullView view;
        frmMusic form(view, *files);
        enable ? form.rename_Click() : form.unrename_Click();
        if (view.exitStatus != 0 || view.boxes != 0) {
            return false;
        }
    }
    return true;
}

}  // namespace orvando::bench
