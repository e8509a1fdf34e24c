#include "settings/Cp1252.h"
#include "sites/KeyedCollection.h"
#include "sites/SiteRecord.h"

#include <gtest/gtest.h>

using namespace siterecord;

TEST(Cp1252, EveryByteSurvivesADecodeAndAnEncode)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = cp1252::decode(all);
    EXPECT_EQ(text.at(0x80), QChar(0x20AC));
    EXPECT_EQ(text.at(0xE9), QChar(0xE9));
    EXPECT_EQ(cp1252::encode(text), all);
    EXPECT_TRUE(cp1252::canEncode(text));
    EXPECT_FALSE(cp1252::canEncode(u"Ω"));
    EXPECT_EQ(cp1252::encode(u"aΩ€"), QByteArray("a?\x80"));
}

TEST(Passwords, AreHexEncodedTwiceWithFourCharactersEach)
{
    EXPECT_EQ(textToHex("abc"), "616263");
    EXPECT_EQ(encodePassword("abc"), "363136323633");
    const QString typed = QString::fromUtf8("pâss€ wörd\t|");
    const QString stored = encodePassword(typed);
    EXPECT_EQ(stored.size(), 4 * typed.size());
    EXPECT_EQ(decodePassword(stored), typed);
    EXPECT_EQ(encodePassword(QString::fromUtf8("é")), "4539");
    EXPECT_EQ(decodePassword(""), "");
    // Text that is not hex comes back unchanged.
    EXPECT_EQ(hexToText("ABC"), "ABC");
    EXPECT_EQ(hexToText("4G"), "4G");
    EXPECT_EQ(hexToText("+1"), "+1");
    EXPECT_EQ(decodePassword("zz"), "zz");
}

TEST(SiteRecords, ShapeOfTheTwoLayouts)
{
    const auto site = parseSite("7|Home|h|21|u|p|1|2|/www|3|/l|x");
    ASSERT_TRUE(site);
    EXPECT_EQ(site->number, 7);
    EXPECT_EQ(site->name(), "Home");
    EXPECT_EQ(site->folder(), 3);
    EXPECT_EQ(site->fields.at(10), "/l|x") << "the last field is the rest of the line";
    EXPECT_FALSE(parseSite("7|Home|h|21|u|p|1|2|/www|3"));
    EXPECT_FALSE(parseSite("x|Home|h|21|u|p|1|2|/www|3|"));
    EXPECT_FALSE(parseSite("7|Home|h|21|u|p|1|2|/www|three|"));
    EXPECT_EQ(parseFolder("11|Work|")->number, 11);
    EXPECT_EQ(parseFolder("11|Work|")->name, "Work");
    EXPECT_FALSE(parseFolder("Work|"));
    EXPECT_EQ(biggestNumber({"3|a|", "junk", "12|short", "x|y"}), 12);
    EXPECT_EQ(biggestNumber({}), 0);
}

TEST(KeyedCollection, KeepsOrderAndRefusesAKeyTwice)
{
    KeyedCollection c;
    EXPECT_TRUE(c.add("5", "five"));
    EXPECT_TRUE(c.add("1", "one"));
    EXPECT_FALSE(c.add("5", "again"));
    EXPECT_EQ(c.count(), 2);
    EXPECT_EQ(c.item(1), "five");
    EXPECT_EQ(c.key(2), "1");
    EXPECT_EQ(c.itemByKey("5"), "five");
    EXPECT_EQ(c.item(3), QString());
    EXPECT_EQ(c.item(0), QString());
    c.clear();
    EXPECT_EQ(c.count(), 0);
    EXPECT_FALSE(c.contains("5"));
}
