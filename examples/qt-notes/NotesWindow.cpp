#include "NotesWindow.h"

#include "dbcontrols/CompressedFields.h"
#include "framework/controls/Bitmap.h"
#include "framework/controls/RichText.h"
#include "qtcontrols/ControlHost.h"
#include "qtcontrols/QtCDBImage.h"
#include "qtcontrols/QtCDBMemo.h"
#include "qtcontrols/QtCDBRichEdit.h"

#include <QGridLayout>
#include <QLabel>
#include <QStatusBar>
#include <QToolBar>

using namespace zorp;

namespace {

struct TSampleNote {
    const char* Title;
    const char* Body;
    fw::TColor Left;
    fw::TColor Right;
};

const TSampleNote SampleNotes[] = {
    {"Compressed notes",
     "Every note is stored compressed with LZH5 and expanded as it is shown.\n"
     "Type to edit, Escape to undo, Save to store.\n"
     "The status bar shows the stored and the expanded size of each column.",
     fw::RGB(220, 30, 30), fw::RGB(30, 60, 220)},
    {"Pictures", "Paste a picture with Ctrl+V: it is stored as a compressed bitmap.",
     fw::RGB(30, 160, 60), fw::RGB(240, 200, 20)},
    {"Formatted text", "The note below keeps bold, italic and sizes as compressed RTF.",
     fw::RGB(120, 40, 160), fw::RGB(250, 250, 250)},
};

// A 96 x 64 picture: two coloured halves in a black frame.
void DrawSamplePicture(fw::TColor Left, fw::TColor Right, fw::TBitmap& Bitmap) {
    Bitmap.SetPixelFormat(fw::pf24bit);
    Bitmap.SetSize(96, 64);
    for (int32_t y = 0; y < 64; ++y)
        for (int32_t x = 0; x < 96; ++x) {
            const bool edge = x == 0 || y == 0 || x == 95 || y == 63;
            Bitmap.SetPixel(x, y, edge ? fw::clBlack : (x < 48 ? Left : Right));
        }
}

// A title in bold 16 points, then the body in 11 points with one italic word.
std::string SampleDocument(const TSampleNote& Note) {
    fw::TRichText doc;
    const auto add = [&doc](const std::string& Text, fw::TTextAttributes Attributes) {
        doc.Text += Text;
        doc.Attributes.insert(doc.Attributes.end(), Text.size(), Attributes);
    };
    add(Note.Title, {true, false, 16});
    add("\r\nWritten in the ", {false, false, 11});
    add("qt-notes", {false, true, 11});
    add(" example.", {false, false, 11});
    return fw::WriteRichText(doc, "DejaVu Sans");
}

int64_t StoredSize(fw::TDatabase& Db, int64_t RowId, const char* Column) {
    fw::TStatement s(Db, std::string("SELECT length(") + Column +
                             ") FROM notes WHERE rowid = " + std::to_string(RowId));
    return s.Step() ? std::stoll("0" + fw::VarToStr(s.Column(0))) : 0;
}

} // namespace

TNotesWindow::TNotesWindow(const std::string& DatabaseName)
    : FDatabase(new fw::TDatabase(&FModule)), FTable(new fw::TSQLiteTable(&FModule)),
      FSource(new fw::TDataSource(&FModule)), FZorp(new TZorp(&FModule)), FMemo(new qt::TQtCDBMemo),
      FImage(new qt::TQtCDBImage), FRich(new qt::TQtCDBRichEdit), FStatus(new QLabel) {
    setWindowTitle("qt-notes");
    FDatabase->SetDatabaseName(DatabaseName);
    FDatabase->ExecSQL("CREATE TABLE IF NOT EXISTS notes (id INTEGER PRIMARY KEY, body TEXT, "
                       "picture GRAPHIC, doc RICHTEXT)");
    FTable->SetName("Notes");
    FTable->SetDatabase(FDatabase);
    FTable->SetTableName("notes");
    FSource->SetDataSet(FTable);

    // The widgets bind while the table is closed: each adds its compressed field.
    FMemo->Control().SetName("BodyMemo");
    FImage->Control().SetName("PictureImage");
    FRich->Control().SetName("DocRichEdit");
    FMemo->Control().SetCompressSource(FZorp);
    FMemo->Control().SetCompressionMethod(coLZH5);
    FMemo->Control().SetDataSource(FSource);
    FMemo->Control().SetDataField("body");
    FImage->Control().SetCompressSource(FZorp);
    FImage->Control().SetCompressionMethod(coLZH5);
    FImage->Control().SetDataSource(FSource);
    FImage->Control().SetDataField("picture");
    FRich->Control().SetCompressSource(FZorp);
    FRich->Control().SetCompressionMethod(coLZH);
    FRich->Control().SetDataSource(FSource);
    FRich->Control().SetDataField("doc");

    auto* central = new QWidget;
    auto* grid = new QGridLayout(central);
    grid->addWidget(FMemo, 0, 0);
    grid->addWidget(FImage, 0, 1);
    grid->addWidget(FRich, 1, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    FImage->setMinimumSize(160, 120);
    setCentralWidget(central);
    statusBar()->addWidget(FStatus, 1);
    BuildToolBar();

    FStatusLink.SetDataSource(FSource);
    FStatusLink.OnDataChange = [this] { UpdateStatus(); };
    FTable->Open();
    if (FTable->RecordCount() == 0)
        AddSampleNotes();
    FTable->First();
    UpdateStatus();
    resize(800, 440);
}

TNotesWindow::~TNotesWindow() {
    FStatusLink.OnDataChange = nullptr;
    // The widgets go before the table and the component they are bound to.
    delete takeCentralWidget();
}

void TNotesWindow::BuildToolBar() {
    QToolBar* bar = addToolBar("Records");
    const auto add = [this, bar](const char* Text, std::function<void()> Action) {
        bar->addAction(Text, this, [this, Action] {
            Run(Action);
            UpdateStatus();
        });
    };
    add("First", [this] { FTable->First(); });
    add("Prior", [this] { FTable->Prior(); });
    add("Next", [this] { FTable->Next(); });
    add("Last", [this] { FTable->Last(); });
    add("New", [this] { FTable->Append(); });
    add("Delete", [this] { FTable->Delete(); });
    add("Save", [this] { FTable->Post(); });
    add("Cancel", [this] { FTable->Cancel(); });
}

void TNotesWindow::AddSampleNotes() {
    for (const TSampleNote& note : SampleNotes) {
        FTable->Append();
        FMemo->Control().CompressedField()->SetAsString(note.Body);
        FRich->Control().CompressedField()->SetAsString(SampleDocument(note));
        fw::TBitmap picture;
        DrawSamplePicture(note.Left, note.Right, picture);
        FImage->Control().CompressedField()->LoadFromBitmap(picture);
        FTable->Post();
    }
}

void TNotesWindow::Run(const std::function<void()>& Action) {
    qt::RunReported(Action);
}

QString TNotesWindow::Status() const {
    return FStatus->text();
}

void TNotesWindow::UpdateStatus() {
    if (!FTable->Active())
        return;
    QString text = QString("Record %1 of %2").arg(FTable->RecNo()).arg(FTable->RecordCount());
    for (const char* column : {"body", "picture", "doc"}) {
        fw::TField* field = FTable->FindField(column);
        const int64_t stored = StoredSize(*FDatabase, FTable->RowId(), column);
        size_t expanded = 0;
        qt::RunReported([&] { expanded = field != nullptr ? field->AsString().size() : 0; });
        text += QString("  |  %1: %2 stored, %3 expanded").arg(column).arg(stored).arg(expanded);
    }
    FStatus->setText(text);
}
