#include "app/texts.h"

namespace orvando::text {

std::string missingSourceWarning(std::string_view oldname, std::string_view finalname) {
    std::string s = "Cannot locate file: ";
    s += oldname;
    s += " - Final name needs to be: ";
    s += finalname;
    s += " .";
    return s;
}

namespace {
std::string cannotRename(std::string_view oldname, std::string_view finalname,
                         std::string_view reason) {
    std::string s = "Cannot rename ";
    s += oldname;
    s += " to ";
    s += finalname;
    s += ": ";
    s += reason;
    return s;
}
}  // namespace

std::string renameFailure(std::string_view oldname, std::string_view finalname,
                          std::string_view reason, int renamesBefore) {
    std::string s = cannotRename(oldname, finalname, reason);
    s += ".\n\nNothing was overwritten and no further file was renamed. ";
    if (renamesBefore == 0) {
        s += "No file was renamed before this one.";
    } else if (renamesBefore == 1) {
        s += "The 1 rename made before this one stays made.";
    } else {
        s += "The " + std::to_string(renamesBefore) + " renames made before this one stay made.";
    }
    s += "\n\nStart the program again to see the state of the game folder.";
    return s;
}

std::string switchRefused(std::string_view oldname, std::string_view finalname,
                          std::string_view reason, RenameError::Kind kind) {
    std::string s = cannotRename(oldname, finalname, reason);
    s += ".\n\nNo file was renamed: the switch would have stopped there, half done.\n\n";
    switch (kind) {
        case RenameError::Kind::TargetExists:
            s += "Move the file that has that name out of the game folder, or rename it, ";
            break;
        case RenameError::Kind::Ambiguous:
            s += "Keep one of these files under that name and move the others out of the game "
                 "folder, ";
            break;
        case RenameError::Kind::InUse:
            s += "Close the program that uses the file (the game, for example), ";
            break;
        case RenameError::Kind::PermissionDenied:
            s += "Start the program as a user who may change the game folder (on Windows, as "
                 "administrator), or move the game to a folder you may change, ";
            break;
        case RenameError::Kind::Other:
            s += "Mend the cause, ";
            break;
    }
    return s + "then start the program again.";
}

}  // namespace orvando::text
