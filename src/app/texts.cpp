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

std::string renameFailure(std::string_view oldname, std::string_view finalname,
                          std::string_view reason, int renamesBefore) {
    std::string s = "Cannot rename ";
    s += oldname;
    s += " to ";
    s += finalname;
    s += ": ";
    s += reason;
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

}  // namespace orvando::text
