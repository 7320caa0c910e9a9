#include <QTest>

#include "platform/KeyCodes.h"
#include "platform/TextHelpers.h"

class tst_TextHelpers : public QObject {
    Q_OBJECT
private slots:
    void val_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("leading blanks") << "   12abc" << 12.0;
        QTest::newRow("tab skipped") << "\t7" << 7.0;
        QTest::newRow("blanks inside digits") << "1 2 3" << 123.0;
        QTest::newRow("negative") << "-2147483643" << -2147483643.0;
        QTest::newRow("fraction") << "1.25" << 1.25;
        QTest::newRow("no number") << "abc" << 0.0;
        QTest::newRow("sign only") << "-" << 0.0;
        QTest::newRow("exponent") << "2e3x" << 2000.0;
        QTest::newRow("hex") << "&HFF" << 255.0;
        QTest::newRow("octal stops at 8") << "&O178" << 15.0;
        QTest::newRow("stops at colon") << "12:34" << 12.0;
    }
    void val() {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(text::Val(text), value);
    }

    void strTrim() {
        QCOMPARE(text::Str(5), QStringLiteral(" 5"));
        QCOMPARE(text::Str(0), QStringLiteral(" 0"));
        QCOMPARE(text::Str(-12), QStringLiteral("-12"));
        QCOMPARE(text::Trim(QStringLiteral("  a b  ")), QStringLiteral("a b"));
        QCOMPARE(text::Trim(QStringLiteral("\ta\t ")), QStringLiteral("\ta\t")); // only blanks go
        QCOMPARE(text::InStr(1, QStringLiteral("abcabc"), QStringLiteral("c")), 3);
        QCOMPARE(text::InStr(4, QStringLiteral("abcabc"), QStringLiteral("c")), 6);
        QCOMPARE(text::InStr(1, QStringLiteral("abc"), QStringLiteral("x")), 0);
    }

    void keyCodes_data() {
        QTest::addColumn<int>("qtKey");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("vk");
        QTest::newRow("colon") << int(Qt::Key_Colon) << ":" << 186;
        QTest::newRow("colon typed on another layout") << int(Qt::Key_Period) << ":" << 186;
        QTest::newRow("comma") << int(Qt::Key_Comma) << "," << 188;
        QTest::newRow("comma typed on another layout") << int(Qt::Key_M) << "," << 188;
        QTest::newRow("letter") << int(Qt::Key_P) << "p" << int('P');
        QTest::newRow("digit") << int(Qt::Key_7) << "7" << int('7');
        QTest::newRow("F9") << int(Qt::Key_F9) << "" << 120;
        QTest::newRow("enter") << int(Qt::Key_Return) << "\r" << 13;
        QTest::newRow("keypad enter") << int(Qt::Key_Enter) << "\r" << 13;
    }
    void keyCodes() {
        QFETCH(int, qtKey);
        QFETCH(QString, text);
        QFETCH(int, vk);
        QCOMPARE(keys::virtualKey(qtKey, text), vk);
    }

    void shiftMasks() {
        const QList<Qt::KeyboardModifiers> mods{Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier,
                                                Qt::AltModifier, Qt::AltModifier | Qt::ShiftModifier};
        QList<int> masks;
        for (Qt::KeyboardModifiers m : mods)
            masks << keys::shiftMask(m);
        QCOMPARE(masks, QList<int>({0, 1, 2, 4, 5}));
    }
};

QTEST_GUILESS_MAIN(tst_TextHelpers)
#include "tst_TextHelpers.moc"
