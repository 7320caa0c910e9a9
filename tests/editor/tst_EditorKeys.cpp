#include "support/FrameTest.h"

#include "platform/HelpViewer.h"

#include <QListWidget>
#include <QMenu>
#include <QTextEdit>

// Typing into the real editor inside the real frame: the quick lists, accepting entries, the keys.
class tst_EditorKeys : public QObject {
    Q_OBJECT

    // `text` opened with the caret at its end, on a device with the given ports.
    struct Session {
        FrameFixture f;
        MDIMain* m = nullptr;
        frmEditor* w = nullptr;
        SourceView* v = nullptr;
        QWidget* keys = nullptr;

        explicit Session(const QByteArray& text, const DevicePortTable& ports = {},
                         const char* compiler = "0") {
            f.store().save(settings::startup::CompilerType, QString::fromLatin1(compiler));
            m = &f.startWith(QStringLiteral("prog.pbp"), text);
            m->state().DevicePorts = ports;
            w = f.active();
            v = &w->View();
            keys = v->focusProxy();
            v->SetFocus();
            const int last = v->Document().NumLines() - 1;
            v->MoveCaret(v->Document().GetLineLength(last), last);
        }
        QString line() const { return v->Document().GetLine(v->CaretY()); }
        // The first lines of the text, joined by "|".
        QString lines(int count) const {
            QStringList out;
            for (int i = 0; i < count; ++i)
                out << v->Document().GetLine(i);
            return out.join(u'|');
        }
    };
    static QStringList entries(const QListWidget& list) {
        QStringList out;
        for (int i = 0; i < list.count(); ++i)
            out << list.item(i)->text();
        return out;
    }

private slots:
    // The quick list that typing or a key opens: its entries (the first three and "..." of a long one),
    // then for typing "syntax" when the syntax help shows, for a key the list's title.
    void quickLists() {
        const DevicePortTable ab{0, 2, 3}, gpio{6}, none{}; // pins of GPIO, PORTA, PORTB...
        const std::tuple<QByteArray, DevicePortTable, QString, QString> rows[] = {
            {"", ab, "HIGH ", "PORTA.0,PORTA.1,PORTB.0,PORTB.1,PORTB.2|syntax"},
            {"", gpio, "high ", "GPIO.0,GPIO.1,GPIO.2,GPIO.3,GPIO.4,GPIO.5|syntax"},
            {"", ab, "SEROUT PORTB.0,", "0 - T2400,1 - T1200,2 - T9600,...|syntax"},
            {"Btn VAR BYTE\nled var portb.0\n", ab, "BUTTON 0,1,255,0,", "Btn,led|syntax"},
            {"Btn VAR BYTE\n", ab, "BUTTON 0,1,255,0,Btn,", "|syntax"},
            {"Main:\n\tLoop:\n", ab, "GOTO ", "Main,Loop|syntax"},
            {"", ab, "PAUSE ", "|"},
            {"", ab, "DEFINE ", "ADC_BITS,ADC_CLOCK,ADC_SAMPLEUS 50,...|"},
            {"", ab, "DEFINE OSC ", "3  - 3.58Mhz,4  - 4Mhz ,8  - 8Mhz,...|"},
            {"Main:\n\tLoop: GOTO Main\n   Not: here\n", none, "Alt+F12", "Main,Loop|Quick Labels List"},
            {"", none, "Alt+F11", "0,1,2,3,4,5,6,7|Quick PBC Pins List"}, // PicBasic
            {"led var portb.0\nLED VAR PORTB.1\n", none, "Alt+F9", "led,LED|Quick Variable List"},
            {"", none, "Alt+F8", "|"},
            {"", none, "Alt+Shift+F12", "|"}};
        for (const auto& [text, device, typed, expected] : rows) {
            const bool key = typed.startsWith(QLatin1String("Alt+"));
            Session s(text, device, typed == QLatin1String("Alt+F11") ? "1" : "0");
            if (key)
                QTest::keySequence(s.keys, QKeySequence(typed));
            else
                QTest::keyClicks(s.keys, typed);
            const QListWidget& list = s.w->List1();
            QStringList shown = list.isVisible() ? entries(list) : QStringList();
            if (shown.size() > 8)
                shown = shown.mid(0, 3) << QStringLiteral("...");
            const QString help = key ? s.m->PanelText(2) : s.w->SyntaxHelp().isVisible() ? "syntax" : "";
            QCOMPARE(shown.join(u',') + u'|' + help, expected);
            const bool placed = list.width() == 127 && list.y() == s.m->state().CaretPointY + 40;
            QVERIFY2(!list.isVisible() || (placed && s.m->state().QuickListMode == 10), qPrintable(typed));
        }
    }

    // After the text typed and the arrows pressed, a key takes the entry and closes the list; Enter
    // also breaks the line, so that what is typed next ("blink:") starts a line of its own.
    void accepting() {
        const int enter = Qt::Key_Return;
        const std::tuple<const char*, const char*, int, int, const char*> rows[] = {
            {"", "SEROUT PORTB.0,", 5, enter, "SEROUT PORTB.0,4|blink:"}, // 4 - N2400
            {"", "HIGH ", 1, enter, "HIGH PORTA.0|blink:"},
            {"", "HIGH por", 0, enter, "HIGH PORTA.0|blink:"},
            {"", "HIGH PO", 0, Qt::Key_Space, "HIGH PORTA.0"},
            {"", "INCLUDE ", 5, enter, "INCLUDE \"MODEDEFS.BAS\"|blink:"},
            {"main:\n", "GOTO main", 0, enter, "main:|GOTO main|blink:"}, // the whole name typed
            {"", "HIGH ", 0, enter, "HIGH |blink:"}};                     // no pick: Enter breaks the line
        for (const auto& [text, typed, downs, key, result] : rows) {
            Session s(text, DevicePortTable{0, 5, 8});
            QTest::keyClicks(s.keys, QString::fromLatin1(typed));
            QVERIFY2(s.w->List1().isVisible(), typed);
            // A key that types nothing shows the list again as it stands.
            QTest::keyClick(s.keys, Qt::Key_Shift);
            for (int i = 0; i < downs; ++i)
                QTest::keyClick(s.keys, Qt::Key_Down);
            QCOMPARE(s.v->CaretY(), s.v->Document().NumLines() - 1); // the arrows moved in the list
            QTest::keyClick(s.keys, Qt::Key(key));
            QVERIFY(!s.w->List1().isVisible() && s.m->state().QuickListMode == 0 &&
                    s.m->state().ListMode == 0);
            if (key == enter)
                QTest::keyClicks(s.keys, QStringLiteral("blink:"));
            QCOMPARE(s.lines(s.v->Document().NumLines()), QString::fromLatin1(result));
        }
    }

    void browseInsertsTheShortPath() {
        Session s("");
        const QString inc = s.f.file(QStringLiteral("my defs.bas"), "x CON 1\n");
        QTest::keyClicks(s.keys, QStringLiteral("INCLUDE "));
        QTest::keyClick(s.keys, Qt::Key_Down);
        s.f.prompts.chooseFile(inc);
        QTest::keyClick(s.keys, Qt::Key_Return);
        // The Enter that took the entry also broke the line.
        QCOMPARE(s.lines(2), QStringLiteral("INCLUDE \"") + s.w->GetShortPath(inc) + QStringLiteral("\"|"));
        // No name: the message, and the text stays.
        QTest::keyClicks(s.keys, QStringLiteral("INCLUDE "));
        QTest::keyClick(s.keys, Qt::Key_Down);
        s.f.prompts.chooseFile(QString());
        QTest::keyClick(s.keys, Qt::Key_Return);
        QCOMPARE(s.f.prompts.last().text, QStringLiteral("No filename entered."));
        QCOMPARE(s.v->Document().GetLine(1), QStringLiteral("INCLUDE "));
    }

    void listKeepsTheKeyboard() {
        Session s("A:\nB:\nidx VAR BYTE\nxyz");
        QTest::keyClick(s.keys, Qt::Key_F12, Qt::AltModifier);
        QListWidget& list = s.w->List1();
        QCOMPARE(list.currentRow(), -1);
        QTest::keySequence(s.keys, QKeySequence(QStringLiteral("Down,Down,Down")));
        QCOMPARE(list.currentRow(), 1); // stops at the last entry
        QTest::keySequence(s.keys, QKeySequence(QStringLiteral("Up,Up,Up")));
        QCOMPARE(list.currentRow(), -1);
        QCOMPARE(s.v->CaretY(), 3);
        // Moving along the line keeps the list; another line closes it.
        s.v->MoveCaret(1, 3);
        QVERIFY(list.isVisible());
        s.v->MoveCaret(1, 0);
        QVERIFY(!list.isVisible() && s.m->state().QuickListMode == 0);
        // Right still moves the caret; Esc closes the list.
        s.v->MoveCaret(0, 2);
        QTest::keyClick(s.keys, Qt::Key_F12, Qt::AltModifier);
        QTest::keyClick(s.keys, Qt::Key_Right);
        QCOMPARE(s.v->CaretX(), 1);
        QTest::keyClick(s.keys, Qt::Key_Escape);
        QVERIFY(!list.isVisible() && s.m->state().QuickListMode == 0);

        // A double-click inserts at the caret.
        s.v->MoveCaret(3, 3);
        QTest::keyClick(s.keys, Qt::Key_Return);
        QTest::keyClicks(s.keys, QStringLiteral("GOTO "));
        list.setCurrentRow(1);
        emit list.itemDoubleClicked(list.item(1));
        QCOMPARE(s.line(), QStringLiteral("GOTO B"));
        QVERIFY(!list.isVisible());
        // BRANCH opens its label table and offers the labels again after each comma.
        QTest::keyClick(s.keys, Qt::Key_Return);
        QTest::keyClicks(s.keys, QStringLiteral("BRANCH idx,"));
        QCOMPARE(s.line(), QStringLiteral("BRANCH idx,["));
        QCOMPARE(entries(list), (QStringList{"A", "B"}));
        QTest::keyClick(s.keys, Qt::Key_Escape);
        QTest::keyClicks(s.keys, QStringLiteral("A,"));
        QCOMPARE(s.line(), QStringLiteral("BRANCH idx,[A,"));
        QCOMPARE(entries(list), (QStringList{"A", "B"}));

        // A statement context that points outside the text is reported.
        QTest::keyClick(s.keys, Qt::Key_Escape);
        AppState& st = s.m->state();
        st.QuickListMode = 2;
        st.QuickListContext = {0, 21, 1, 4, 50};
        s.w->ShowQuickList(32);
        QCOMPARE(s.f.prompts.last().text, QStringLiteral("PopUP Error:Subscript out of range"));
        QVERIFY(!list.isVisible());
    }

    // A colon after a reserved word asks: OK takes the colon out, Cancel keeps it. A label's colon is fine.
    void colonAfterAWord() {
        const QString asked = QStringLiteral("|Error Line: 3: Reserved Words Can Not Be Used As Labels!");
        for (const auto& [word, answer, result] : {std::tuple{"GOTO", Prompts::Answer::Ok, "x = 1 : GOTO"},
                                                   {"GOTO", Prompts::Answer::Cancel, "x = 1 : GOTO:"},
                                                   {"Main", Prompts::Answer::Ok, "x = 1 : Main:"}}) {
            Session s("\n\nx = 1 : ");
            QTest::keyClicks(s.keys, QString::fromLatin1(word));
            s.f.prompts.answer(answer);
            QTest::keyClicks(s.keys, QStringLiteral(":"));
            QString shown = s.line();
            for (const ScriptedPrompts::Shown& p : s.f.prompts.shown())
                shown += u'|' + p.title + ": " + p.text;
            const bool reserved = qstrcmp(word, "GOTO") == 0;
            QCOMPARE(shown, QString::fromLatin1(result) + (reserved ? asked : QString()));
            QCOMPARE(s.f.prompts.last().buttons,
                     reserved ? Prompts::Buttons::OkCancel : Prompts::Buttons::Ok);
        }
    }

    void indentAndOutdent() {
        Session s("a\nb\n\tc\nd\n");
        s.v->SetSel(0, 0, 1, 2);
        s.m->SSActiveToolBars1_ToolClick(ids::ID_Indent);
        QCOMPARE(s.lines(4), QStringLiteral("\ta|\tb|\t\tc|d"));
        int c1, l1, c2, l2;
        s.v->GetSel(c1, l1, c2, l2);
        QCOMPARE((QList<int>{c1, l1, c2, l2}), (QList<int>{0, 0, 3, 2}));
        s.m->SSActiveToolBars1_ToolClick(ids::ID_Outdent);
        s.m->SSActiveToolBars1_ToolClick(ids::ID_Outdent);
        QCOMPARE(s.lines(4), QStringLiteral("a|b|c|d"));
        s.v->Document().Undo(); // one undo step per indent
        QCOMPARE(s.lines(4), QStringLiteral("a|b|\tc|d"));
        // Without a selection, the caret line.
        s.v->MoveCaret(0, 3);
        QTest::keyClick(s.keys, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(s.lines(4), QStringLiteral("a|b|\tc|d"));
        s.m->SSActiveToolBars1_ToolClick(ids::ID_Indent);
        QCOMPARE(s.lines(4), QStringLiteral("a|b|\tc|\td"));
        // A selection that ends at column 0 leaves that line alone.
        s.v->SetSel(0, 1, 0, 3);
        s.m->SSActiveToolBars1_ToolClick(ids::ID_Indent);
        QCOMPARE(s.lines(4), QStringLiteral("a|\tb|\t\tc|\td"));
    }

    // F1, and Help on the pop-up menu, show the page of the statement at the caret; elsewhere the contents.
    void statementHelp() {
        const std::tuple<int, int, bool, const char*> rows[] = {
            {6, 0, true, "statements/pbp_57.html"}, {6, 0, false, "statements/pbp_57.html"},
            {4, 1, true, "statements/pbp_21.html"}, {3, 1, false, "statements/pbp_21.html"},
            {1, 2, true, "contents.html"},          {10, 0, true, "contents.html"},
            {2, 2, false, "contents.html"}};
        Session s("SEROUT PORTB.0,N2400,[x]\nHIGH PORTB.1\nx = 1\n");
        QAction* menuHelp = s.m->toolBars().action(ids::ID_StatementHelp);
        QVERIFY(menuHelp && s.m->toolBars().menu(ids::ID_Edit)->actions().contains(menuHelp));
        for (const auto& [col, line, f1, page] : rows) {
            s.v->MoveCaret(col, line);
            if (f1)
                QTest::keyClick(s.keys, Qt::Key_F1);
            else
                menuHelp->trigger();
            QCOMPARE(s.m->help().lastPage(), QString::fromLatin1(page));
        }
    }

    // Releasing a button classifies the token under the pointer; the right button opens the Edit menu.
    void mouseRelease() {
        for (const auto& [col, button, tokenClass, tokenColor] : {std::tuple{9, Qt::LeftButton, 6, true},
                                                                  {0, Qt::LeftButton, 1, true},
                                                                  {2, Qt::LeftButton, 0, false},
                                                                  {9, Qt::RightButton, 10, true}}) {
            Session s("xy = 1 ' note\nx = 2 : GOTO here\n");
            int x = 0, y = 0;
            s.v->PositionToPoint(col, button == Qt::RightButton ? 1 : 0, x, y);
            QWidget* viewport = s.keys->findChild<QWidget*>(QStringLiteral("qt_scrollarea_viewport"));
            QVERIFY(viewport);
            QTest::mouseClick(viewport, button, {}, viewport->mapFrom(s.v, QPoint(x + 2, y + 3)));
            QCOMPARE(s.m->state().MouseTokenClass, tokenClass);
            QCOMPARE(s.m->toolBars().Enabled(ids::ID_TokenColor), tokenColor);
            QMenu* edit = s.m->toolBars().menu(ids::ID_Edit);
            QCOMPARE(edit->isVisible(), button == Qt::RightButton);
            edit->hide();
        }
    }
};

QTEST_MAIN(tst_EditorKeys)
#include "tst_EditorKeys.moc"
