// The objects the program's main() makes, over an in-memory game folder, with
// every message box recorded instead of shown.
#pragma once

#include <QMessageBox>
#include <QString>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/frm_music.h"
#include "support/memory_folder.h"
#include "ui/qt/qt_view.h"

namespace orvando::testing {

// Game folders the window tests start in.
enum class Folder {
    Empty,
    Stock,                     // 23 stock names and the 7 replacement names
    Enabled,                   // as a complete enable leaves it
    StockWithoutLastRow,       // stock, row 22's stock name missing
    ProbeBackupOnly,           // only row 2's backup name
    StockAndBackups,           // every stock and every backup name
    StockWithoutReplacements,  // stock, the 2nd and 5th replacement names missing
    EnabledWithoutBackup7,     // enabled, row 7's backup name missing
    StockRefusingRow5,         // stock; the rename of row 5's stock name is refused
};

// What a message box held, and what the window looked like while it was up.
struct RecordedBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    Qt::TextFormat format = Qt::AutoText;
    Qt::WindowModality modality = Qt::NonModal;
    bool standsAlone = false;  // no owner window
    bool windowVisible = false;
    bool renameEnabled = false;
    bool unrenameEnabled = false;
};

void fill(MemoryFolder& folder, Folder kind);

// The contents of every file, sorted: equal before and after a run exactly
// when no file was lost, duplicated or changed.
std::vector<std::string> contents(const MemoryFolder& folder);

class Program {
  public:
    explicit Program(Folder kind);

    std::optional<int> start() { return qt::startWindow(view, form); }
    qt::MusicWindow& window() { return view.window(); }

    MemoryFolder folder;
    qt::QtView view;
    frmMusic form{view, folder};
    std::vector<RecordedBox> boxes;
};

}  // namespace orvando::testing

Q_DECLARE_METATYPE(orvando::testing::Folder)
