
#include "support/FrameTest.h"

// Open Include from the Edit menu and by Ctrl+click: where the file is looked for, what an open or a
// missing file gives.
class tst_OpenInclude : public QObject {
    Q_OBJECT

private slots:
    void opens_data() {
        QTest::addColumn<QString>("named");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<bool>("ctrlClick");
        QTest::addColumn<QString>("opened"); // "" when nothing opens
        QTest::newRow("next to the document")
            << "lib.bas" << QStringList{"src/lib.bas"} << false << "src/lib.bas";
        QTest::newRow("in the compiler's folder, by Ctrl+click")
            << "lib.bas" << QStringList{"pbp/lib.bas"} << true << "pbp/lib.bas";
        QTest::newRow("the document's folder first")
            << "lib.bas" << QStringList{"pbp/lib.bas", "src/lib.bas"} << true << "src/lib.bas";
        QTest::newRow("a folder part, written with backslashes")
            << "inc\\lcd.pbp" << QStringList{"src/inc/lcd.pbp"} << false << "src/inc/lcd.pbp";
        QTest::newRow("letter case as another system allows")
            << "LIB.BAS" << QStringList{"pbp/lib.bas"} << false << "pbp/lib.bas";
        QTest::newRow("found nowhere") << "lib.bas" << QStringList{"other/lib.bas"} << true << "";
    }
    void opens() {
        QFETCH(QString, named);
        QFETCH(QStringList, files);
        QFETCH(bool, ctrlClick);
        QFETCH(QString, opened);
        FrameFixture f;
        const QString root = f.dir.filePath(QStringLiteral("w"));
        for (const QString& file : files)
            testsupport::writeFile(root + u'/' + file, "Sub:\r\n");
        const QString doc = root + QStringLiteral("/src/prog.pbp");
        testsupport::writeFile(doc, "x = 1\r\nINCLUDE \"" + named.toUtf8() + "\" ' library\r\n");
        f.store().save(settings::startup::CompilerPathName, root + QStringLiteral("/pbp/PBPW.EXE"));
        MDIMain& m = f.start(doc);
        m.show();
        SourceView& v = f.view();
        if (ctrlClick) {
            int x = 0, y = 0;
            v.PositionToPoint(3, 1, x, y);
            QWidget* viewport = v.focusProxy()->findChild<QWidget*>(QStringLiteral("qt_scrollarea_viewport"));
            QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier,
                              viewport->mapFrom(&v, QPoint(x + 2, y + 3)));
        } else {
            // Enabled on the INCLUDE line only, checked as the Edit (and pop-up) menu opens.
            m.toolBars().Click(ids::ID_Edit);
            QVERIFY(!m.toolBars().Enabled(ids::ID_OpenInclude));
            v.MoveCaret(0, 1);
            m.toolBars().Click(ids::ID_Edit);
            QVERIFY(m.toolBars().Enabled(ids::ID_OpenInclude));
            m.toolBars().Click(ids::ID_OpenInclude);
        }
        if (opened.isEmpty()) {
            QCOMPARE(m.editors().size(), 1);
            const QString shown = f.prompts.messages().join(u'\n');
            QVERIFY2(shown.contains(named), qPrintable(shown));
            QVERIFY(shown.contains(QDir::toNativeSeparators(root + QStringLiteral("/src"))));
            QVERIFY(shown.contains(QDir::toNativeSeparators(root + QStringLiteral("/pbp"))));
            return;
        }
        QCOMPARE(m.editors().size(), 2);
        const QString path = QDir::toNativeSeparators(root + u'/' + opened);
        QCOMPARE(f.active()->caption(), path);
        QCOMPARE(f.doc().GetLine(0), QStringLiteral("Sub:"));
        // Opened as Open opens: on the recent list.
        QCOMPARE(m.toolBars().Caption(ids::ID_File1), QStringLiteral("&1 ") + path);
        QVERIFY(f.prompts.messages().isEmpty());

        // Asked again from the including document, the open window comes forward; no second copy.
        m.mdiArea().setActiveSubWindow(m.editors().first());
        m.editors().first()->View().MoveCaret(0, 1);
        m.toolBars().Click(ids::ID_OpenInclude);
        QCOMPARE(m.editors().size(), 2);
        QCOMPARE(f.active()->caption(), path);
        QVERIFY(f.prompts.messages().isEmpty());
    }
};

QTEST_MAIN(tst_OpenInclude)
#include "tst_OpenInclude.moc"
