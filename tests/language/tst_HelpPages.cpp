#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

#include "language/HelpPages.h"
#include "language/StatementTable.h"
#include "support/TestSupport.h"

class tst_HelpPages : public QObject {
    Q_OBJECT
    static QString helpDir() { return testsupport::dataDir() + QStringLiteral("/help"); }

private slots:
    // The shipped statement pages are exactly what the generator writes today (run gen_helppages after
    // changing the tables or the page layout), and every local link of a shipped page leads to a page.
    // Any change to a page's layout, escaping or links shows here.
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

    // Each context leads to a shipped page; one without a page of its own to the contents.
    void contextFiles() {
        const QList<std::pair<int, QString>> rows{
            {280, "topic280.html"},
            {0, "contents.html"},
            {12345, "contents.html"},
            {1000, "statements/index.html"},
            {2000, "statements/index.html"},
            {StatementTable::helpContext(19, true), "statements/pbp_19.html"},
            {1079, "statements/pbp_79.html"},
            {1080, "contents.html"},
            {StatementTable::helpContext(8, false), "statements/pbc_8.html"},
            {2041, "contents.html"}};
        for (const auto& [context, file] : rows) {
            QCOMPARE(QString::number(context) + u'>' + HelpPages::helpFileForContext(context),
                     QString::number(context) + u'>' + file);
            QVERIFY2(QFileInfo::exists(helpDir() + u'/' + file), qPrintable(file));
        }
    }

    // Markup in a table's text shows as text.
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
