#include <QTest>

#include "platform/Reports.h"
#include "platform/ScriptedPrompts.h"

class tst_Reports : public QObject {
    Q_OBJECT
private slots:
    void behaviours_data() {
        QTest::addColumn<QString>("kind"); // a named report's prefix, or the behaviour
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        // clang-format off
        QTest::newRow("named") << "Goto Error: " << "Goto Error: File not found" << "Pinwright";
        QTest::newRow("prefix without a blank") << "PopUP Error:" << "PopUP Error:File not found" << "Pinwright";
        QTest::newRow("plain") << "plain" << "File not found" << "Pinwright";
        QTest::newRow("critical") << "critical" << "Error! File not found" << "Pinwright";
        QTest::newRow("file") << "file" << "Error( 53): File not found" << "File Error";
        // clang-format on
    }
    void behaviours() {
        QFETCH(QString, kind);
        QFETCH(QString, text);
        QFETCH(QString, title);
        ScriptedPrompts p;
        const AppError e = AppError::fileNotFound();
        if (kind == QLatin1String("plain"))
            reports::plain(p, nullptr, e);
        else if (kind == QLatin1String("critical"))
            reports::critical(p, nullptr, e);
        else if (kind == QLatin1String("file"))
            reports::file(p, nullptr, e);
        else
            reports::named(p, nullptr, kind, e);
        QCOMPARE(p.shown().size(), 1);
        QCOMPARE(p.last().text, text);
        QCOMPARE(p.last().title, title);
        QCOMPARE(p.last().icon,
                 kind == QLatin1String("critical") ? Prompts::Icon::Critical : Prompts::Icon::None);
        QCOMPARE(p.last().buttons, Prompts::Buttons::Ok);
    }
};

QTEST_GUILESS_MAIN(tst_Reports)
#include "tst_Reports.moc"
