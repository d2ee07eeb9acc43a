// frmMusic: the logic of the program's one window, written once for every
// front end. It reacts to the window's four events and drives the view and the
// file services; it draws nothing itself and holds no platform code.
//
// Its rename engine (renfile and the two operations) is defined with the
// operations' plans, in engine/operations.cpp. It holds the window's two
// lists (`originalname`, `modname`) as ordered string lists of its own, never
// shown, so no view draws them or hands them to a screen reader. It keeps no
// install state: that lives in the caption and the visible buttons it sets,
// and in the files.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "app/view.h"
#include "catalogue/catalogue.h"
#include "engine/operations.h"
#include "platform/file_services.h"

namespace orvando {

class frmMusic {
  public:
    // The outer width Form_Load narrows the window to, in twips.
    static constexpr float kRunTimeWidth = 4800.0f;

    frmMusic(View& view, FileServices& files) : view_(view), files_(files) {}

    // Runs once before the window is first shown: narrows the window, checks
    // that it stands in a game folder (or says so and ends), and shows the
    // install state in the caption and the buttons that fit it.
    void Form_Load();
    // Enable the modification, then end.
    void rename_Click();
    // Restore the stock music, then end.
    void unrename_Click();
    // Explain what to do about a file that could not be found. Changes nothing.
    void cmdErrorHelp_Click();

    static std::int16_t ListCount(ListName list) {
        return static_cast<std::int16_t>(catalogueColumn(list).size());
    }
    static std::string_view List(ListName list, std::int16_t index) {
        return catalogueColumn(list).at(static_cast<std::size_t>(index));
    }

    // True once the program has been told to end; no handler acts after that.
    bool ended() const { return ended_; }

  private:
    struct RenfileResult {
        enum class Kind { Renamed, Skipped, Refused } kind;
        RenameError error;  // set when refused
    };

    // Where a run stopped: the pair refused, why, and the renames made before.
    struct Stop {
        const RenamePair* pair;
        RenameError error;
        int renamedBefore;
    };

    // Guarded rename of one file in `files`: a missing source is reported
    // (when `warn`) and skipped; a refused rename ends the run.
    RenfileResult renfile(std::string_view oldname, std::string_view finalname, FileServices& files,
                          bool warn);
    // A restore pair refused because its target is taken, whose row has no
    // backup: stock track and replacement are both where a restore puts them.
    bool alreadyInPlace(const RenamePair& pair, const RenameError& error, FileServices& files);
    // The plan's renames in `files`, up to the first refused one.
    std::optional<Stop> run(const OperationPlan& plan, FileServices& files, bool warn);
    void runOperation(const OperationPlan& plan);
    void end(int exitStatus);

    View& view_;
    FileServices& files_;
    bool ended_ = false;
};

}  // namespace orvando
