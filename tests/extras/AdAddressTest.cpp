// The ad pane's address deciphered from the block the program keeps, and the
// hyperlink's colour and size rules.
#include <gtest/gtest.h>


#include "core/AdAddress.h"
#include "core/DesCipher.h"
#include "core/HyperLinkStyle.h"

TEST(AdAddressTest, DefaultDeciphersToTheShippedPage)
{
    EXPECT_EQ(AdAddress::Default(), "qrc:/quillet/ad/index.html");
}

TEST(AdAddressTest, DecipheringReadsUpToTheFirstZeroByteUnderItsOwnKeyOnly)
{
    const QByteArray key("8 bytes!");
    const QByteArray text("https://example.test/page-of-exactly-forty-four");
    QByteArray block(64, '\0');
    block.replace(0, text.size(), text);
    QByteArray full(64, 'x');   // no zero byte at all: all 64 count
    for (QByteArray* b : {&block, &full}) {
        CDesCipher des;
        des.KeySetup(reinterpret_cast<const std::uint8_t*>(key.constData()), CDesCipher::Encipher);
        des.TransformBlocks(reinterpret_cast<std::uint8_t*>(b->data()), 64);
    }
    EXPECT_EQ(AdAddress::Decipher(block, key), QString::fromLatin1(text));
    EXPECT_EQ(AdAddress::Decipher(full, key), QString(64, u'x'));
    EXPECT_NE(AdAddress::Decipher(block, QByteArray("8 bytes?")), QString::fromLatin1(text));
    EXPECT_EQ(AdAddress::Decipher(block, QByteArray("short")), QString());
}

TEST(HyperLinkStyleTest, ColourByStateInItsOrder)
{
    using namespace HyperLinkStyle;
    const struct { bool over, active, visited; unsigned style; Colour colour; } cases[] = {
        {false, false, false, kDefault, Colour::Link},
        {true, false, false, kDefault, Colour::Link},          // no hover colour without 0x02
        {true, true, true, kDefault | UseHover, Colour::Hover},
        {false, true, true, kDefault, Colour::Active},
        {false, true, true, kDefault | NoActiveColour, Colour::Visited},
        {false, true, false, kDefault | NoActiveColour, Colour::Link},
        {false, false, true, kDefault, Colour::Visited},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ColourFor(c.over, c.active, c.visited, c.style), c.colour)
            << c.over << c.active << c.visited << " style " << c.style;
    EXPECT_EQ(kDefault, 0x15u);
}

TEST(HyperLinkStyleTest, SizedToTextByItsAlignment)
{
    const QRect old(100, 50, 200, 40);
    const QSize text(80, 16);
    const struct { Qt::Alignment alignment; QRect sized; } cases[] = {
        {Qt::AlignLeft | Qt::AlignTop, QRect(100, 50, 80, 16)},
        {Qt::AlignLeft | Qt::AlignVCenter, QRect(100, 62, 80, 16)},
        {Qt::AlignHCenter | Qt::AlignTop, QRect(160, 50, 80, 16)},
        {Qt::AlignRight | Qt::AlignTop, QRect(220, 50, 80, 16)},
        {Qt::AlignCenter, QRect(160, 62, 80, 16)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HyperLinkStyle::SizedToText(old, text, c.alignment), c.sized) << int(c.alignment);
}
