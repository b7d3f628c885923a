// CAdoResultSet against the scripted platform: variants, counting, the select test.
#include "AdoFake.h"
#include "AdoResultSet.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

struct AdoResultSetTest : ::testing::Test
{
    std::shared_ptr<FakeScript> script = std::make_shared<FakeScript>();
    std::shared_ptr<FakeProvider> provider = std::make_shared<FakeProvider>(script);
    std::shared_ptr<IAdoConnection> connection = provider->CreateConnection();

    void OpenRows(CAdoResultSet& rs)
    {
        ASSERT_TRUE(rs.Open(connection, QStringLiteral("SELECT a FROM t"), Ado::adOpenForwardOnly,
                            Ado::adLockReadOnly, Ado::adUseClient));
    }
};

TEST_F(AdoResultSetTest, EveryVariantTagReadsAsTextOrFails)
{
    const QDateTime when(QDate(2024, 3, 9), QTime(7, 5, 1), Qt::UTC);
    const struct { CAdoVariant value; bool ok; const char* text; } cases[] = {
        {CAdoVariant(), true, ""},
        {CAdoVariant::MakeNull(), true, ""},
        {CAdoVariant::FromInt32(0), true, "0"},
        {CAdoVariant::FromInt32(-42), true, "-42"},
        {CAdoVariant::FromInt32(65536), true, "65536"},
        {CAdoVariant::FromInt32(2147483647), true, "2147483647"},
        {CAdoVariant::FromInt32(-2147483647 - 1), true, "-2147483648"},
        {CAdoVariant::FromDateTime(when), true, "2024-03-09 07:05:01"},
        {CAdoVariant::FromDateTime(QDateTime(QDate(99, 1, 2), QTime(0, 0), Qt::UTC)), true,
         "0099-01-02 00:00:00"},
        {CAdoVariant::FromString(QStringLiteral("it's 中文")), true, "it's 中文"},
        {CAdoVariant::FromTagged(VarTag::I2, 5), false, ""},
        {CAdoVariant::FromDouble(1.5, VarTag::R4), false, ""},
        {CAdoVariant::FromDouble(1.5), false, ""},
        {CAdoVariant::FromTagged(VarTag::Currency, 10000), false, ""},
        {CAdoVariant::FromBool(true), false, ""},
        {CAdoVariant::FromTagged(VarTag::Decimal, 3), false, ""},
        {CAdoVariant::FromTagged(VarTag::UI1, 200), false, ""},
        {CAdoVariant::FromInt64(1LL << 40), false, ""},
        {CAdoVariant::FromBytes(QByteArray("\x01\x02", 2)), false, ""},
    };
    for (const auto& c : cases) {
        script->rows = {{{QStringLiteral("a"), c.value}}};
        CAdoResultSet rs(provider);
        OpenRows(rs);
        QString text = QStringLiteral("previous");
        EXPECT_EQ(rs.GetFieldValue(QStringLiteral("a"), text), c.ok) << "tag " << c.value.Tag();
        EXPECT_EQ(text, QString::fromUtf8(c.text)) << "tag " << c.value.Tag();
    }
}


TEST_F(AdoResultSetTest, IntegerReadingGivesZeroForNullAndThePayloadOtherwise)
{
    script->rows = {{{QStringLiteral("n"), CAdoVariant::MakeNull()},
                     {QStringLiteral("i"), CAdoVariant::FromInt32(123456)},
                     {QStringLiteral("b"), CAdoVariant::FromBool(true)},
                     {QStringLiteral("s"), CAdoVariant::FromString(QStringLiteral("9"))}}};
    CAdoResultSet rs(provider);
    OpenRows(rs);
    qint32 value = 77;
    EXPECT_TRUE(rs.GetFieldValue(QStringLiteral("n"), value));
    EXPECT_EQ(value, 0);
    EXPECT_TRUE(rs.GetFieldValue(QStringLiteral("i"), value));
    EXPECT_EQ(value, 123456);
    EXPECT_TRUE(rs.GetFieldValue(QStringLiteral("b"), value));   // the tag is not checked
    EXPECT_EQ(value, -1);
    EXPECT_TRUE(rs.GetFieldValue(QStringLiteral("s"), value));
    EXPECT_EQ(value, 0);
    EXPECT_THROW(rs.GetFieldValue(QStringLiteral("missing"), value), CAdoException);
}

TEST_F(AdoResultSetTest, KnownRecordCountIsTakenWithoutWalking)
{
    script->recordCount = 2;
    script->rows = {{}, {}};
    CAdoResultSet rs(provider);
    OpenRows(rs);
    script->log.clear();
    EXPECT_EQ(rs.GetRecordCount(), 2);
    EXPECT_EQ(script->log, QStringList{QStringLiteral("Recordset.RecordCount")});
}

TEST_F(AdoResultSetTest, UnknownRecordCountWalksAndReturnsToTheFirstRow)
{
    script->recordCount = -1;
    for (int i = 1; i <= 3; ++i)
        script->rows << QMap<QString, CAdoVariant>{{QStringLiteral("a"), CAdoVariant::FromInt32(i)}};
    CAdoResultSet rs(provider);
    OpenRows(rs);
    rs.MoveNext();   // a caller that already moved on still counts all rows
    script->log.clear();
    EXPECT_EQ(rs.GetRecordCount(), 3);
    EXPECT_EQ(script->log, (QStringList{QStringLiteral("Recordset.RecordCount"),
                                        QStringLiteral("Recordset.MoveFirst"),
                                        QStringLiteral("Recordset.MoveNext"),
                                        QStringLiteral("Recordset.MoveNext"),
                                        QStringLiteral("Recordset.MoveNext"),
                                        QStringLiteral("Recordset.MoveFirst")}));
    qint32 first = 0;
    rs.GetFieldValue(QStringLiteral("a"), first);
    EXPECT_EQ(first, 1);
}

TEST_F(AdoResultSetTest, UnknownRecordCountOfNoRowsIsZeroWithoutMoving)
{
    script->recordCount = -1;
    CAdoResultSet rs(provider);
    OpenRows(rs);
    script->log.clear();
    EXPECT_EQ(rs.GetRecordCount(), 0);
    EXPECT_EQ(script->log, QStringList{QStringLiteral("Recordset.RecordCount")});
}

TEST_F(AdoResultSetTest, SelectTestTakesSevenCharactersWithTheBlank)
{
    const struct { const char* sql; bool select; } cases[] = {
        {"select * from t", true},     {"SELECT id FROM t", true}, {"SeLeCt a", true},
        {"SELECT ", true},             {"SELECT\tid FROM t", false}, {" SELECT id", false},
        {"SELECT", false},             {"selec", false},          {"", false},
        {"DELETE FROM t", false},      {"SELECTED", false},       {"INSERT INTO t", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CAdoResultSet::IsSelectStatement(QString::fromLatin1(c.sql)), c.select) << c.sql;
}

TEST_F(AdoResultSetTest, ExecuteOpensSelectsDynamicallyAndRunsOtherStatementsAsCommands)
{
    CAdoResultSet rs(provider);
    EXPECT_TRUE(rs.Execute(connection, QStringLiteral("select a from t")));
    EXPECT_EQ(script->log,
              QStringList{QStringLiteral("Recordset.Open(select a from t,conn,2,4,-1)")});
    script->log.clear();

    EXPECT_TRUE(rs.Execute(connection, QStringLiteral("DELETE FROM t")));
    EXPECT_EQ(script->log, (QStringList{QStringLiteral("Recordset.Close"),
                                        QStringLiteral("Command.ActiveConnection=conn"),
                                        QStringLiteral("Command.CommandText=DELETE FROM t"),
                                        QStringLiteral("Command.CommandType=4"),
                                        QStringLiteral("Command.Execute(1)")}));
    EXPECT_TRUE(rs.IsOpen());   // the command's rows became the object's
    script->log.clear();

    // An empty statement runs the stored one again.
    script->commandReturnsRows = false;
    EXPECT_FALSE(rs.Execute(connection, QString()));
    EXPECT_TRUE(script->log.contains(QStringLiteral("Command.CommandText=DELETE FROM t")));
    EXPECT_EQ(rs.GetSql(), u"DELETE FROM t");
    EXPECT_FALSE(rs.IsOpen());
}

TEST_F(AdoResultSetTest, OpenSetsTheCursorLocationAndKeepsTheDescriptionOfAFailure)
{
    CAdoResultSet rs(provider);
    OpenRows(rs);
    EXPECT_EQ(script->log, (QStringList{QStringLiteral("Recordset.CursorLocation=3"),
                                        QStringLiteral("Recordset.Open(SELECT a FROM t,conn,0,1,8)")}));
    script->recordsetOpenFailure = CAdoException(AdoStatus::Fail, QStringLiteral("S"),
                                                 QStringLiteral("no such table: t"));
    try {
        rs.Open(connection, QString(), Ado::adOpenForwardOnly, Ado::adLockReadOnly,
                Ado::adUseClient);
        ADD_FAILURE() << "the failure must reach the caller";
    } catch (const CAdoException& e) {
        EXPECT_EQ(e.Code(), AdoStatus::Fail);
    }
    EXPECT_EQ(rs.GetLastErrorText(), u"no such table: t");
    EXPECT_TRUE(script->log.contains(QStringLiteral("Recordset.Open(SELECT a FROM t,conn,0,1,8)")));
}

TEST_F(AdoResultSetTest, MissingPlatformObjectsFailWithInvalidPointer)
{
    script->createRecordset = false;
    script->createCommand = false;
    CAdoResultSet rs(provider);
    EXPECT_FALSE(rs.IsOpen());
    try {
        rs.Open(connection, QStringLiteral("SELECT a FROM t"), 0, 1, 3);
        ADD_FAILURE();
    } catch (const CAdoException& e) {
        EXPECT_EQ(e.Code(), AdoStatus::Pointer);
    }
    EXPECT_THROW(rs.Execute(connection, QStringLiteral("DELETE FROM t")), CAdoException);
    EXPECT_THROW(rs.GetRecordCount(), CAdoException);
    EXPECT_TRUE(rs.GetLastErrorText().isEmpty());   // no error object, no description
}

} // namespace
