#include <QFontInfo>
#include <QSignalSpy>
#include <QTest>

#include "platform/SourceView.h"

class tst_SourceView : public QObject {
    Q_OBJECT
private:
    static QString numberedLines(int n) {
        QStringList l;
        for (int i = 0; i < n; ++i)
            l << QStringLiteral("line %1 with some text that is quite long for scrolling sideways").arg(i);
        return l.join(u'\n');
    }

private slots:
    void caretIsClampedAndAnnounced_data() {
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::newRow("inside") << 2 << 1 << 2 << 1;
        QTest::newRow("past line end") << 50 << 0 << 5 << 0;
        QTest::newRow("past last line") << 1 << 9 << 1 << 2;
        QTest::newRow("negative") << -3 << -1 << 0 << 0;
    }
    void caretIsClampedAndAnnounced() {
        QFETCH(int, col);
        QFETCH(int, line);
        QFETCH(int, x);
        QFETCH(int, y);
        SourceView v;
        v.Document().InsertImpl(0, 0, QStringLiteral("first\nsecond\nthird"));
        v.MoveCaret(4, 2);
        QSignalSpy moves(&v, &SourceView::CaretMove);
        v.MoveCaret(col, line);
        QCOMPARE(v.CaretX(), x);
        QCOMPARE(v.CaretY(), y);
        QCOMPARE(moves.size(), 1);
        QCOMPARE(moves.first().at(0).toInt(), x);
        QCOMPARE(moves.first().at(1).toInt(), y);
    }

    void scrollPosition() {
        SourceView v;
        v.resize(300, 200);
        v.show();
        QVERIFY(QTest::qWaitForWindowExposed(&v));
        v.Document().InsertImpl(0, 0, numberedLines(200));
        v.SetScrollPos(5, 40);
        int col = -1, line = -1;
        v.GetScrollPos(col, line);
        QCOMPARE(line, 40);
        QCOMPARE(col, 5);
        v.SetScrollPos(0, 0);
        v.GetScrollPos(col, line);
        QCOMPARE(line, 0);
        QCOMPARE(col, 0);
    }

    void monospaceMetrics() {
        SourceView v;
        QVERIFY(QFontInfo(v.font()).fixedPitch() || v.CellWidth() > 0);
        QVERIFY(v.CellWidth() > 0);
        QVERIFY(v.LineHeight() >= v.CellWidth());
        v.SetMarginStyle(1);
        QCOMPARE(v.MarginWidth(), v.MarginCells() * v.CellWidth());
        v.SetMarginStyle(0);
        QCOMPARE(v.MarginWidth(), 0);
    }
};

QTEST_MAIN(tst_SourceView)
#include "tst_SourceView.moc"
