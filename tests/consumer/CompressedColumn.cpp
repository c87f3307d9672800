// Stores a text through a compressed memo field in a SQLite table and reads
// it back, the way an application would through the installed zorpdb
// headers and libraries. The table must hold the compressed value and the
// field must hand out the text. Exits 1 on a mismatch.
#include <zorp/component/Zorp.h>
#include <zorp/dbcontrols/CompressedFields.h>
#include <zorp/framework/db/Database.h>
#include <zorp/framework/db/SQLiteTable.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

int main() {
    char name[] = "/tmp/zorpdb_consumer-XXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0)
        return 1;
    close(fd);
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += "A note kept small in its column, and read back whole.\n";
    bool ok = false;
    try {
        zorp::fw::TDatabase db(nullptr);
        db.SetDatabaseName(name);
        db.ExecSQL("CREATE TABLE notes (id INTEGER, body TEXT)");
        db.ExecSQL("INSERT INTO notes (id) VALUES (1)");

        zorp::fw::TSQLiteTable table(nullptr);
        table.SetDatabase(&db);
        table.SetTableName("notes");
        zorp::TZorp zorp(nullptr);
        zorp::fw::TComponent owner(nullptr);        // goes first, with the field
        auto* body = new zorp::TCMemoField(&owner); // freed by its owner
        body->SetFieldName("body");
        body->SetCompressSource(&zorp);
        body->SetCompressionMethod(zorp::coLZH5);
        body->SetDataSet(&table);
        table.Open();
        table.Edit();
        body->SetAsString(text);
        table.Post();
        table.Close();
        table.Open();
        const bool readBack = body->AsString() == text;

        zorp::fw::TStatement row(db, "SELECT body FROM notes");
        const std::string stored = row.Step() ? zorp::fw::VarToStr(row.Column(0)) : "";
        const bool compressed =
            stored.size() < text.size() / 4 && zorp.ExpandString(stored) == text;
        std::printf("%s: field reads back the text\n", readBack ? "ok" : "FAILED");
        std::printf("%s: table holds it compressed (%zu of %zu bytes)\n",
                    compressed ? "ok" : "FAILED", stored.size(), text.size());
        ok = readBack && compressed;
    } catch (const std::exception& e) {
        std::printf("FAILED: %s\n", e.what());
    }
    unlink(name);
    std::printf("zorpdb_consumer: %s\n", ok ? "all checks passed" : "failed");
    return ok ? 0 : 1;
}
