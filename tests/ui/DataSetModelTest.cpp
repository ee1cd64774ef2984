#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QStyleOptionViewItem>
#include <QTest>

#include "tests/dbaccess/DbAccessFixture.h"
#include "ui/DBGrid.h"
#include "ui/DataSetModel.h"
#include "ui/LookupDelegate.h"

namespace {

QStringList gModelTestFailures;

void CollectModelTestFailures(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtDebugMsg && context.category && QByteArray(context.category) == "qt.modeltest")
        gModelTestFailures << message;
}

class DataSetModelTest : public DbAccessTest {
protected:
    void SetUp() override {
        if (!QApplication::instance()) {
            // Window tests draw off screen, also when run outside CTest.
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
            static int argc = 1;
            static char name[] = "test_ui";
            static char* argv[] = {name, nullptr};
            new QApplication(argc, argv);
        }
        gModelTestFailures.clear();
        previousHandler = qInstallMessageHandler(CollectModelTestFailures);
        DbAccessTest::SetUp();
        Exec("insert into T (ID, NAME) values (1, 'one')");
        Exec("insert into T (ID, NAME) values (2, '\xE4\xE2\xE0')");  // два
        Attach(ds);
        ds.SetSelectSQL("select ID, NAME, QTY from T order by ID");
        ds.SetInsertSQL("insert into T (ID, NAME, QTY) values (?new_ID, ?new_NAME, ?new_QTY)");
        ds.SetUpdateSQL("update T set NAME = ?new_NAME, QTY = ?new_QTY where ID = ?old_ID");
        ds.SetDeleteSQL("delete from T where ID = ?old_ID");
        ds.AutoCommit = true;
    }
    void TearDown() override {
        tester.reset();
        model.reset();
        qInstallMessageHandler(previousHandler);
        EXPECT_TRUE(gModelTestFailures.isEmpty()) << gModelTestFailures.join("\n").toStdString();
        DbAccessTest::TearDown();
    }
    void MakeModel() {
        model = std::make_unique<TDataSetModel>(&ds);
        tester = std::make_unique<QAbstractItemModelTester>(
            model.get(), QAbstractItemModelTester::FailureReportingMode::Warning);
    }
    QString Cell(int row, int column) { return model->data(model->index(row, column)).toString(); }

    TEnhIBDataSet ds;
    std::unique_ptr<TDataSetModel> model;
    std::unique_ptr<QAbstractItemModelTester> tester;
    QtMessageHandler previousHandler = nullptr;
};

TEST_F(DataSetModelTest, ShowsEditsInsertsAndDeletesRows) {
    MakeModel();
    EXPECT_EQ(model->rowCount(), 0);
    ds.Open();
    ASSERT_EQ(model->rowCount(), 2);
    ASSERT_EQ(model->columnCount(), 3);
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "NAME");
    EXPECT_EQ(Cell(1, 1), QString::fromUtf8("два"));
    EXPECT_TRUE(model->flags(model->index(0, 1)) & Qt::ItemIsEditable);

    // Editing stays pending until the row is left; Cyrillic reaches the table as WIN1251.
    ASSERT_TRUE(model->setData(model->index(0, 1), QString::fromUtf8("Один")));
    EXPECT_EQ(ds.State(), TDataSetState::dsEdit);
    EXPECT_EQ(Str("select NAME from T where ID = 1"), "one");
    model->LeaveRow();
    EXPECT_EQ(Str("select NAME from T where ID = 1"), "\xCE\xE4\xE8\xED");

    // A new row at the end, posted when the grid moves to another row.
    ASSERT_TRUE(model->insertRows(2, 1));
    ASSERT_EQ(model->rowCount(), 3);
    model->SetValue(2, 0, "3");
    model->SetValue(2, 2, "7");
    model->SetValue(0, 2, "5");  // moving to row 0 posts row 2
    model->LeaveRow();
    EXPECT_EQ(Int("select QTY from T where ID = 3"), 7);
    EXPECT_EQ(Int("select QTY from T where ID = 1"), 5);

    // Escape drops a new row; an untouched new row goes when the grid leaves it.
    model->InsertRow(1);
    EXPECT_EQ(model->rowCount(), 4);
    model->revert();
    EXPECT_EQ(model->rowCount(), 3);
    model->InsertRow(0);
    model->SetValue(3, 1, "x");  // the rows below the dropped one move up
    EXPECT_EQ(ds.FieldByName("ID").AsInteger(), 3);
    model->CancelRow();

    // Delete asks first.
    std::vector<TMessageRequest> asked;
    int answer = mrCancel;
    {
        TScopedMessageHandler h([&](const TMessageRequest& r) {
            asked.push_back(r);
            return answer;
        });
        EXPECT_FALSE(model->DeleteRowConfirmed(2));
        answer = mrOk;
        EXPECT_TRUE(model->DeleteRowConfirmed(2));
    }
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].Text, "Delete record?");
    EXPECT_EQ(asked[0].Type, mtConfirmation);
    EXPECT_EQ(asked[0].Buttons, mbOKCancel);
    EXPECT_EQ(model->rowCount(), 2);
    EXPECT_TRUE(model->removeRows(0, 2));
    EXPECT_EQ(Int("select count(*) from T"), 0);

    ds.Close();
    EXPECT_EQ(model->rowCount(), 0);
    ds.Open();
    EXPECT_EQ(model->rowCount(), 0);
}

TEST_F(DataSetModelTest, PostErrorsReachTheCallerAndTheRowStaysInEdit) {
    MakeModel();
    ds.Open();
    model->InsertRow(2);
    model->SetValue(2, 0, "1");  // duplicate key
    EXPECT_THROW(model->LeaveRow(), EFIBInterBaseError);
    EXPECT_EQ(ds.State(), TDataSetState::dsInsert);
    EXPECT_EQ(model->rowCount(), 3);
    EXPECT_EQ(Cell(2, 0), "1");

    // Through the item-model calls the error goes to OnError and the call fails.
    std::vector<std::string> errors;
    model->OnError = [&](const std::exception& e) { errors.push_back(e.what()); };
    EXPECT_FALSE(model->setData(model->index(0, 1), "moved"));  // leaving row 2 fails
    EXPECT_FALSE(model->setData(model->index(2, 2), "abc"));
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[1], "'abc' is not a valid integer value");
    EXPECT_EQ(ds.CurrentRow(), 2);
    model->SetValue(2, 0, "9");
    model->LeaveRow();
    EXPECT_EQ(Int("select count(*) from T"), 3);
}

TEST_F(DataSetModelTest, LookupColumnIsEditedThroughItsNames) {
    Exec("insert into DEPT (ID, TITLE) values (1, 'Sales')");
    Exec("insert into DEPT (ID, TITLE) values (2, '\xD1\xEA\xEB\xE0\xE4')");  // Склад
    Exec("update T set QTY = 1");
    TEnhIBDataSet depts;
    Attach(depts);
    depts.SetSelectSQL("select ID, TITLE from DEPT order by ID");
    for (const char* name : {"ID", "NAME", "QTY"}) ds.AddField(std::make_unique<TEnhIntegerField>()).SetFieldName(name);
    AddDeptLookup(ds, depts);
    MakeModel();
    model->SetColumns({{"ID", "Id"}, {"Dept", ""}});
    ds.Open();
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), "Id");
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "Dept");
    EXPECT_EQ(Cell(0, 1), "Sales");
    EXPECT_FALSE(model->index(0, 0).data(TDataSetModel::LookupListRole).isValid());

    TLookupDelegate delegate;
    QWidget parent;
    const QModelIndex cell = model->index(1, 1);
    std::unique_ptr<QWidget> editor(delegate.createEditor(&parent, QStyleOptionViewItem(), cell));
    auto* combo = qobject_cast<QComboBox*>(editor.get());
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(1), QString::fromUtf8("Склад"));
    delegate.setEditorData(combo, cell);
    EXPECT_EQ(combo->currentIndex(), 0);
    combo->setCurrentIndex(1);
    delegate.setModelData(combo, model.get(), cell);
    EXPECT_EQ(Cell(1, 1), QString::fromUtf8("Склад"));
    model->LeaveRow();
    EXPECT_EQ(Int("select QTY from T where ID = 2"), 2);

    std::unique_ptr<QWidget> plain(delegate.createEditor(&parent, QStyleOptionViewItem(), model->index(0, 0)));
    EXPECT_EQ(qobject_cast<QComboBox*>(plain.get()), nullptr);
}

TEST_F(DataSetModelTest, GridPostsWhenLeavingTheRowAndKeepsAFailedOne) {
    MakeModel();
    ds.Open();
    TDBGrid grid;
    grid.SetDataSetModel(model.get());
    grid.show();
    grid.setCurrentIndex(model->index(0, 1));
    model->SetValue(0, 1, "changed");
    grid.setCurrentIndex(model->index(1, 1));
    EXPECT_EQ(Str("select NAME from T where ID = 1"), "changed");

    QTest::keyClick(&grid, Qt::Key_Down);  // below the last row: a new row
    ASSERT_EQ(model->rowCount(), 3);
    EXPECT_EQ(ds.State(), TDataSetState::dsInsert);
    model->SetValue(2, 0, "2");  // duplicate key
    grid.setCurrentIndex(model->index(0, 0));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Type, mtError);
    EXPECT_EQ(grid.currentIndex().row(), 2);
    EXPECT_EQ(ds.State(), TDataSetState::dsInsert);
    QTest::keyClick(&grid, Qt::Key_Escape);
    EXPECT_EQ(model->rowCount(), 2);

    grid.setCurrentIndex(model->index(1, 0));
    QTest::keyClick(&grid, Qt::Key_Delete, Qt::ControlModifier);  // the handler answers Cancel
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].Text, "Delete record?");
    EXPECT_EQ(model->rowCount(), 2);
}

}  // namespace
