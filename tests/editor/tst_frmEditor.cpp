#include "platform/Colors.h"
#include "support/FrameTest.h"

class tst_frmEditor : public QObject {
    Q_OBJECT
private slots:
    // Stored colours reach the screen and the printer, the number keeps its default; a colour that is no
    // number leaves the control's own.
    void loadAppliesStoredColours() {
        FrameFixture f;
        for (const auto& [key, stored] :
             {std::pair{"svString", "255"}, {"svModifer", "65280"}, {"svComment", "green"}})
            f.store().Save(QStringLiteral("Pinwright"), QStringLiteral("ViewColors"), key, stored);
        f.start();
        SourceView& v = f.view();
        for (const auto& [tokenClass, colour] : {std::pair{7, 255}, {15, 65280}, {3, 12632064}}) {
            QCOMPARE(v.TokenInfo().ForegroundColor(tokenClass), colour);
            QCOMPARE(v.PrintTokenInfo().ForegroundColor(tokenClass), colour);
        }
        SourceView fresh;
        QCOMPARE(v.TokenInfo().HasForegroundColor(6), fresh.TokenInfo().HasForegroundColor(6));
        QCOMPARE(v.TokenInfo().ForegroundColor(6), fresh.TokenInfo().ForegroundColor(6));
        QVERIFY(v.TokenInfo().TokenStyle(10) == 1 && v.TokenInfo().TokenStyle(15) == 1); // bold
    }

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
        // The system colour is the default and round-trips as its negative decimal text.
        FrameFixture g;
        g.start();
        QCOMPARE(g.view().BackColor(), colors::SystemWindow);
        QCOMPARE(g.view().TokenInfo().BackgroundColor(0), colors::SystemWindow);
        QVERIFY(g.close());
        QCOMPARE(g.store().read(settings::colors::svBackGround), QStringLiteral("-2147483643"));
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
