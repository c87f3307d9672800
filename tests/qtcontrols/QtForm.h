// A window over a real SQLite table, as the Qt widget tests use it: the
// table, a data source and a TZorp (owned by a data module), one widget W
// whose headless control is bound to a column, and a line edit to move the
// focus to. Messages the controls show are collected in Messages.
#pragma once

#include "component/Zorp.h"
#include "framework/base/Component.h"
#include "framework/controls/Dialogs.h"
#include "framework/db/DataSource.h"
#include "framework/db/Database.h"
#include "framework/db/SQLiteTable.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace zorp::test {

template <class W> class QtForm : public testing::Test {
protected:
    // A table "notes" made by CreateSQL and InsertSQL, with W bound to Column.
    void Build(const std::string& CreateSQL, const std::string& InsertSQL,
               const std::string& Column, TZorpMethod Method) {
        FColumn = Column;
        Db.SetDatabaseName(Dir / "qt.db");
        Db.ExecSQL(CreateSQL);
        Db.ExecSQL(InsertSQL);
        Table = new fw::TSQLiteTable(&Module);
        Table->SetDatabase(&Db);
        Table->SetTableName("notes");
        Source = new fw::TDataSource(&Module);
        Source->SetDataSet(Table);
        Zorp = new TZorp(&Module);
        Window = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(Window.get());
        Widget = new W(Window.get());
        Other = new QLineEdit(Window.get());
        layout->addWidget(Widget);
        layout->addWidget(Other);
        auto& control = Widget->Control();
        control.SetName("Control1");
        control.SetCompressSource(Zorp);
        control.SetCompressionMethod(Method);
        control.SetDataSource(Source);
        control.SetDataField(Column);
        Window->resize(320, 400);
        Window->show();
        QApplication::setActiveWindow(Window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(Window.get()));
        FSavedHandler =
            fw::SetShowMessageHandler([this](const std::string& Msg) { Messages.push_back(Msg); });
    }

    void TearDown() override {
        fw::SetShowMessageHandler(FSavedHandler);
        Window.reset(); // the widgets before the data they are bound to
    }

    // Moves the focus as a user's click would.
    void Focus(QWidget* Target) {
        Target->setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
    }

    // What the table holds in the bound column of the current row.
    std::string Stored() {
        fw::TStatement s(Db, "SELECT " + FColumn +
                                 " FROM notes WHERE rowid = " + std::to_string(Table->RowId()));
        EXPECT_TRUE(s.Step());
        return fw::VarToStr(s.Column(0));
    }

    TempDir Dir;
    fw::TDatabase Db{nullptr};
    fw::TComponent Module{nullptr};
    fw::TSQLiteTable* Table = nullptr;
    fw::TDataSource* Source = nullptr;
    TZorp* Zorp = nullptr;
    std::unique_ptr<QWidget> Window;
    W* Widget = nullptr;
    QLineEdit* Other = nullptr;
    std::vector<std::string> Messages;

private:
    std::string FColumn;
    fw::TShowMessageHandler FSavedHandler;
};

} // namespace zorp::test
