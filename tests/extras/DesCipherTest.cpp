// DES against published known answers, in both directions, and the two
// directions as each other's inverse.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QRandomGenerator>

#include "core/DesCipher.h"

namespace {

struct KnownAnswer
{
    const char* key;
    const char* plain;
    const char* cipher;
};

// The textbook example, the FIPS 81 example ("Now is t"), a key that takes
// one block to zero, and variable-plaintext, variable-key, permutation and
// substitution-table answers of the kind NIST SP 800-17 lists.
const KnownAnswer kAnswers[] = {
    {"133457799BBCDFF1", "0123456789ABCDEF", "85E813540F0AB405"},
    {"0123456789ABCDEF", "4E6F772069732074", "3FA40E8A984D4815"},
    {"0E329232EA6D0D73", "8787878787878787", "0000000000000000"},
    {"0101010101010101", "8000000000000000", "95F8A5E5DD31D900"},
    {"0101010101010101", "4000000000000000", "DD7F121CA5015619"},
    {"0101010101010101", "2000000000000000", "2E8653104F3834EA"},
    {"8001010101010101", "0000000000000000", "95A8D72813DAA94D"},
    {"4001010101010101", "0000000000000000", "0EEC1487DD8C26D5"},
    {"1046913489980131", "0000000000000000", "88D55E54F54C97B4"},
    {"7CA110454A1A6E57", "01A1D6D039776742", "690F5B0D9A26939B"},
    {"0131D9619DC1376E", "5CD54CA83DEF57DA", "7A389D10354BD271"},
    {"07A1133E4A0B2686", "0248D43806F67172", "868EBB51CAB4599A"},
    {"3849674C2602319E", "51454B582DDF440A", "7178876E01F19B2A"},
    {"04B915BA43FEB5B6", "42FD443059577FA2", "AF37FB421F8C4095"},
    {"0113B970FD34F2CE", "059B5E0851CF143A", "86A560F10EC6D85B"},
    {"0170F175468FB5E6", "0756D8E0774761D2", "0CD3DA020021DC09"},
    {"43297FAD38E373FE", "762514B829BF486A", "EA676B2CB7DB2B7A"},
    {"07A7137045DA2A16", "3BDD119049372802", "DFD64A815CAF1A0F"},
    {"04689104C2FD3B2F", "26955F6835AF609A", "5C513C9C4886C088"},
    {"37D06BB516CB7546", "164D5E404F275232", "0A2AEEAE3FF4AB77"},
    {"1F08260D1AC2465E", "6B056E18759F5CCA", "EF1BF03E5DFA575A"},
    {"584023641ABA6176", "004BD6EF09176062", "88BF0DB6D70DEE56"},
    {"025816164629B007", "480D39006EE762F2", "A1F9915541020B56"},
    {"49793EBC79B3258F", "437540C8698F3CFA", "6FBF1CAFCFFD0556"},
    {"4FB05E1515AB73A7", "072D43A077075292", "2F22E49BAB7CA1AC"},
    {"49E95D6D4CA229BF", "02FE55778117F12A", "5A6B612CC26CCE4A"},
    {"018310DC409B26D6", "1D9D5C5018F728C2", "5F4C038ED12B2E41"},
    {"1C587F1C13924FEF", "305532286D6F295A", "63FAC0D034D9F793"},
};

QByteArray Bytes(const char* hex) { return QByteArray::fromHex(hex); }
const std::uint8_t* U8(const QByteArray& b) { return reinterpret_cast<const std::uint8_t*>(b.constData()); }
std::uint8_t* U8(QByteArray& b) { return reinterpret_cast<std::uint8_t*>(b.data()); }

QByteArray Des(const QByteArray& key, int direction, const QByteArray& in)
{
    CDesCipher des;
    des.KeySetup(U8(key), direction);
    QByteArray out(8, '\0');
    des.Transform(U8(in), U8(out));
    return out;
}

} // namespace

TEST(DesCipherTest, KnownAnswersInBothDirections)
{
    for (const KnownAnswer& a : kAnswers) {
        SCOPED_TRACE(a.key);
        EXPECT_EQ(Des(Bytes(a.key), CDesCipher::Encipher, Bytes(a.plain)).toHex().toUpper(), a.cipher);
        EXPECT_EQ(Des(Bytes(a.key), 2, Bytes(a.plain)).toHex().toUpper(), a.cipher);   // not 1: enciphers
        EXPECT_EQ(Des(Bytes(a.key), CDesCipher::Decipher, Bytes(a.cipher)).toHex().toUpper(), a.plain);
    }
}

// Rivest's iteration: sixteen alternate encipherings and decipherings, each
// keyed with the block itself, reach a known value; it touches every S-box
// entry path many times over.
TEST(DesCipherTest, AlternatingChainReachesItsKnownValue)
{
    QByteArray x = Bytes("9474B8E8C73BCA7D");
    for (int i = 0; i < 16; ++i) {
        CDesCipher des;
        des.KeySetup(U8(x), i % 2 == 0 ? CDesCipher::Encipher : CDesCipher::Decipher);
        des.Transform(U8(x), U8(x));   // in place
    }
    EXPECT_EQ(x.toHex().toUpper(), "1B1A2DDB4C642438");
}

TEST(DesCipherTest, DecipheringInvertsEncipheringForRandomKeysAndBlocks)
{
    QRandomGenerator random(46);
    for (int i = 0; i < 500; ++i) {
        QByteArray key(8, '\0'), block(8, '\0');
        random.fillRange(reinterpret_cast<quint32*>(key.data()), 2);
        random.fillRange(reinterpret_cast<quint32*>(block.data()), 2);
        const QByteArray enciphered = Des(key, CDesCipher::Encipher, block);
        EXPECT_NE(enciphered, block);
        EXPECT_EQ(Des(key, CDesCipher::Decipher, enciphered), block) << key.toHex().constData();
        // Complementing key and block complements the result.
        QByteArray notKey = key, notBlock = block, notEnciphered = enciphered;
        for (int b = 0; b < 8; ++b) {
            notKey[b] = ~key[b];
            notBlock[b] = ~block[b];
            notEnciphered[b] = ~enciphered[b];
        }
        EXPECT_EQ(Des(notKey, CDesCipher::Encipher, notBlock), notEnciphered);
    }
}

TEST(DesCipherTest, EcbTransformsWholeBlocksInPlaceAndLeavesATail)
{
    const QByteArray key = Bytes("133457799BBCDFF1");
    QByteArray data = Bytes("0123456789ABCDEF" "0123456789ABCDEF" "AABBCC");
    CDesCipher des;
    des.KeySetup(U8(key), CDesCipher::Encipher);
    des.TransformBlocks(U8(data), static_cast<std::size_t>(data.size()));
    EXPECT_EQ(data.toHex().toUpper(), "85E813540F0AB405" "85E813540F0AB405" "AABBCC");
    des.KeySetup(U8(key), CDesCipher::Decipher);
    des.TransformBlocks(U8(data), static_cast<std::size_t>(data.size()));
    EXPECT_EQ(data.toHex().toUpper(), "0123456789ABCDEF" "0123456789ABCDEF" "AABBCC");
}
