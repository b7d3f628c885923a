// CAdoDatabase against the scripted platform: open and execute results, error texts.
#include "AdoDatabase.h"
#include "AdoErrorText.h"
#include "AdoFake.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

struct AdoDatabaseTest : ::testing::Test
{
    std::shared_ptr<FakeScript> script = std::make_shared<FakeScript>();
    std::shared_ptr<FakeProvider> provider = std::make_shared<FakeProvider>(script);
};

HRESULT H(quint32 code) { return static_cast<HRESULT>(code); }

TEST_F(AdoDatabaseTest, EmptyConnectionStringOnFreshObjectFailsWithFullErrorText)
{
    script->openFailure = CAdoException(AdoStatus::Fail, QStringLiteral("Microsoft OLE DB Provider"),
                                        QStringLiteral("Data source name not found"));
    script->messages[AdoStatus::Fail] = QStringLiteral("Unspecified error\r\n");
    CAdoDatabase db(provider);
    EXPECT_FALSE(db.Open());
    EXPECT_EQ(script->log, QStringList{QStringLiteral("Connection.Open(,,,-1)")});
    EXPECT_EQ(db.GetLastErrorText(),
              QStringLiteral("Connection String = \nCAdoDatabase Error\n\tCode = 80004005\n"
                             "\tCode meaning = Unspecified error\n"
                             "\tSource = Microsoft OLE DB Provider\n"
                             "\tDescription = Data source name not found\n"));
    EXPECT_FALSE(db.IsOpen());
}

TEST_F(AdoDatabaseTest, CodeMeaningWithoutSystemTextFollowsTheDispatchRangeAtItsBounds)
{
    const struct { quint32 code; const char* meaning; } cases[] = {
        {0x800401FF, "Unknown error 0x800401FF"},
        {0x80040200, "Unknown error 0x80040200"},   // n = 0 has no dispatch number
        {0x80040201, "IDispatch error #1"},
        {0x80040E2F, "IDispatch error #3119"},
        {0x8004FFFF, "IDispatch error #65023"},     // 0xFDFF, the last one
        {0x80050000, "Unknown error 0x80050000"},
        {0x00040201, "Unknown error 0x40201"},      // positive: above the range when signed
        {0x7FFFFFFF, "Unknown error 0x7FFFFFFF"},
        {0x0, "Unknown error 0x0"},
        {0xFFFFFFFF, "Unknown error 0xFFFFFFFF"},
    };
    for (const auto& c : cases) {
        script->openFailure = CAdoException(H(c.code));
        CAdoDatabase db(provider);
        EXPECT_FALSE(db.Open(QStringLiteral("DBQ=x;")));
        const QString code = QStringLiteral("%1").arg(c.code, 8, 16, QChar(u'0'));
        EXPECT_EQ(db.GetLastErrorText(),
                  QStringLiteral("Connection String = DBQ=x;\nCAdoDatabase Error\n\tCode = ") + code
                      + QStringLiteral("\n\tCode meaning = ") + QString::fromLatin1(c.meaning)
                      + QStringLiteral("\n\tSource = (null)\n\tDescription = (null)\n"))
            << std::hex << c.code;
    }
}

TEST_F(AdoDatabaseTest, SystemTextLosesOneLineFeedAndTheCarriageReturnBeforeIt)
{
    EXPECT_EQ(AdoErrorText::CodeMeaning(AdoStatus::Fail, QStringLiteral("Bad\r\n")), u"Bad");
    EXPECT_EQ(AdoErrorText::CodeMeaning(AdoStatus::Fail, QStringLiteral("Bad\n")), u"Bad");
    EXPECT_EQ(AdoErrorText::CodeMeaning(AdoStatus::Fail, QStringLiteral("Bad\r\n\r\n")),
              u"Bad\r\n");
    EXPECT_EQ(AdoErrorText::CodeMeaning(AdoStatus::Fail, QStringLiteral("Bad\r")), u"Bad\r");
    // A system text wins over the dispatch rule.
    EXPECT_EQ(AdoErrorText::CodeMeaning(H(0x80040201), QStringLiteral("Known\r\n")), u"Known");
}

TEST_F(AdoDatabaseTest, NonZeroSuccessStatusIsNotAnOpen)
{
    script->openStatus = 1;
    CAdoDatabase db(provider);
    EXPECT_FALSE(db.Open(QStringLiteral("A")));
    EXPECT_TRUE(db.GetLastErrorText().isEmpty());
    EXPECT_EQ(db.GetConnectionString(), u"A");
}

TEST_F(AdoDatabaseTest, ReopeningClosesFirstAndAnEmptyStringReopensTheLastOne)
{
    CAdoDatabase db(provider);
    ASSERT_TRUE(db.Open(QStringLiteral("A")));
    ASSERT_TRUE(db.Open(QStringLiteral("B")));
    ASSERT_TRUE(db.Open());
    EXPECT_EQ(script->log, (QStringList{QStringLiteral("Connection.Open(A,,,-1)"),
                                        QStringLiteral("Connection.Close"),
                                        QStringLiteral("Connection.Open(B,,,-1)"),
                                        QStringLiteral("Connection.Close"),
                                        QStringLiteral("Connection.Open(B,,,-1)")}));
    db.Close();
    EXPECT_FALSE(db.IsOpen());
}

TEST_F(AdoDatabaseTest, ErrorTextStaysAfterALaterSuccess)
{
    CAdoDatabase db(provider);
    script->openFailure = CAdoException(AdoStatus::Fail);
    ASSERT_FALSE(db.Open(QStringLiteral("A")));
    const QString kept = db.GetLastErrorText();
    ASSERT_FALSE(kept.isEmpty());
    script->openFailure.reset();
    ASSERT_TRUE(db.Open(QStringLiteral("B")));
    EXPECT_EQ(db.GetLastErrorText(), kept);
}

TEST_F(AdoDatabaseTest, ExecuteReportsTheCountOrLeavesItAlone)
{
    CAdoDatabase db(provider);
    ASSERT_TRUE(db.Open(QStringLiteral("A")));
    script->executeCount = CAdoVariant::FromInt32(7);
    qint32 count = -5;
    EXPECT_TRUE(db.Execute(QStringLiteral("UPDATE t SET a=1"), count));
    EXPECT_EQ(count, 7);
    EXPECT_EQ(script->log.last(), u"Connection.Execute(UPDATE t SET a=1,128)");

    script->executeFailure = CAdoException(AdoStatus::IntegrityViolation, QStringLiteral("S"),
                                           QStringLiteral("refused"));
    count = 99;
    EXPECT_FALSE(db.Execute(QStringLiteral("INSERT"), count));
    EXPECT_EQ(count, 99);
    EXPECT_EQ(db.GetLastErrorText(),
              QStringLiteral("Connection String = A\nCAdoDatabase Error\n\tCode = 80040e2f\n"
                             "\tCode meaning = IDispatch error #3119\n\tSource = S\n"
                             "\tDescription = refused\n"));
}

TEST_F(AdoDatabaseTest, MissingConnectionObjectFailsWithInvalidPointer)
{
    script->createConnection = false;
    CAdoDatabase db(provider);
    EXPECT_FALSE(db.IsOpen());
    EXPECT_FALSE(db.GetConnection());
    EXPECT_FALSE(db.Open(QStringLiteral("A")));
    EXPECT_TRUE(db.GetLastErrorText().contains(u"\tCode = 80004003\n")) << db.GetLastErrorText().toStdString();
    qint32 count = 3;
    EXPECT_FALSE(db.Execute(QStringLiteral("DELETE FROM t"), count));
    EXPECT_EQ(count, 3);
}

TEST_F(AdoDatabaseTest, StateFailureTravelsFromIsOpenButNotFromOpen)
{
    CAdoDatabase db(provider);
    script->stateFailure = CAdoException(AdoStatus::Fail);
    EXPECT_THROW(db.IsOpen(), CAdoException);
    EXPECT_FALSE(db.Open(QStringLiteral("A")));
    script->stateFailure.reset();   // so the destructor can close
}

} // namespace
