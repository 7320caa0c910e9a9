#include <QTest>

#include "platform/KeyCodes.h"
#include "platform/TextHelpers.h"

class tst_TextHelpers : public QObject {
    Q_OBJECT
private slots:
    void val() {
        const QList<std::pair<QString, double>> rows{
            {"", 0},        {"   12abc", 12}, {"\t7", 7}, {"1 2 3", 123}, {"-2147483643", -2147483643.0},
            {"1.25", 1.25}, {"abc", 0},       {"-", 0},   {"2e3x", 2000}, {"&HFF", 255},
            {"&O178", 15}, // octal stops at 8
            {"12:34", 12}};
        for (const auto& [text, value] : rows)
            QVERIFY2(text::Val(text) == value, qPrintable(text));
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

    // Classic key codes, also where a layout puts a sign on another key.
    void keyCodes() {
        // clang-format off
        const QList<std::tuple<int, QString, int>> rows{
            {Qt::Key_Colon, ":", 186},
            {Qt::Key_Period, ":", 186}, // colon typed on another layout
            {Qt::Key_Comma, ",", 188},
            {Qt::Key_M, ",", 188}, // comma typed on another layout
            {Qt::Key_P, "p", 'P'},
            {Qt::Key_7, "7", '7'},
            {Qt::Key_F9, "", 120},
            {Qt::Key_Return, "\r", 13},
            {Qt::Key_Enter, "\r", 13}, // keypad
        };
        // clang-format on
        for (const auto& [qtKey, text, vk] : rows)
            QVERIFY2(keys::virtualKey(qtKey, text) == vk, qPrintable(QKeySequence(qtKey).toString() + text));
    }

    void shiftMasks() {
        using keys::shiftMask;
        QCOMPARE(QList<int>({shiftMask(Qt::NoModifier), shiftMask(Qt::ShiftModifier),
                             shiftMask(Qt::ControlModifier), shiftMask(Qt::AltModifier),
                             shiftMask(Qt::AltModifier | Qt::ShiftModifier)}),
                 QList<int>({0, 1, 2, 4, 5}));
    }
};

QTEST_GUILESS_MAIN(tst_TextHelpers)
#include "tst_TextHelpers.moc"
