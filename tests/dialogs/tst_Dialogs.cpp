#include <QLabel>
#include <QLineEdit>

#include "dialogs/frmAbout.h"
#include "dialogs/frmGotoLine.h"
#include "support/FrameTest.h"

class tst_Dialogs : public QObject {
    Q_OBJECT
private slots:
    // Only ASCII digits reach the box; Backspace still works; Enter goes to the start of the line, and
    // does nothing while the box is empty.
    void gotoLine_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<int>("caretLine");
        QTest::newRow("first line") << "12" << QString("12") << 0;
        QTest::newRow("letters, signs, other digits dropped") << "1a-9+b 0./:\u0660" << QString("190") << 18;
        QTest::newRow("spaces dropped, last line") << " 3 0 1" << QString("301") << 29;
        QTest::newRow("empty: Escape leaves the caret") << "a" << QString() << 5;
        QTest::newRow("past the end: last line") << "451" << QString("451") << 30;
        QTest::newRow("past any number: last line") << "99999999999" << QString("99999999999") << 30;
        QTest::newRow("zero: first line") << "00" << QString("00") << 0;
    }
    void gotoLine() {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        FrameFixture f;
        frmEditor* w =
            f.startWith(QStringLiteral("thirty.pbp"), QByteArray("line\n").repeated(30)).activeEditor();
        w->View().MoveCaret(3, 5);
        frmGotoLine dialog(*f.frame());
        dialog.show();
        QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("Range"))->text(), QStringLiteral("Lines 1 to 31"));
        for (const QChar c : typed) // with its text: keyClicks sends Latin-1 only
            QTest::sendKeyEvent(QTest::KeyAction::Click, &dialog.LineValue(), Qt::Key_unknown, QString(c),
                                {});
        QCOMPARE(dialog.LineValue().text(), kept);
        QTest::keyClick(&dialog.LineValue(), Qt::Key_Backspace);
        QCOMPARE(dialog.LineValue().text(), kept.left(kept.size() - 1));
        QTest::keyClick(&dialog.LineValue(), Qt::Key_Return);
        if (kept.isEmpty()) {
            QVERIFY(dialog.isVisible());
            QTest::keyClick(&dialog.LineValue(), Qt::Key_Escape);
        }
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(kept.isEmpty() ? QDialog::Rejected : QDialog::Accepted));
        QTEST(w->View().CaretY(), "caretLine");
        QCOMPARE(w->View().CaretX(), kept.isEmpty() ? 3 : 0);
    }

    void gotoLineWithoutAWindowReports() {
        FrameFixture f;
        f.start();
        f.active()->close();
        frmGotoLine dialog(*f.frame());
        dialog.show();
        QTest::keyClicks(&dialog.LineValue(), QStringLiteral("3"));
        dialog.cmdGotoLine_Click();
        QCOMPARE(f.prompts.last().text,
                 QStringLiteral("Goto Error: Object variable or With block variable not set"));
        QVERIFY(dialog.isVisible());
    }

    void aboutBox() {
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
