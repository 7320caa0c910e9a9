#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

#include "language/HelpPages.h"
#include "language/StatementTable.h"
#include "support/TestSupport.h"

namespace {

QString helpDir() {
    return testsupport::dataDir() + QStringLiteral("/help");
}

} // namespace

class tst_HelpPages : public QObject {
    Q_OBJECT
private slots:
    // The shipped statement pages are exactly what the generator writes today (run gen_helppages after
    // changing the tables or the page layout), and every local link of a shipped page leads to a page.
    void shippedPages() {
        const QMap<QString, QString> pages = HelpPages::statementPages();
        QCOMPARE(pages.size(), 79 + 40 + 1);
        const QStringList files = QDir(helpDir() + QStringLiteral("/statements")).entryList(QDir::Files);
        QCOMPARE(files.size(), pages.size());
        QStringList all{QStringLiteral("contents.html"), QStringLiteral("topic220.html"),
                        QStringLiteral("topic280.html"), QStringLiteral("topic290.html")};
        for (const QString& f : files) {
            QVERIFY2(pages.contains(f), qPrintable(f));
            const QByteArray shipped = testsupport::readFile(helpDir() + QStringLiteral("/statements/") + f);
            QVERIFY2(shipped == pages.value(f).toUtf8(), qPrintable(f + QStringLiteral(" is out of date")));
            all.append(QStringLiteral("statements/") + f);
        }
        const QRegularExpression href(QStringLiteral("href=\"([^\"#:]+)"));
        for (const QString& page : all) {
            const QString html = QString::fromUtf8(testsupport::readFile(helpDir() + u'/' + page));
            QVERIFY2(!html.isEmpty(), qPrintable(page));
            const QString folder = QFileInfo(helpDir() + u'/' + page).absolutePath();
            for (auto m = href.globalMatch(html); m.hasNext();) {
                const QString target = m.next().captured(1);
                QVERIFY2(QFileInfo::exists(folder + u'/' + target), qPrintable(page + " -> " + target));
            }
        }
    }

    void contextFiles_data() {
        QTest::addColumn<int>("context");
        QTest::addColumn<QString>("file");
        QTest::newRow("what's new") << 280 << "topic280.html";
        QTest::newRow("contents") << 0 << "contents.html";
        QTest::newRow("unknown") << 12345 << "contents.html";
        QTest::newRow("pro index") << 1000 << "statements/index.html";
        QTest::newRow("pbc index") << 2000 << "statements/index.html";
        QTest::newRow("pro gosub") << StatementTable::helpContext(19, true) << "statements/pbp_19.html";
        QTest::newRow("pro last") << 1079 << "statements/pbp_79.html";
        QTest::newRow("pro past last") << 1080 << "contents.html";
        QTest::newRow("pbc gosub") << StatementTable::helpContext(8, false) << "statements/pbc_8.html";
        QTest::newRow("pbc past last") << 2041 << "contents.html";
    }

    void contextFiles() {
        QFETCH(int, context);
        QFETCH(QString, file);
        QCOMPARE(HelpPages::helpFileForContext(context), file);
        QVERIFY2(QFileInfo::exists(helpDir() + u'/' + file), qPrintable(file));
    }

    void pageContent_data() {
        QTest::addColumn<bool>("pbpMode");
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("contains");
        const auto row = [](const char* name, bool pbpMode, int number, const QStringList& contains) {
            QTest::newRow(name) << pbpMode << number << contains;
        };
        row("include quotes escaped", true, 74,
            {"<h1>INCLUDE</h1>", "<pre><code>INCLUDE &quot;Filename&quot;</code></pre>"});
        row("backslashes kept", true, 70, {"[HouseCode\\KeyCode{\\Repeate}{....}]", "X-10 output."});
        row("pbc debug", false, 4, {"PicBasic Compiler", "<p>Debugging statement not supported by PBC.</p>"});
        row("first has no previous", true, 1, {"<h1>@</h1>", "Next: <a href=\"pbp_2.html\">Asm</a>"});
        row("pbc last has no next", false, 40, {"Previous: <a href=\"pbc_39.html\">Write</a></p>"});
    }

    void pageContent() {
        QFETCH(bool, pbpMode);
        QFETCH(int, row);
        QFETCH(QStringList, contains);
        StatementTable t;
        t.InitPBPCodes(pbpMode);
        const QString html = HelpPages::statementPage(t, row, pbpMode);
        for (const QString& part : contains)
            QVERIFY2(html.contains(part), qPrintable(part));
        QVERIFY(!html.contains(QLatin1String("Next: <a href=\"pbc_41")));
    }

    void escapesMarkup() {
        StatementTable t;
        t.setCell(1, StatementTable::Keyword, QStringLiteral("<b>&"));
        t.setCell(1, StatementTable::Syntax, QStringLiteral("A < B > C & \"D\""));
        t.setCell(1, StatementTable::Description, QStringLiteral("</p><script>"));
        const QString html = HelpPages::statementPage(t, 1, true);
        QVERIFY(html.contains(QLatin1String("<h1>&lt;b&gt;&amp;</h1>")));
        QVERIFY(html.contains(QLatin1String("A &lt; B &gt; C &amp; &quot;D&quot;")));
        QVERIFY(!html.contains(QLatin1String("<script>")));
    }
};

QTEST_GUILESS_MAIN(tst_HelpPages)
#include "tst_HelpPages.moc"
