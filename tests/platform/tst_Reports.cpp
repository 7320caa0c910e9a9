#include <QTest>

#include "platform/Reports.h"
#include "platform/ScriptedPrompts.h"

class tst_Reports : public QObject {
    Q_OBJECT
private slots:
    void behaviours() {
        // A named report's prefix, or the behaviour; the text and the title shown.
        const QList<std::array<QString, 3>> rows{
            {"Goto Error: ", "Goto Error: File not found", "Pinwright"},
            {"PopUP Error:", "PopUP Error:File not found", "Pinwright"}, // a prefix without a blank
            {"plain", "File not found", "Pinwright"},
            {"critical", "Error! File not found", "Pinwright"},
            {"file", "Error( 53): File not found", "File Error"}};
        const AppError e = AppError::fileNotFound();
        for (const auto& [kind, text, title] : rows) {
            ScriptedPrompts p;
            if (kind == QLatin1String("plain"))
                reports::plain(p, nullptr, e);
            else if (kind == QLatin1String("critical"))
                reports::critical(p, nullptr, e);
            else if (kind == QLatin1String("file"))
                reports::file(p, nullptr, e);
            else
                reports::named(p, nullptr, kind, e);
            QCOMPARE(p.shown().size(), 1);
            QCOMPARE(p.last().text + u'|' + p.last().title, text + u'|' + title);
            QCOMPARE(p.last().icon,
                     kind == QLatin1String("critical") ? Prompts::Icon::Critical : Prompts::Icon::None);
            QCOMPARE(p.last().buttons, Prompts::Buttons::Ok);
        }
    }
};

QTEST_GUILESS_MAIN(tst_Reports)
#include "tst_Reports.moc"
