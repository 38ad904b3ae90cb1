// The program's own table of code page 874 against the system's converter, where the system has one
// (ICU on Linux): the table must give every byte the very character the converter gives, since
// reports written before the table existed, and the golden files, came from the converter.
#include "model/CodePage874.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>

class CodePage874Test : public QObject {
    Q_OBJECT

private slots:
    void everyByteDecodesAsTheSystemConverterDecodesIt()
    {
        QStringDecoder decoder("windows-874");
        if (!decoder.isValid())
            QSKIP("this system has no converter for code page 874 to compare with");
        for (int byte = 0; byte < 256; ++byte) {
            const char single = char(byte);
            const QString expected = decoder.decode(QByteArrayView(&single, 1));
            QCOMPARE(decodeCp874(QByteArrayView(&single, 1)), expected);
        }
    }

    void everyCharacterOfTheCodePageEncodesAsTheSystemConverterEncodesIt()
    {
        QStringEncoder encoder("windows-874");
        if (!encoder.isValid())
            QSKIP("this system has no converter for code page 874 to compare with");
        for (int byte = 0; byte < 256; ++byte) {
            const QChar character(cp874Characters()[byte]);
            QCOMPARE(encodeCp874(QStringView(&character, 1)), encoder.encode(QStringView(&character, 1)));
        }
    }

    void charactersOutsideTheCodePageBecomeOneQuestionMarkEach_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("a Latin letter with an accent") << QStringLiteral(u"é") << QByteArray("?");
        QTest::newRow("a character beyond the first plane, two UTF-16 units")
            << QStringLiteral(u"a\U0001F600b") << QByteArray("a?b");
        QTest::newRow("a lone high surrogate at the end") << QString(QChar(0xD83D)) << QByteArray("?");
        QTest::newRow("a byte-order mark, which a converter would drop")
            << QStringLiteral(u"\uFEFFก") << QByteArray("?\xA1");
        QTest::newRow("the character of byte 0 is kept") << QString(QChar(0)) << QByteArray(1, '\0');
    }

    void charactersOutsideTheCodePageBecomeOneQuestionMarkEach()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(encodeCp874(text), bytes);
    }
};

QTEST_APPLESS_MAIN(CodePage874Test)
#include "tst_codepage874.moc"
