#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTest>

#include "dialogs/frmAbout.h"
#include "dialogs/frmGotoLine.h"
#include "dialogs/frmScan.h"
#include "editor/frmEditor.h"
#include "platform/sourceview/SourceView.h"
#include "shell/MDIMain.h"
#include "support/FrameFixture.h"
#include "support/TestSupport.h"

class tst_Dialogs : public QObject {
    Q_OBJECT
private:
    // A frame whose one window holds 30 numbered lines.
    static frmEditor* thirtyLines(FrameFixture& f) {
        QByteArray text;
        for (int i = 1; i <= 30; ++i)
            text += "line " + QByteArray::number(i) + "\n";
        const QString file = f.path(QStringLiteral("thirty.pbp"));
        testsupport::writeFile(file, text);
        f.start(file);
        return f.active();
    }

private slots:
    void gotoLineKeys_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("digits") << "123"
                                << "123";
        QTest::newRow("letters and signs dropped") << "1a-2+b 3."
                                                   << "123";
        QTest::newRow("spaces dropped") << " 4 5"
                                        << "45";
    }
    void gotoLineKeys() {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        FrameFixture f;
        thirtyLines(f);
        frmGotoLine dialog(*f.frame());
        dialog.show();
        QTest::keyClicks(&dialog.LineValue(), typed);
        QCOMPARE(dialog.LineValue().text(), kept);
        QTest::keyClick(&dialog.LineValue(), Qt::Key_Backspace);
        QCOMPARE(dialog.LineValue().text(), kept.chopped(1));
    }

    void gotoLineMovesTheCaret_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("caretLine");
        QTest::newRow("first line") << "1" << 0;
        QTest::newRow("line 12") << "12" << 11;
        QTest::newRow("last line") << "30" << 29;
    }
    void gotoLineMovesTheCaret() {
        QFETCH(QString, typed);
        QFETCH(int, caretLine);
        FrameFixture f;
        frmEditor* w = thirtyLines(f);
        frmGotoLine dialog(*f.frame());
        dialog.show();
        QTest::keyClicks(&dialog.LineValue(), typed);
        QTest::keyClick(&dialog.LineValue(), Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(w->View().CaretY(), caretLine);
        QCOMPARE(w->View().CaretX(), 0);
    }

    void gotoLineEmptyEnterAndEscape() {
        FrameFixture f;
        frmEditor* w = thirtyLines(f);
        w->View().MoveCaret(3, 5);
        frmGotoLine dialog(*f.frame());
        dialog.show();
        QTest::keyClick(&dialog.LineValue(), Qt::Key_Return);
        QVERIFY(dialog.isVisible());
        QTest::keyClick(&dialog.LineValue(), Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(w->View().CaretY(), 5);
    }

    void gotoLineWithoutAWindowReports() {
        FrameFixture f;
        thirtyLines(f);
        f.active()->close();
        frmGotoLine dialog(*f.frame());
        dialog.show();
        QTest::keyClicks(&dialog.LineValue(), QStringLiteral("3"));
        dialog.cmdGotoLine_Click();
        QCOMPARE(f.prompts.last().text,
                 QStringLiteral("Goto Error: Object variable or With block variable not set"));
        QVERIFY(dialog.isVisible());
    }

    void scanWindow() {
        frmScan scan;
        QCOMPARE(scan.windowTitle(), QStringLiteral("Pinwright"));
        QCOMPARE(scan.Label1().text(), QStringLiteral("Scanning Source Code File."));
        QVERIFY(!scan.isModal());
    }

    void aboutBox() {
        ScriptedPrompts prompts;
        frmAbout about(prompts);
        QCOMPARE(about.windowTitle(), QStringLiteral("About Pinwright"));
        QVERIFY(about.lblVersion().text().startsWith(QStringLiteral("Pinwright Version ")));
        QCOMPARE(about.lblVersion().text().count(u'.'), 2);
        QVERIFY(about.Text1().toPlainText().contains(QStringLiteral("Korvana Systems")));
    }

    void systemInfoUnavailable() {
        // With no search path, no system-information tool can be found.
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", "");
        ScriptedPrompts prompts;
        frmAbout about(prompts);
        about.show();
        about.StartSysInfo();
        qputenv("PATH", path);
#ifdef Q_OS_LINUX
        QCOMPARE(prompts.messages(),
                 QStringList{QStringLiteral("System Information Is Unavailable At This Time")});
#endif
        QVERIFY(about.isVisible());
    }
};

QTEST_MAIN(tst_Dialogs)
#include "tst_Dialogs.moc"
