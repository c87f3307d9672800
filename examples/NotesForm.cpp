// notes_form: a form with a TZorp, a table over a SQLite file, and the
// compressed memo, rich-text and image controls bound to its columns. It
// types (character messages, as the window system delivers them), pastes
// and posts, prints the stored and expanded size of each column, and saves
// what the memo and the image paint. Then it saves the form as a form file
// and reads it into a second form, whose memo binds by adopting the
// compressed field kept in the file.
//
//   notes_form [DATABASE] [OUTPUT_DIR]     (defaults: notes.db, .)
#include "component/Zorp.h"
#include "dbcontrols/CDBImage.h"
#include "dbcontrols/CDBMemo.h"
#include "dbcontrols/CDBRichEdit.h"
#include "dbcontrols/Register.h"
#include "framework/base/FormReader.h"
#include "framework/base/FormWriter.h"
#include "framework/controls/Bitmap.h"
#include "framework/controls/Clipboard.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Messages.h"
#include "framework/db/DataClasses.h"
#include "framework/db/Database.h"
#include "framework/db/SQLiteTable.h"

#include <cstdio>
#include <memory>
#include <string>

using namespace zorp;
using namespace zorp::fw;

namespace {

// A picture to paste: a colour gradient with a frame.
std::unique_ptr<TBitmap> Gradient(int32_t w, int32_t h) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            const bool edge = x == 0 || y == 0 || x == w - 1 || y == h - 1;
            bitmap->SetPixel(x, y, edge ? clBlack : RGB(x * 255 / w, y * 255 / h, 128));
        }
    return bitmap;
}

// Types Text into Control: one WM_CHAR per character ("\r" breaks a line).
void Type(TWinControl& Control, const std::string& Text) {
    for (const char ch : Text)
        Control.Perform(WM_CHAR, static_cast<unsigned char>(ch));
}

void PrintSizes(TDatabase& db) {
    TZorp zorp(nullptr);
    TStatement rows(db, "SELECT rowid, notes, doc, picture FROM memos ORDER BY rowid");
    std::printf("%5s %-8s %10s %10s\n", "row", "column", "stored", "expanded");
    while (rows.Step()) {
        const char* names[] = {"notes", "doc", "picture"};
        for (int c = 1; c <= 3; ++c) {
            const std::string stored = VarToStr(rows.Column(c));
            std::printf("%5s %-8s %10zu %10zu\n", VarToStr(rows.Column(0)).c_str(), names[c - 1],
                        stored.size(), zorp.ExpandString(stored).size());
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    const std::string dbName = argc > 1 ? argv[1] : "notes.db";
    const std::string outDir = argc > 2 ? std::string(argv[2]) + "/" : "./";
    try {
        TForm form(nullptr);
        form.SetName("NotesForm");
        auto* database = new TDatabase(&form);
        database->SetName("NotesDb");
        TDatabase& db = *database;
        db.SetDatabaseName(dbName);
        db.ExecSQL("CREATE TABLE IF NOT EXISTS memos (id INTEGER, notes TEXT, doc RICHTEXT, "
                   "picture GRAPHIC)");
        db.ExecSQL("INSERT INTO memos (id) VALUES (1), (2)");

        auto* table = new TSQLiteTable(&form);
        table->SetName("Memos");
        table->SetDatabase(&db);
        table->SetTableName("memos");
        auto* source = new TDataSource(&form);
        source->SetName("MemosSource");
        source->SetDataSet(table);
        auto* zorp = new TZorp(&form);
        zorp->SetName("Zorp1");

        auto* memo = new TCDBMemo(&form);
        memo->SetName("NotesMemo");
        memo->SetParent(&form);
        memo->SetBounds(0, 0, 240, 120);
        auto* rich = new TCDBRichEdit(&form);
        rich->SetName("DocRich");
        rich->SetParent(&form);
        auto* image = new TCDBImage(&form);
        image->SetName("PictureImage");
        image->SetParent(&form);
        memo->SetCompressSource(zorp);
        memo->SetCompressionMethod(coLZH5);
        memo->SetDataSource(source);
        memo->SetDataField("notes");
        rich->SetCompressSource(zorp);
        rich->SetCompressionMethod(coLZH);
        rich->SetDataSource(source);
        rich->SetDataField("doc");
        image->SetCompressSource(zorp);
        image->SetCompressionMethod(coLZH5);
        image->SetDataSource(source);
        image->SetDataField("picture");
        form.Show();
        table->Open();
        table->Last();

        // Type into the memo and the rich text, paste a picture, post.
        form.SetActiveControl(memo);
        for (int i = 0; i < 20; ++i)
            Type(*memo, "Compressed notes are stored small and read back whole.\r");
        form.SetActiveControl(rich);
        Type(*rich, "Rich text, kept as RTF and compressed with LZH.");
        Clipboard().Assign(*Gradient(64, 48));
        form.SetActiveControl(image);
        image->PasteFromClipboard();
        form.SetActiveControl(memo);
        table->Post();

        PrintSizes(db);
        memo->SaveImageToFile(outDir + "memo.bmp");
        image->SaveImageToFile(outDir + "image.bmp");
        std::printf("painted: %smemo.bmp, %simage.bmp\n", outDir.c_str(), outDir.c_str());

        // The form as a form file, read back into a second form.
        Register();
        RegisterDataControls();
        RegisterDataClasses();
        SaveFormToFile(outDir + "notes_form.txt", form);
        TForm again(nullptr);
        LoadFormFromFile(outDir + "notes_form.txt", again);
        auto* memoAgain = dynamic_cast<TCDBMemo*>(again.FindComponent("NotesMemo"));
        if (memoAgain == nullptr || memoAgain->CompressedField() == nullptr)
            throw Exception("the form read back has no bound memo");
        dynamic_cast<TSQLiteTable&>(*again.FindComponent("Memos")).Last();
        std::printf("form file: %snotes_form.txt; read back, NotesMemo adopted %s and shows "
                    "%zu characters of the last row\n",
                    outDir.c_str(), memoAgain->CompressedField()->Name().c_str(),
                    memoAgain->Text().size());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "notes_form: %s\n", e.what());
        return 1;
    }
    return 0;
}
