#include <QTest>

#include "platform/Reports.h"
#include "platform/ScriptedPrompts.h"

class tst_Reports : public QObject {
    Q_OBJECT
private slots:
    void behaviours_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("icon");
        QTest::newRow("named") << "named"
                               << "Goto Error: File not found"
                               << "Pinwright" << int(Prompts::Icon::None);
        QTest::newRow("prefix without a blank") << "named-tight"
                                                << "PopUP Error:File not found"
                                                << "Pinwright" << int(Prompts::Icon::None);
        QTest::newRow("plain") << "plain"
                               << "File not found"
                               << "Pinwright" << int(Prompts::Icon::None);
        QTest::newRow("critical") << "critical"
                                  << "Error! File not found"
                                  << "Pinwright" << int(Prompts::Icon::Critical);
        QTest::newRow("file") << "file"
                              << "Error( 53): File not found"
                              << "File Error" << int(Prompts::Icon::None);
    }
    void behaviours() {
        QFETCH(QString, kind);
        QFETCH(QString, text);
        QFETCH(QString, title);
        QFETCH(int, icon);
        ScriptedPrompts p;
        const AppError e = AppError::fileNotFound();
        if (kind == QLatin1String("named"))
            reports::named(p, nullptr, QStringLiteral("Goto Error: "), e);
        else if (kind == QLatin1String("named-tight"))
            reports::named(p, nullptr, QStringLiteral("PopUP Error:"), e);
        else if (kind == QLatin1String("plain"))
            reports::plain(p, nullptr, e);
        else if (kind == QLatin1String("critical"))
            reports::critical(p, nullptr, e);
        else
            reports::file(p, nullptr, e);
        QCOMPARE(p.shown().size(), 1);
        QCOMPARE(p.last().text, text);
        QCOMPARE(p.last().title, title);
        QCOMPARE(int(p.last().icon), icon);
        QCOMPARE(p.last().buttons, Prompts::Buttons::Ok);
    }
};

QTEST_GUILESS_MAIN(tst_Reports)
#include "tst_Reports.moc"
