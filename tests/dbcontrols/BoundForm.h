// A form over a real SQLite table, as the control tests use it: the table,
// a data source, a TZorp, one compressed control of class C bound to a
// column, and a plain memo to move the focus to.
#pragma once

#include "component/Zorp.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Memo.h"
#include "framework/db/DataSource.h"
#include "framework/db/Database.h"
#include "framework/db/SQLiteTable.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace zorp::test {

struct TBoundFormSetup {
    std::string CreateSQL;   // the table
    std::string InsertSQL;   // its rows
    std::string TableName;   // as in the SQL
    std::string Column;      // the column the control is bound to
    std::string DataSetName; // component name of the table, or ""
    std::string ControlName;
    TZorpMethod Method;
    bool Open; // open the table once everything is bound
};

template <class C> class BoundForm : public testing::Test {
protected:
    void Build(const TBoundFormSetup& Setup) {
        FTableName = Setup.TableName;
        FColumn = Setup.Column;
        Db.SetDatabaseName(Dir / "form.db");
        Db.ExecSQL(Setup.CreateSQL);
        Db.ExecSQL(Setup.InsertSQL);
        Form = std::make_unique<fw::TForm>(nullptr);
        Table = new fw::TSQLiteTable(Form.get());
        Table->SetName(Setup.DataSetName);
        Table->SetDatabase(&Db);
        Table->SetTableName(Setup.TableName);
        Source = new fw::TDataSource(Form.get());
        Source->SetDataSet(Table);
        Zorp = new TZorp(Form.get());
        Control = new C(Form.get());
        Control->SetName(Setup.ControlName);
        Control->SetParent(Form.get());
        Other = new fw::TCustomMemo(Form.get());
        Other->SetParent(Form.get());
        Control->SetCompressSource(Zorp);
        Control->SetCompressionMethod(Setup.Method);
        Control->SetDataSource(Source);
        Control->SetDataField(Setup.Column);
        Form->Show();
        if (Setup.Open)
            Table->Open();
    }

    // What the table holds in the bound column of the current row.
    std::string Stored() {
        fw::TStatement s(Db, "SELECT " + FColumn + " FROM " + FTableName +
                                 " WHERE rowid = " + std::to_string(Table->RowId()));
        EXPECT_TRUE(s.Step());
        return fw::VarToStr(s.Column(0));
    }

    TempDir Dir;
    fw::TDatabase Db{nullptr};
    std::unique_ptr<fw::TForm> Form;
    fw::TSQLiteTable* Table = nullptr;
    fw::TDataSource* Source = nullptr;
    TZorp* Zorp = nullptr;
    C* Control = nullptr;
    fw::TCustomMemo* Other = nullptr;

private:
    std::string FTableName;
    std::string FColumn;
};

} // namespace zorp::test
