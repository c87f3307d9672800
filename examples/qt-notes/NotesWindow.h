// The qt-notes main window: a notes table in a SQLite file, shown through
// the compressed memo, image and rich-text widgets with a record navigator.
#pragma once

#include "component/Zorp.h"
#include "framework/base/Component.h"
#include "framework/db/DataLink.h"
#include "framework/db/DataSource.h"
#include "framework/db/Database.h"
#include "framework/db/SQLiteTable.h"

#include <QMainWindow>
#include <QRect>
#include <string>

class QLabel;

namespace zorp::qt {
class TQtCDBImage;
class TQtCDBMemo;
class TQtCDBRichEdit;
} // namespace zorp::qt

/// The window over a notes database: a toolbar to move through, add, delete, save and
/// cancel records; the note's text (compressed memo), its picture (compressed image) and
/// a formatted note (compressed rich text); and in the status bar the record number and
/// the stored and expanded size of each column.
class TNotesWindow : public QMainWindow {
    Q_OBJECT

public:
    /// Opens (and on first use fills) the notes table of the SQLite file DatabaseName.
    explicit TNotesWindow(const std::string& DatabaseName);
    ~TNotesWindow() override;

    /// The widgets, for the screenshot check.
    /// @{
    zorp::qt::TQtCDBMemo& Memo() { return *FMemo; }
    zorp::qt::TQtCDBImage& Image() { return *FImage; }
    zorp::qt::TQtCDBRichEdit& RichEdit() { return *FRich; }
    /// @}
    /// The status bar's text.
    QString Status() const;

private:
    void BuildToolBar();
    void AddSampleNotes();
    void Run(const std::function<void()>& Action);
    void UpdateStatus();

    zorp::fw::TComponent FModule{nullptr};
    zorp::fw::TDatabase* FDatabase;
    zorp::fw::TSQLiteTable* FTable;
    zorp::fw::TDataSource* FSource;
    zorp::TZorp* FZorp;
    zorp::fw::TFieldDataLink FStatusLink;
    zorp::qt::TQtCDBMemo* FMemo;
    zorp::qt::TQtCDBImage* FImage;
    zorp::qt::TQtCDBRichEdit* FRich;
    QLabel* FStatus;
};
