#include <QTest>

#include "language/LabelCheck.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>

// Jumps to missing labels and labels defined twice, as "line:column message" (both from 0).
class tst_LabelCheck : public QObject {
    Q_OBJECT

    // PicBasic Pro's comment starters.
    const LexerConfig pbp{QStringLiteral("'"), QStringLiteral("rem"), QStringLiteral("\""),
                          QStringLiteral(";")};

    // A text and its check.
    struct Lines {
        QStringList text;
        labelcheck::LabelCheck check{[this](int line, QString&) { return QStringView(text[line]); }};
        Lines(const QStringList& lines, const LexerConfig& comments) : text(lines) {
            check.load(int(text.size()), comments);
        }
    };

    static QStringList shown(labelcheck::LabelCheck& c) {
        QStringList out;
        for (const labelcheck::Problem& p : c.problems())
            out << QStringLiteral("%1:%2 %3").arg(p.line).arg(p.column).arg(p.message);
        return out;
    }

private slots:
    void problems_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("misspelt") << "Main:\nGOTO Mian\n  gosub  main"
                                  << QStringList{"1:5 Undefined label: Mian"};
        QTest::newRow("any case, digits, underscores")
            << "main:\n_Loop2:\nGoTo MAIN\ngosub _LOOP2 ' x\n\tLoop_3: GOTO loop_3" << QStringList{};
        QTest::newRow("comments and strings")
            << "' GOTO A\nx = 1 ' GOTO B\nREM GOTO C\nx = 1 ; GOTO D\nLCDOUT \"GOTO E\" : GOTO F\nremark = "
               "1: "
               "GOTO G"
            << QStringList{"4:23 Undefined label: F", "5:17 Undefined label: G"};
        QTest::newRow("GOTO inside names") << "MyGOTO = 1\nGOTO_x = 2\nx = GOSUBS\nGOTO 5" << QStringList{};
        QTest::newRow("assembler") << "@ GOTO _Gone\nASM\n  goto Gone\nInAsm:\nENDASM\nGOTO InAsm\nx:\n@ x:"
                                   << QStringList{"5:5 Undefined label: InAsm"};
        QTest::newRow("ASM with a label before it") << "Isr: ASM\n bsf 1\nENDASM\nGOTO Isr" << QStringList{};
        QTest::newRow("THEN label or statement")
            << "IF x THEN Done\nIF x THEN\nIF x THEN RETURN\nIF x THEN y = 1\nIF x THEN Fin ' c\n"
               "IF x THEN GOTO Gone\nIF x THEN Done : y = 1\nif x then endif\nIF x THEN \"s\""
            << QStringList{"0:10 Undefined label: Done", "4:10 Undefined label: Fin",
                           "5:15 Undefined label: Gone"};
        QTest::newRow("BRANCH lists")
            << "A:\nBRANCH x, [A, B , C]\nBRANCHL x,[A]\nBRANCH B0,(A,D)\nBRANCH x : y = [E]"
            << QStringList{"1:14 Undefined label: B", "1:18 Undefined label: C", "3:13 Undefined label: D"};
        QTest::newRow("ON lists") << "A:\nON x GOTO A, B\nON INTERRUPT GOTO Isr\non x gosub A,C"
                                  << QStringList{"1:13 Undefined label: B", "2:18 Undefined label: Isr",
                                                 "3:13 Undefined label: C"};
        QTest::newRow("defined twice")
            << "Foo:\nfoo: GOTO Foo\n  FOO:\nBar:\nx = 1 : Bar:\nELSE: x = 1\nELSE:"
            << QStringList{"0:0 Label defined 3 times: Foo", "1:0 Label defined 3 times: foo",
                           "2:2 Label defined 3 times: FOO"};
        QTest::newRow("twice") << "A:\nA:"
                               << QStringList{"0:0 Label defined twice: A", "1:0 Label defined twice: A"};
    }
    void problems() {
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        Lines l(text.split(u'\n'), pbp);
        QCOMPARE(shown(l.check), expected);
    }

    // Labels of included files count; one that cannot be read is named in the message.
    void outside() {
        Lines l({"INCLUDE \"lib.pbp\"", "GOTO Lib", "GOTO Nope"}, pbp);
        labelcheck::LabelCheck& c = l.check;
        QCOMPARE(c.includes(), QStringList{"lib.pbp"});
        c.setOutside({labelcheck::keyOf(u"LIB")}, {});
        QCOMPARE(shown(c), QStringList{"2:5 Undefined label: Nope"});
        c.setOutside({}, {"lib.pbp"});
        QCOMPARE(shown(c).last(),
                 "2:5 Undefined label: Nope (not found here; \"lib.pbp\" could not be read)");

        // Nested INCLUDEs, each looked for from the file that names it; a loop ends.
        QTemporaryDir dir;
        testsupport::writeFile(dir.filePath("a.pbp"), "INCLUDE \"sub/b.pbp\"\r\nA1:\r\n");
        testsupport::writeFile(dir.filePath("sub/b.pbp"), "REM b\r\nB1: GOTO A1\r\nINCLUDE \"c.pbp\"\r\n");
        testsupport::writeFile(dir.filePath("sub/c.pbp"), "INCLUDE \"../a.pbp\"\nC1:\nASM\nD1:\nENDASM\n");
        const auto find = [](const QString& name, const QString& from) {
            const QString path = QFileInfo(from).dir().filePath(name);
            return QFileInfo::exists(path) ? path : QString();
        };
        const labelcheck::Outside o =
            labelcheck::readIncludes({"a.pbp", "gone.pbp"}, dir.filePath("main.pbp"), find, pbp);
        QCOMPARE(o.keys, (QSet<labelcheck::Key>{labelcheck::keyOf(u"a1"), labelcheck::keyOf(u"B1"),
                                                labelcheck::keyOf(u"C1")}));
        QCOMPARE(o.unread, QStringList{"gone.pbp"});
        // The files beside a document that INCLUDE it lend it their labels; its own file is never read.
        const QString cPath = dir.filePath("sub/c.pbp");
        const QStringList includers = labelcheck::includersOf(cPath, find);
        QCOMPARE(includers, QStringList{dir.filePath("sub/b.pbp")});
        QCOMPARE(labelcheck::readIncludes({"../a.pbp"}, cPath, find, pbp, includers).keys,
                 (QSet<labelcheck::Key>{labelcheck::keyOf(u"A1"), labelcheck::keyOf(u"B1")}));
    }

    // Edits that replace, add and remove lines leave what reading the whole text gives.
    void edits_data() {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("removed");
        QTest::addColumn<QStringList>("inserted");
        QTest::newRow("rename the label") << 0 << 1 << QStringList{"Mian:"};
        QTest::newRow("add a duplicate") << 1 << 0 << QStringList{"Main:", "GOTO Other"};
        QTest::newRow("remove the label") << 0 << 2 << QStringList{"x = 1"};
        QTest::newRow("open an ASM block") << 1 << 1 << QStringList{"ASM", "Side:"};
        QTest::newRow("close it again") << 3 << 0 << QStringList{"ENDASM"};
        QTest::newRow("past the end") << 12 << 4 << QStringList{"GOTO Far"};
        // Typing on one line that leaves the labels alone: that line's problems alone are made again.
        QTest::newRow("type before a jump") << 1 << 1 << QStringList{"x GOTO Main"};
        QTest::newRow("a jump goes astray") << 3 << 1 << QStringList{"GOTO Mai"};
        QTest::newRow("a stray jump is mended") << 5 << 1 << QStringList{"GOTO Side"};
        QTest::newRow("a colon makes a label") << 4 << 1 << QStringList{"Gone:"};
        QTest::newRow("a jump on a plain line") << 9 << 1 << QStringList{"GOSUB Nowhere"};
        QTest::newRow("a jump removed") << 5 << 1 << QStringList{"x = 2"};
        QTest::newRow("a jump in an ASM block") << 7 << 1 << QStringList{"GOTO Far"};
        QTest::newRow("a jump after the block") << 9 << 1 << QStringList{"GOTO Mian"};
    }
    void edits() {
        QFETCH(int, first);
        QFETCH(int, removed);
        QFETCH(QStringList, inserted);
        Lines l({"Main:", "GOTO Main", "Side: GOTO Side", "GOTO Main", "Gone", "GOTO Gone", "ASM",
                 "GOTO Gone", "ENDASM", "y = 2"},
                pbp);
        QCOMPARE(l.check.problems().size(), 1);
        QStringList& lines = l.text;
        const int from = qMin(first, int(lines.size()));
        lines.remove(from, qMin(removed, int(lines.size()) - from));
        for (int i = 0; i < inserted.size(); ++i)
            lines.insert(from + i, inserted[i]);
        l.check.replaceLines(first, removed, int(inserted.size()));
        Lines whole(lines, pbp);
        QCOMPARE(shown(l.check), shown(whole.check));
        QCOMPARE(l.check.lineCount(), int(lines.size()));
    }

    // No label that exists is flagged in real programs; the labels of their INCLUDEs (in the corpus
    // under a prefixed name) count, and those of the files that INCLUDE them. Every flag left is listed
    // here, each checked by hand.
    void corpus() {
        const QString corpus = testsupport::corpusDir();
        if (corpus.isEmpty())
            QSKIP("no corpus");
        const QDir dir(corpus);
        const QStringList files = dir.entryList({"*.pbp", "*.bas", "*.inc"}, QDir::Files);
        const auto find = [&](const QString& name, const QString&) {
            const QString file = QFileInfo(QString(name).replace(u'\\', u'/')).fileName();
            for (const QString& f : files)
                if (f.endsWith(u'_' + file, Qt::CaseInsensitive))
                    return dir.filePath(f);
            return QString();
        };
        // Truly missing: each of these lines holds the label without its colon, which is no label.
        const QStringList missing{
            "06 338:18 Undefined label: reg_to_rpm (line 419 holds the name without a colon)",
            "06 348:14 Undefined label: reg_to_rpm (line 419 holds the name without a colon)",
            "16 30:5 Undefined label: INICIO (line 27 holds the name without a colon)"};
        // These belong to programs whose INCLUDEd files are not all in the corpus (LCD4X20.pbp,
        // TurnTableEEPROM.pbp and others): a label not found is reported naming the files not read.
        const QStringList partial{"04", "08", "10", "12"};
        QStringList unexpected;
        QStringList found;
        int jumps = 0;
        for (const QString& name : files) {
            QFile f(dir.filePath(name));
            QVERIFY(f.open(QIODevice::ReadOnly));
            QStringList lines = QString::fromLatin1(f.readAll()).split(u'\n');
            for (QString& line : lines)
                if (line.endsWith(u'\r'))
                    line.chop(1);
            Lines l(lines, pbp);
            labelcheck::LabelCheck& c = l.check;
            const QString path = dir.filePath(name);
            const labelcheck::Outside o =
                labelcheck::readIncludes(c.includes(), path, find, pbp, labelcheck::includersOf(path, find));
            c.setOutside(o.keys, o.unread);
            for (const QString& line : lines)
                jumps += int(labelcheck::readLine(line, pbp).jumps.size());
            for (const QString& p : shown(c)) {
                const QString flag = name.left(2) + u' ' + p;
                if (missing.contains(flag))
                    found << flag;
                else if (!partial.contains(name.left(2)) ||
                         !p.endsWith(QLatin1StringView("could not be read)")))
                    unexpected << flag;
            }
        }
        QCOMPARE(unexpected, QStringList());
        QCOMPARE(found, missing);
        QVERIFY(files.isEmpty() || jumps > 500);
    }
};

QTEST_MAIN(tst_LabelCheck)
#include "tst_LabelCheck.moc"
