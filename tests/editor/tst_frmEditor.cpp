#include "platform/Colors.h"
#include "support/FrameTest.h"

class tst_frmEditor : public QObject {
    Q_OBJECT
private slots:
    void unloadSavesColoursAndLastFile() {
        FrameFixture f;
        const QString p = f.file(QStringLiteral("keep.pbp"));
        f.start(p);
        SourceView& v = f.view();
        v.TokenInfo().SetForegroundColor(6, 4660, 1);
        v.SetBackColor(colors::rgb(1, 2, 3));
        QVERIFY(f.close());
        QCOMPARE(f.store().read(settings::colors::svComment), QStringLiteral("4660"));
        QCOMPARE(f.store().read(settings::colors::svBackGround), QString::number(colors::rgb(1, 2, 3)));
        QCOMPARE(f.store().read(settings::startup::LastFile), p);
    }

    // Yes to saving on close always shows the save dialog; a save that fails keeps the window and the text.
    void closingAModifiedWindow() {
        FrameFixture f;
        const QString p = f.file(QStringLiteral("named.pbp"), "old\n");
        f.start(p);
        f.doc().InsertOverwrite(0, 0, 3, 0, QStringLiteral("new"));
        f.prompts.answer(Prompts::Answer::Yes);
        f.prompts.chooseFile(f.path(QStringLiteral("no such folder/x.pbp")));
        QVERIFY(!f.active()->close());
        QVERIFY(f.prompts.last().text.startsWith(QStringLiteral("Error(")));
        QCOMPARE(f.doc().GetLine(0), QStringLiteral("new"));
        f.prompts.answer(Prompts::Answer::Yes);
        f.prompts.chooseFile(p);
        QVERIFY(f.active()->close());
        QCOMPARE(f.prompts.shown().last().kind, QStringLiteral("save"));
        QCOMPARE(f.prompts.shown().last().text, p);
        QCOMPARE(testsupport::readFile(p), QByteArray("new\n"));
    }
};

QTEST_MAIN(tst_frmEditor)
#include "tst_frmEditor.moc"
