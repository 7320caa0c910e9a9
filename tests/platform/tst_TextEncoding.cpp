#include <QTest>

#include "platform/TextEncoding.h"
#include "platform/sourceview/TextFileFormat.h"

class tst_TextEncoding : public QObject {
    Q_OBJECT
private slots:
    // Bytes of each code page against the characters they stand for, both ways.
    void codePages_data() {
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        // clang-format off
        QTest::newRow("1252 euro, quotes, undefined") << "Windows-1252" << QByteArray("\x80\x93\x94\x81\x8d\x8f\x90\x9d\xe9")
            << QString::fromUtf16(u"\u20ac\u201c\u201d\u0081\u008d\u008f\u0090\u009d\u00e9");
        QTest::newRow("1254 Turkish letters") << "Windows-1254" << QByteArray("s\xfd" "cakl\xfdk \xd0\xf0\xdd\xde\xfe\xe7")
            << QString::fromUtf8("sıcaklık ĞğİŞşç");
        QTest::newRow("1254 undefined bytes") << "Windows-1254" << QByteArray("\x81\x8d\x8e\x8f\x90\x9d\x9e")
            << QString::fromUtf16(u"\u0081\u008d\u008e\u008f\u0090\u009d\u009e");
        QTest::newRow("1251") << "Windows-1251" << QByteArray("\xc0\xff\x98") << QString::fromUtf16(u"\u0410\u044f\u0098");
        QTest::newRow("1258") << "Windows-1258" << QByteArray("\xd2\xf5") << QString::fromUtf16(u"\u0309\u01a1");
        QTest::newRow("latin-1") << "ISO-8859-1" << QByteArray("\x80\xfe") << QString::fromUtf16(u"\u0080\u00fe");
        // clang-format on
    }
    void codePages() {
        QFETCH(QString, encoding);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(textenc::decode(encoding, bytes), text);
        QByteArray back;
        QVERIFY(textenc::encode(encoding, text, back));
        QCOMPARE(back, bytes);
    }

    // Every byte of every 8-bit encoding reads as a character of its own and writes back as itself.
    void everyByteRoundTrips() {
        QByteArray all(256, Qt::Uninitialized);
        for (int b = 0; b < 256; ++b)
            all[b] = char(b);
        for (const QString& name : textenc::names()) {
            if (!textenc::isEightBit(name))
                continue;
            const QString text = textenc::decode(name, all);
            QCOMPARE(QSet<QChar>(text.begin(), text.end()).size(), 256);
            QByteArray back;
            QVERIFY2(textenc::encode(name, text, back) && back == all, qPrintable(name));
        }
    }

    void unencodable_data() {
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("at");
        QTest::newRow("1252 lacks dotless i") << "Windows-1252" << QString::fromUtf8("ab ı") << 3;
        QTest::newRow("1254 has it") << "Windows-1254" << QString::fromUtf8("ab ı ş €") << -1;
        QTest::newRow("1254 lacks omega") << "Windows-1254" << QString::fromUtf8("ıΩ") << 1;
        QTest::newRow("utf-8 holds all") << "UTF-8" << QString::fromUtf8("ıΩ€😀") << -1;
        QTest::newRow("utf-8 lone surrogate") << "UTF-8" << QStringLiteral("a") + QChar(0xd800) << 1;
    }
    void unencodable() {
        QFETCH(QString, encoding);
        QFETCH(QString, text);
        QFETCH(int, at);
        QCOMPARE(int(textenc::firstUnencodable(encoding, text)), at);
        QByteArray out;
        QCOMPARE(textenc::encode(encoding, text, out), at < 0);
    }

    void names() {
        const QList<std::pair<QString, QString>> rows{{"cp1254", "Windows-1254"},
                                                      {"WINDOWS-1250", "Windows-1250"},
                                                      {"windows_1258", "Windows-1258"},
                                                      {"utf8", "UTF-8"},
                                                      {"Latin1", "ISO-8859-1"},
                                                      {"cp1249", ""},
                                                      {"cp437", ""},
                                                      {"", ""}};
        for (const auto& [given, canonical] : rows)
            QVERIFY2(textenc::canonicalName(given) == canonical, qPrintable(given));
        // The system's 8-bit encoding is one we can read, or none.
        const QString system = textenc::systemEightBit();
        QVERIFY(system.isEmpty() || textenc::isEightBit(system));
    }

    // The encoding chosen on reopening, unless it would lose bytes: bytes that are not UTF-8 stay 8-bit.
    // (Endings and byte order marks are read back file by file in tst_SourceDocument.)
    void reopenedEncoding() {
        const std::tuple<QByteArray, QString, QString> rows[] = {{"a\n", "cp1252", "Windows-1252"},
                                                                 {"\xc4\xb1\n", "UTF-8", "UTF-8"},
                                                                 {"\xfd\n", "UTF-8", "Windows-1254"}};
        for (const auto& [bytes, forced, encoding] : rows)
            QCOMPARE(TextFileFormat::detect(bytes, QStringLiteral("Windows-1254"), forced).encoding,
                     encoding);
    }

    void classify_data() {
        QTest::addColumn<QByteArray>("sample");
        QTest::addColumn<int>("content");
        // Short enough that each control character counts.
        QTest::newRow("text with tab, form feed and colour codes")
            << QByteArray("\tHIGH 1\f\x1b[1m\x1b[0m\r\n") << int(TextFileFormat::Content::Text);
        QTest::newRow("8-bit text") << QByteArray("' s\xfd"
                                                  "cakl\xfdk\r\n")
                                    << int(TextFileFormat::Content::Text);
        QTest::newRow("one NUL") << QByteArray("HIGH 1\r\n\0", 9) << int(TextFileFormat::Content::HasNul);
        QByteArray code;
        for (int i = 0; i < 400; ++i)
            code += char(0x80 + i % 0x7F) + QByteArray("\x02\x8c\x13\x01") + char(i);
        code.replace('\0', '\x03');
        QTest::newRow("machine code") << code << int(TextFileFormat::Content::Binary);
        QTest::newRow("empty") << QByteArray() << int(TextFileFormat::Content::Text);
    }
    void classify() {
        QFETCH(QByteArray, sample);
        QFETCH(int, content);
        QCOMPARE(int(TextFileFormat::classify(sample)), content);
    }
};

QTEST_MAIN(tst_TextEncoding)
#include "tst_TextEncoding.moc"
