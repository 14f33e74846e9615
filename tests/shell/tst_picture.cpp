#include "picture.h"
#include "picturevalidator.h"

#include <QtTest>

// The display pictures of every list, entry and report field: how values are shown, what an
// entry reads back, and what it lets a user type.
class tst_Picture : public QObject
{
    Q_OBJECT

private slots:
    void readsPictures_data();
    void readsPictures();
    void formatsValues_data();
    void formatsValues();
    void readsInput_data();
    void readsInput();
    void refusedInputLeavesValue();
    void shownValueReadsBack_data();
    void shownValueReadsBack();
    void validatesTyping_data();
    void validatesTyping();
    void everyPrefixOfAValidInputCanBeTyped_data();
    void everyPrefixOfAValidInputCanBeTyped();
    void invalidPictureAcceptsNothing();
};

namespace {

QVariant L(qint64 value)
{
    return QVariant::fromValue<qint64>(value);
}

QVariant S(const char *text)
{
    return QString::fromUtf8(text);
}

// 12:34:56 as a standard time.
constexpr qint64 TwelveThirtyFour = (12 * 3600 + 34 * 60 + 56) * 100 + 1;

} // namespace

void tst_Picture::readsPictures_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Picture::Kind>("kind");
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("isSigned");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<bool>("grouped");

    using K = Picture::Kind;
    // Every picture the windows and the report use, with and without '@'.
    QTest::newRow("@s52") << "@s52" << K::Text << 52 << false << 0 << false;
    QTest::newRow("S45") << "S45" << K::Text << 45 << false << 0 << false;
    QTest::newRow("s1") << "s1" << K::Text << 1 << false << 0 << false;
    QTest::newRow("n3") << "n3" << K::Number << 3 << false << 0 << true;
    QTest::newRow("n1") << "@n1" << K::Number << 1 << false << 0 << true;
    QTest::newRow("n-14") << "n-14" << K::Number << 14 << true << 0 << true;
    QTest::newRow("n-7.0") << "@n-7.0" << K::Number << 7 << true << 0 << true;
    QTest::newRow("n-4.0") << "n-4.0" << K::Number << 4 << true << 0 << true;
    QTest::newRow("n-6.0") << "n-6.0" << K::Number << 6 << true << 0 << true;
    QTest::newRow("n-3.0") << "n-3.0" << K::Number << 3 << true << 0 << true;
    QTest::newRow("N4") << "@N4" << K::Number << 4 << false << 0 << true;
    QTest::newRow("N-3") << "N-3" << K::Number << 3 << true << 0 << true;
    QTest::newRow("N_16") << "N_16" << K::Number << 16 << false << 0 << false;
    QTest::newRow("N-_14") << "N-_14" << K::Number << 14 << true << 0 << false;
    QTest::newRow("n10.2") << "n10.2" << K::Number << 10 << false << 2 << true;
    QTest::newRow("n05") << "n05" << K::Number << 5 << false << 0 << false;
    QTest::newRow("D17") << "@D17" << K::Date << 10 << false << 0 << false;
    QTest::newRow("D6") << "D6" << K::Date << 10 << false << 0 << false;
    QTest::newRow("T7") << "@T7" << K::Time << 5 << false << 0 << false;
    QTest::newRow("T8") << "T8" << K::Time << 8 << false << 0 << false;
    QTest::newRow("T1") << "T1" << K::Time << 5 << false << 0 << false;
    QTest::newRow("P##P") << "@P##P" << K::Pattern << 2 << false << 0 << false;
    QTest::newRow("P20##P") << "P20##P" << K::Pattern << 4 << false << 0 << false;
    QTest::newRow("pPage <<#p") << "@pPage <<#p" << K::Pattern << 8 << false << 0 << false;

    QTest::newRow("empty") << "" << K::Invalid << 0 << false << 0 << false;
    QTest::newRow("only @") << "@" << K::Invalid << 0 << false << 0 << false;
    QTest::newRow("unknown letter") << "x5" << K::Invalid << 0 << false << 0 << false;
    QTest::newRow("text without size") << "s" << K::Invalid << 0 << false << 0 << false;
    QTest::newRow("text size 0") << "s0" << K::Invalid << 0 << false << 0 << false;
    QTest::newRow("number without size") << "n-" << K::Invalid << 0 << false << 0 << false;
    QTest::newRow("decimals fill the size") << "n3.2" << K::Invalid << 0 << false << 0 << false;
    QTest::newRow("unknown date") << "D99" << K::Invalid << 0 << false << 0 << false;
    QTest::newRow("unknown time") << "T3" << K::Invalid << 0 << false << 0 << false;
    QTest::newRow("pattern unclosed") << "P##" << K::Invalid << 0 << false << 0 << false;
    QTest::newRow("pattern without digits") << "PabcP" << K::Invalid << 0 << false << 0 << false;
}

void tst_Picture::readsPictures()
{
    QFETCH(QString, text);
    QFETCH(Picture::Kind, kind);
    QFETCH(int, width);
    QFETCH(bool, isSigned);
    QFETCH(int, decimals);
    QFETCH(bool, grouped);

    const Picture picture = Picture::parse(text);
    QCOMPARE(picture.kind(), kind);
    QCOMPARE(picture.isValid(), kind != Picture::Kind::Invalid);
    QCOMPARE(picture.width(), width);
    QCOMPARE(picture.isSigned(), isSigned);
    QCOMPARE(picture.decimals(), decimals);
    QCOMPARE(picture.isGrouped(), grouped);
}

void tst_Picture::formatsValues_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("shown");

    // texts
    QTest::newRow("s52 name") << "@s52" << S("Novák Jan") << QString::fromUtf8("Novák Jan");
    QTest::newRow("s5 cut") << "s5" << S("Příliš dlouhé") << QString::fromUtf8("Příli");
    QTest::newRow("s16 padded field") << "s16" << S("AB12     ") << "AB12";
    QTest::newRow("s1 first character") << "@s1" << S("heslo") << "h";
    QTest::newRow("S45 same as s45") << "S45" << S("Dlouhá 12") << QString::fromUtf8("Dlouhá 12");
    QTest::newRow("s20 null") << "s20" << QVariant() << "";

    // numbers: zero shows as 0 (a new card shows 0 in its number columns)
    QTest::newRow("n3 zero") << "n3" << L(0) << "0";
    QTest::newRow("n3 255") << "n3" << L(255) << "255";
    QTest::newRow("n3 999") << "n3" << L(999) << "999";
    QTest::newRow("n3 too big") << "n3" << L(1000) << "###";
    QTest::newRow("n3 negative") << "n3" << L(-1) << "###";
    QTest::newRow("n1 3") << "n1" << L(3) << "3";
    QTest::newRow("n1 too big") << "n1" << L(10) << "#";
    QTest::newRow("n-14 zero") << "n-14" << L(0) << "0";
    QTest::newRow("n-14 four digits whole") << "n-14" << L(1234) << "1234";
    QTest::newRow("n-14 grouped") << "n-14" << L(12345) << "12 345";
    QTest::newRow("n-14 day number") << "n-14" << L(72687) << "72 687";
    QTest::newRow("n-14 negative") << "n-14" << L(-5) << "-5";
    QTest::newRow("n-14 negative grouped") << "n-14" << L(-1234567) << "-1 234 567";
    QTest::newRow("n-14 LONG max") << "n-14" << L(2147483647) << "2 147 483 647";
    QTest::newRow("n-14 LONG min") << "n-14" << L(-2147483648LL) << "-2 147 483 648";
    QTest::newRow("n-14 too big") << "n-14" << L(123456789012345LL) << "##############";
    QTest::newRow("n-14 int variant") << "n-14" << QVariant(int(42)) << "42";
    QTest::newRow("n-14 not a number") << "n-14" << S("abc") << "##############";
    QTest::newRow("n-7.0 room") << "@n-7.0" << L(-42) << "-42";
    QTest::newRow("n-7.0 six digits") << "n-7.0" << L(123456) << "123 456";
    QTest::newRow("n-7.0 too big") << "n-7.0" << L(1234567) << "#######";
    QTest::newRow("n-6.0 year") << "n-6.0" << L(2010) << "2010";
    QTest::newRow("n-3.0 month") << "n-3.0" << L(12) << "12";
    QTest::newRow("n-3.0 most negative") << "n-3.0" << L(-99) << "-99";
    QTest::newRow("n-3.0 sign takes a position") << "n-3.0" << L(-100) << "###";
    QTest::newRow("n-4.0 sound length") << "n-4.0" << L(20) << "20";
    QTest::newRow("n5 four digits") << "n5" << L(9999) << "9999";
    QTest::newRow("n5 grouped does not fit") << "n5" << L(10000) << "#####";
    QTest::newRow("n_5 no grouping fits") << "n_5" << L(99999) << "99999";
    QTest::newRow("N4 person code") << "@N4" << L(7) << "7";
    QTest::newRow("N4 9999") << "N4" << L(9999) << "9999";
    QTest::newRow("N4 too big") << "N4" << L(10000) << "####";
    QTest::newRow("N-3 line number") << "N-3" << L(-12) << "-12";
    QTest::newRow("N_16 no grouping") << "N_16" << L(1234567) << "1234567";
    QTest::newRow("N-_14 no grouping") << "N-_14" << L(-1234567) << "-1234567";
    QTest::newRow("n05 leading zeros") << "n05" << L(42) << "00042";
    QTest::newRow("n-05 zeros after sign") << "n-05" << L(-42) << "-0042";
    QTest::newRow("n10.2 four digits whole") << "n10.2" << L(123456) << "1234,56";
    QTest::newRow("n10.2 grouped decimals") << "n10.2" << L(12345678) << "123 456,78";
    QTest::newRow("n10.2 too big") << "n10.2" << L(123456789) << "##########";
    QTest::newRow("n10.2 below one") << "n10.2" << L(5) << "0,05";
    QTest::newRow("n10.2 zero") << "n10.2" << L(0) << "0,00";
    QTest::newRow("n-10.2 negative") << "n-10.2" << L(-5) << "-0,05";
    QTest::newRow("n3b blank zero") << "n3b" << L(0) << "";
    QTest::newRow("n3b non-zero") << "n3b" << L(7) << "7";

    // dates
    QTest::newRow("D17 first 1801") << "@D17" << L(4) << "1.1.1801";
    QTest::newRow("D17 2000") << "D17" << L(72687) << "1.1.2000";
    QTest::newRow("D17 end of 2000") << "D17" << L(73052) << "31.12.2000";
    QTest::newRow("D17 no date") << "D17" << L(0) << "";
    QTest::newRow("D17 null") << "D17" << QVariant() << "";
    QTest::newRow("D17 negative") << "D17" << L(-1) << "##########";
    QTest::newRow("D17 beyond 9999") << "D17" << L(3000000) << "##########";
    QTest::newRow("D6 2000") << "D6" << L(72687) << "01/01/2000";
    QTest::newRow("D6 end of 2000") << "D6" << L(73052) << "31/12/2000";
    QTest::newRow("D6 no date") << "D6" << L(0) << "";

    // times
    QTest::newRow("T7 8:00") << "@T7" << L(2880001) << "8:00";
    QTest::newRow("T7 midnight") << "T7" << L(1) << "0:00";
    QTest::newRow("T7 last") << "T7" << L(8640000) << "23:59";
    QTest::newRow("T7 cuts seconds") << "T7" << L(TwelveThirtyFour) << "12:34";
    QTest::newRow("T7 no time") << "T7" << L(0) << "";
    QTest::newRow("T7 beyond a day") << "T7" << L(8640001) << "";
    QTest::newRow("T8 8:00") << "T8" << L(2880001) << "8:00:00";
    QTest::newRow("T8 seconds") << "T8" << L(TwelveThirtyFour) << "12:34:56";
    QTest::newRow("T8 no time") << "T8" << L(0) << "";
    QTest::newRow("T1 8:00") << "T1" << L(2880001) << "08:00";
    QTest::newRow("T1 length of 8 hours") << "T1" << L(2880000) << "07:59";
    QTest::newRow("T1 last") << "T1" << L(8640000) << "23:59";
    QTest::newRow("T1 zero is midnight") << "T1" << L(0) << "00:00";
    QTest::newRow("T1 beyond a day is midnight") << "T1" << L(8640001) << "00:00";

    // patterns
    QTest::newRow("P##P 7") << "@P##P" << L(7) << "07";
    QTest::newRow("P##P 0") << "P##P" << L(0) << "00";
    QTest::newRow("P##P 60") << "P##P" << L(60) << "60";
    QTest::newRow("P##P too big") << "P##P" << L(100) << "##";
    QTest::newRow("P##P negative") << "P##P" << L(-1) << "##";
    QTest::newRow("P20##P 15") << "P20##P" << L(15) << "2015";
    QTest::newRow("P20##P 5") << "P20##P" << L(5) << "2005";
    QTest::newRow("P20##P 0") << "P20##P" << L(0) << "2000";
    QTest::newRow("P20##P too big") << "P20##P" << L(123) << "####";
    QTest::newRow("page 1") << "@pPage <<#p" << L(1) << "Page 1";
    QTest::newRow("page 12") << "pPage <<#p" << L(12) << "Page 12";
    QTest::newRow("page 123") << "pPage <<#p" << L(123) << "Page 123";
    QTest::newRow("page 0") << "pPage <<#p" << L(0) << "Page 0";
    QTest::newRow("page too big") << "pPage <<#p" << L(1000) << "########";
}

void tst_Picture::formatsValues()
{
    QFETCH(QString, picture);
    QFETCH(QVariant, value);
    QFETCH(QString, shown);

    const Picture p = Picture::parse(picture);
    QVERIFY(p.isValid());
    QCOMPARE(p.format(value), shown);
    QVERIFY(shown.size() <= p.width());
}

void tst_Picture::readsInput_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QVariant>("value");

    const QVariant none;
    // texts
    QTest::newRow("s5 full") << "s5" << "abcde" << true << S("abcde");
    QTest::newRow("s5 too long") << "s5" << "abcdef" << false << none;
    QTest::newRow("s5 blank") << "s5" << "" << true << S("");
    QTest::newRow("s52 diacritics") << "s52" << QString::fromUtf8("Žluťoučký kůň") << true
                                    << S("Žluťoučký kůň");

    // numbers
    QTest::newRow("n3 255") << "n3" << "255" << true << L(255);
    QTest::newRow("n3 blank") << "n3" << "" << true << L(0);
    QTest::newRow("n3 blanks around") << "n3" << " 42 " << true << L(42);
    QTest::newRow("n3 too big") << "n3" << "1000" << false << none;
    QTest::newRow("n3 negative") << "n3" << "-1" << false << none;
    QTest::newRow("n3 letter") << "n3" << "12a" << false << none;
    QTest::newRow("n3 group blank") << "n3" << "1 2" << false << none;
    QTest::newRow("n-14 negative") << "n-14" << "-5" << true << L(-5);
    QTest::newRow("n-14 grouped") << "n-14" << "72 687" << true << L(72687);
    QTest::newRow("n-14 no-break blank") << "n-14" << QString::fromUtf8("72\u00a0687") << true
                                         << L(72687);
    QTest::newRow("n-14 ungrouped") << "n-14" << "72687" << true << L(72687);
    QTest::newRow("n-14 leading zeros") << "n-14" << "007" << true << L(7);
    QTest::newRow("n-14 LONG min") << "n-14" << "-2147483648" << true << L(-2147483648LL);
    QTest::newRow("n-14 widest") << "n-14" << "99999999999" << true << L(99999999999LL);
    QTest::newRow("n-14 too wide") << "n-14" << "999999999999" << false << none;
    QTest::newRow("n-14 sign only") << "n-14" << "-" << false << none;
    QTest::newRow("n-14 two blanks") << "n-14" << "1  2" << false << none;
    QTest::newRow("n-14 sign behind") << "n-14" << "12-" << false << none;
    QTest::newRow("N_16 no group blanks") << "N_16" << "12 345" << false << none;
    QTest::newRow("n-7.0 no decimals") << "n-7.0" << "12,5" << false << none;
    QTest::newRow("n-7.0 room") << "n-7.0" << "-42" << true << L(-42);
    QTest::newRow("n5 four digits") << "n5" << "9999" << true << L(9999);
    QTest::newRow("n5 five digits") << "n5" << "10000" << false << none;
    QTest::newRow("n10.2 comma") << "n10.2" << "12,5" << true << L(1250);
    QTest::newRow("n10.2 point") << "n10.2" << "12.50" << true << L(1250);
    QTest::newRow("n10.2 fraction only") << "n10.2" << ",5" << true << L(50);
    QTest::newRow("n10.2 grouped") << "n10.2" << "1 234,56" << true << L(123456);
    QTest::newRow("n10.2 third decimal") << "n10.2" << "0,125" << false << none;

    // dates
    QTest::newRow("D17 short") << "D17" << "1.1.2000" << true << L(72687);
    QTest::newRow("D17 leading zeros") << "D17" << "01.01.2000" << true << L(72687);
    QTest::newRow("D17 blanks after dots") << "D17" << "1. 1. 2000" << true << L(72687);
    QTest::newRow("D17 first 1801") << "D17" << "1.1.1801" << true << L(4);
    QTest::newRow("D17 leap day") << "D17" << "29.2.2000" << true << L(72687 + 59);
    QTest::newRow("D17 blank") << "D17" << "" << true << L(0);
    QTest::newRow("D17 two-digit year") << "D17" << "1.1.00" << false << none;
    QTest::newRow("D17 two-digit year 20") << "D17" << "1.1.20" << false << none;
    QTest::newRow("D17 31 April") << "D17" << "31.4.2000" << false << none;
    QTest::newRow("D17 29 February 2001") << "D17" << "29.2.2001" << false << none;
    QTest::newRow("D17 day 32") << "D17" << "32.1.2000" << false << none;
    QTest::newRow("D17 month 13") << "D17" << "1.13.2000" << false << none;
    QTest::newRow("D17 slashes") << "D17" << "1/1/2000" << false << none;
    QTest::newRow("D17 trailing letter") << "D17" << "1.1.2000x" << false << none;
    QTest::newRow("D17 day zero of the count") << "D17" << "28.12.1800" << false << none;
    QTest::newRow("D17 no year") << "D17" << "1.1" << false << none;
    QTest::newRow("D6 full") << "D6" << "01/01/2000" << true << L(72687);
    QTest::newRow("D6 short") << "D6" << "1/1/2000" << true << L(72687);
    QTest::newRow("D6 dots") << "D6" << "01.01.2000" << false << none;

    // times
    QTest::newRow("T7 8:00") << "T7" << "8:00" << true << L(2880001);
    QTest::newRow("T7 08:00") << "T7" << "08:00" << true << L(2880001);
    QTest::newRow("T7 8:00:00") << "T7" << "8:00:00" << true << L(2880001);
    QTest::newRow("T7 hours only") << "T7" << "8" << true << L(2880001);
    QTest::newRow("T7 midnight") << "T7" << "0:00" << true << L(1);
    QTest::newRow("T7 23:59") << "T7" << "23:59" << true << L(8634001);
    QTest::newRow("T7 blank") << "T7" << "" << true << L(0);
    QTest::newRow("T7 hour 24") << "T7" << "24:00" << false << none;
    QTest::newRow("T7 minute 60") << "T7" << "8:60" << false << none;
    QTest::newRow("T7 one minute digit") << "T7" << "8:5" << false << none;
    QTest::newRow("T7 second 61") << "T7" << "8:00:61" << false << none;
    QTest::newRow("T7 point") << "T7" << "8.00" << false << none;
    QTest::newRow("T7 four parts") << "T7" << "8:00:00:00" << false << none;
    QTest::newRow("T8 seconds") << "T8" << "12:34:56" << true << L(TwelveThirtyFour);
    QTest::newRow("T1 08:00") << "T1" << "08:00" << true << L(2880001);

    // patterns
    QTest::newRow("P##P 07") << "P##P" << "07" << true << L(7);
    QTest::newRow("P##P one digit") << "P##P" << "7" << false << none;
    QTest::newRow("P##P blank") << "P##P" << "" << true << L(0);
    QTest::newRow("P20##P 2015") << "P20##P" << "2015" << true << L(15);
    QTest::newRow("P20##P other century") << "P20##P" << "1915" << false << none;
    QTest::newRow("P20##P two digits") << "P20##P" << "15" << false << none;
    QTest::newRow("page 3") << "pPage <<#p" << "Page 3" << true << L(3);
    QTest::newRow("page 123") << "pPage <<#p" << "Page 123" << true << L(123);
    QTest::newRow("page 1234") << "pPage <<#p" << "Page 1234" << false << none;
    QTest::newRow("page without number") << "pPage <<#p" << "Page " << false << none;
}

void tst_Picture::readsInput()
{
    QFETCH(QString, picture);
    QFETCH(QString, input);
    QFETCH(bool, ok);
    QFETCH(QVariant, value);

    const Picture p = Picture::parse(picture);
    QVERIFY(p.isValid());
    QVariant read;
    QCOMPARE(p.parseInput(input, &read), ok);
    if (ok)
        QCOMPARE(read, value);
}

void tst_Picture::refusedInputLeavesValue()
{
    const QVariant before = L(1234);
    for (const auto &[picture, input] : {std::pair{"n3", "1000"}, std::pair{"D17", "1.1.00"},
                                         std::pair{"T7", "25:00"}, std::pair{"s2", "abc"},
                                         std::pair{"P##P", "x"}}) {
        QVariant value = before;
        QVERIFY2(!Picture::parse(QString::fromLatin1(picture)).parseInput(QString::fromLatin1(input), &value),
                 picture);
        QCOMPARE(value, before);
    }
    QVERIFY(!Picture::parse(QStringLiteral("n3")).parseInput(QStringLiteral("1"), nullptr));
}

void tst_Picture::shownValueReadsBack_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QVariant>("value");

    QTest::newRow("s52") << "s52" << S("Novák Jan");
    QTest::newRow("n3 0") << "n3" << L(0);
    QTest::newRow("n3 255") << "n3" << L(255);
    QTest::newRow("n3b 0") << "n3b" << L(0);
    QTest::newRow("n-14 LONG min") << "n-14" << L(-2147483648LL);
    QTest::newRow("n-14 day number") << "n-14" << L(72687);
    QTest::newRow("n-7.0") << "n-7.0" << L(-42);
    QTest::newRow("N_16 sixteen digits") << "N_16" << L(1234567890123456LL);
    QTest::newRow("N-_14") << "N-_14" << L(-1234567);
    QTest::newRow("n10.2") << "n10.2" << L(123456);
    QTest::newRow("n-10.2") << "n-10.2" << L(-5);
    QTest::newRow("n05") << "n05" << L(42);
    QTest::newRow("D17 1801") << "D17" << L(4);
    QTest::newRow("D17 2000") << "D17" << L(72687);
    QTest::newRow("D17 no date") << "D17" << L(0);
    QTest::newRow("D6 leap day") << "D6" << L(72746);
    QTest::newRow("T7 8:00") << "T7" << L(2880001);
    QTest::newRow("T7 no time") << "T7" << L(0);
    QTest::newRow("T8 seconds") << "T8" << L(TwelveThirtyFour);
    QTest::newRow("T8 midnight") << "T8" << L(1);
    QTest::newRow("T8 last second") << "T8" << L(8639901);
    QTest::newRow("T1 8:00") << "T1" << L(2880001);
    QTest::newRow("P##P") << "P##P" << L(7);
    QTest::newRow("P20##P") << "P20##P" << L(15);
    QTest::newRow("page") << "pPage <<#p" << L(12);
}

void tst_Picture::shownValueReadsBack()
{
    QFETCH(QString, picture);
    QFETCH(QVariant, value);

    const Picture p = Picture::parse(picture);
    const QString shown = p.format(value);
    QVERIFY(!shown.contains(QLatin1Char('#')));
    QVariant read;
    QVERIFY2(p.parseInput(shown, &read), qPrintable(shown));
    QCOMPARE(read, value);
}

void tst_Picture::validatesTyping_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QValidator::State>("state");

    const auto A = QValidator::Acceptable;
    const auto I = QValidator::Intermediate;
    const auto X = QValidator::Invalid;

    QTest::newRow("s5 full") << "s5" << "abcde" << A;
    QTest::newRow("s5 sixth character") << "s5" << "abcdef" << X;

    QTest::newRow("n3 blank") << "n3" << "" << A;
    QTest::newRow("n3 digit") << "n3" << "2" << A;
    QTest::newRow("n3 third digit") << "n3" << "255" << A;
    QTest::newRow("n3 fourth digit") << "n3" << "2555" << X;
    QTest::newRow("n3 letter") << "n3" << "a" << X;
    QTest::newRow("n3 minus") << "n3" << "-" << X;
    QTest::newRow("n-14 minus") << "n-14" << "-" << I;
    QTest::newRow("n-14 negative") << "n-14" << "-1" << A;
    QTest::newRow("n-14 second minus") << "n-14" << "--" << X;
    QTest::newRow("n-14 minus behind") << "n-14" << "1-" << X;
    QTest::newRow("n-14 group blank") << "n-14" << "12 3" << A;
    QTest::newRow("n-14 letter") << "n-14" << "1x" << X;
    QTest::newRow("n5 fifth digit") << "n5" << "99999" << X;
    QTest::newRow("n_5 fifth digit") << "n_5" << "99999" << A;
    QTest::newRow("n_5 sixth digit") << "n_5" << "999999" << X;
    QTest::newRow("n-7.0 decimal comma") << "n-7.0" << "1," << X;
    QTest::newRow("n10.2 comma") << "n10.2" << "12," << A;
    QTest::newRow("n10.2 one decimal") << "n10.2" << "12,3" << A;
    QTest::newRow("n10.2 third decimal") << "n10.2" << "12,345" << X;
    QTest::newRow("n10.2 second mark") << "n10.2" << "1,2,3" << X;

    QTest::newRow("D17 blank") << "D17" << "" << A;
    QTest::newRow("D17 day digit") << "D17" << "3" << I;
    QTest::newRow("D17 day 31") << "D17" << "31" << I;
    QTest::newRow("D17 day 32") << "D17" << "32" << X;
    QTest::newRow("D17 day 00") << "D17" << "00" << X;
    QTest::newRow("D17 day 0") << "D17" << "0" << I;
    QTest::newRow("D17 day 0 finished") << "D17" << "0." << X;
    QTest::newRow("D17 day finished") << "D17" << "1." << I;
    QTest::newRow("D17 month 13") << "D17" << "1.13" << X;
    QTest::newRow("D17 31 April") << "D17" << "31.4" << X;
    QTest::newRow("D17 30 February") << "D17" << "30.2" << X;
    QTest::newRow("D17 31 and month 1 may become 12") << "D17" << "31.1" << I;
    QTest::newRow("D17 31 November") << "D17" << "31.11" << X;
    QTest::newRow("D17 year digit") << "D17" << "1.1.2" << I;
    QTest::newRow("D17 year from 0") << "D17" << "1.1.0" << X;
    QTest::newRow("D17 year before 1800") << "D17" << "1.1.17" << X;
    QTest::newRow("D17 two-digit year") << "D17" << "1.1.20" << I;
    QTest::newRow("D17 full") << "D17" << "1.1.2000" << A;
    QTest::newRow("D17 fifth year digit") << "D17" << "1.1.20000" << X;
    QTest::newRow("D17 fourth dot") << "D17" << "1.1.2000." << X;
    QTest::newRow("D17 letter") << "D17" << "a" << X;
    QTest::newRow("D17 29 February 2001") << "D17" << "29.2.2001" << X;
    QTest::newRow("D17 29 February 2000") << "D17" << "29.2.2000" << A;
    QTest::newRow("D6 slash") << "D6" << "01/" << I;
    QTest::newRow("D6 dot") << "D6" << "01." << X;

    QTest::newRow("T7 hour") << "T7" << "8" << A;
    QTest::newRow("T7 colon") << "T7" << "8:" << I;
    QTest::newRow("T7 minute digit") << "T7" << "8:0" << I;
    QTest::newRow("T7 minutes") << "T7" << "8:00" << A;
    QTest::newRow("T7 minute 6x") << "T7" << "8:6" << X;
    QTest::newRow("T7 hour 24") << "T7" << "24" << X;
    QTest::newRow("T7 second colon") << "T7" << "8:00:" << I;
    QTest::newRow("T7 seconds") << "T7" << "8:00:00" << A;
    QTest::newRow("T7 third colon") << "T7" << "8:00:00:" << X;
    QTest::newRow("T7 letter") << "T7" << "x" << X;
    QTest::newRow("T7 point") << "T7" << "8." << X;

    QTest::newRow("P##P digit") << "P##P" << "0" << I;
    QTest::newRow("P##P two digits") << "P##P" << "07" << A;
    QTest::newRow("P##P third digit") << "P##P" << "070" << X;
    QTest::newRow("P##P letter") << "P##P" << "a" << X;
    QTest::newRow("P20##P 2") << "P20##P" << "2" << I;
    QTest::newRow("P20##P 201") << "P20##P" << "201" << I;
    QTest::newRow("P20##P 2015") << "P20##P" << "2015" << A;
    QTest::newRow("P20##P 3") << "P20##P" << "3" << X;
    QTest::newRow("P20##P 21") << "P20##P" << "21" << X;
    QTest::newRow("page P") << "pPage <<#p" << "P" << I;
    QTest::newRow("page 1") << "pPage <<#p" << "Page 1" << A;
    QTest::newRow("page 1234") << "pPage <<#p" << "Page 1234" << X;
    QTest::newRow("page other word") << "pPage <<#p" << "Strana" << X;
}

void tst_Picture::validatesTyping()
{
    QFETCH(QString, picture);
    QFETCH(QString, input);
    QFETCH(QValidator::State, state);

    const PictureValidator validator(Picture::parse(picture));
    QString text = input;
    int pos = int(text.size());
    QCOMPARE(validator.validate(text, pos), state);
    QCOMPARE(text, input);
    QCOMPARE(validator.picture().acceptsPartial(input), state != QValidator::Invalid);
}

void tst_Picture::everyPrefixOfAValidInputCanBeTyped_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("input");

    QTest::newRow("D17") << "D17" << "31.12.2000";
    QTest::newRow("D17 with blanks") << "D17" << "1. 1. 2000";
    QTest::newRow("D6 leap day") << "D6" << "29/02/2000";
    QTest::newRow("T8") << "T8" << "23:59:59";
    QTest::newRow("n-14 grouped") << "n-14" << "-2 147 483 648";
    QTest::newRow("n10.2") << "n10.2" << "1 234,56";
    QTest::newRow("P20##P") << "P20##P" << "2015";
    QTest::newRow("page") << "pPage <<#p" << "Page 123";
    QTest::newRow("s5") << "s5" << "abcde";
}

void tst_Picture::everyPrefixOfAValidInputCanBeTyped()
{
    QFETCH(QString, picture);
    QFETCH(QString, input);

    const Picture p = Picture::parse(picture);
    QVariant value;
    QVERIFY(p.parseInput(input, &value));
    for (qsizetype n = 0; n <= input.size(); ++n)
        QVERIFY2(p.acceptsPartial(input.left(n)), qPrintable(input.left(n)));
}

void tst_Picture::invalidPictureAcceptsNothing()
{
    const Picture p = Picture::parse(QStringLiteral("x5"));
    QVERIFY(!p.isValid());
    QCOMPARE(p.format(L(5)), QString());
    QVariant value;
    QVERIFY(!p.parseInput(QString(), &value));
    QVERIFY(!p.acceptsPartial(QString()));
    QVERIFY(!Picture().isValid());
}

QTEST_GUILESS_MAIN(tst_Picture)
#include "tst_picture.moc"
