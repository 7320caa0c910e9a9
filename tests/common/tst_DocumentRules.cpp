#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "support/TestSupport.h"

#include "common/DocumentRules.h"
#include "platform/AppPaths.h"
#include "platform/ShellServices.h"

using namespace docrules;

class tst_DocumentRules : public QObject {
    Q_OBJECT
private slots:
    void commandLine() {
        const QList<std::pair<QStringList, QString>> rows{
            {{}, ""},
            {{"/tmp/my", "file.pbp"}, "/tmp/my file.pbp"},           // split by the shell
            {{"\"C:\\My Files\\a.pbp\""}, "C:\\My Files\\a.pbp"},    // wrapped in quotes
            {{"\"C:\\My", "Files\\a.pbp\""}, "C:\\My Files\\a.pbp"}, // the quotes split
            {{"a\"b\".pbp"}, "a\"b\".pbp"},                          // inner quotes kept
            {{"\"a\"", "\"b\""}, "\"a\" \"b\""}};                    // two quoted paths stay as typed
        for (const auto& [args, path] : rows)
            QCOMPARE(args.join(u' ') + u'>' + commandLinePath(args), args.join(u' ') + u'>' + path);
    }

    // Open's refusal covers existing files, file links and letter case; these are the paths it does not
    // reach.
    void sameFile() {
        QTemporaryDir dir;
        const QDir d(dir.path());
        QVERIFY(testsupport::writeFile(d.filePath(QStringLiteral("sub/blink.pbp")), ""));
        QFile::link(d.filePath(QStringLiteral("sub")), d.filePath(QStringLiteral("link")));
        const struct {
            const char *a, *b;
            bool same;
        } rows[] = {{"sub/../sub/blink.pbp", "sub/blink.pbp", true},
                    {"x/../gone.pbp", "gone.pbp", true},
#ifndef Q_OS_WIN // a link there is a shortcut file, which the file system does not follow
                    {"link/blink.pbp", "sub/blink.pbp", true},
#endif
                    {"sub/blink.pbp", "gone.pbp", false},
                    {"", "sub/blink.pbp", false}};
        auto full = [&d](const char* p) { return *p ? d.filePath(QString::fromLatin1(p)) : QString(); };
        for (const auto& [a, b, same] : rows) {
            QVERIFY2(docrules::sameFile(full(a), full(b)) == same, a);
            QVERIFY2(docrules::sameFile(full(b), full(a)) == same, b);
        }
#ifdef Q_OS_WIN
        // A file named by its short (8.3) path is the one named by its long path, also when only its
        // folder exists.
        const QString longFile = d.filePath(QStringLiteral("a long folder/a long name.pbp"));
        QVERIFY(testsupport::writeFile(longFile, ""));
        const QString shortFile = shell::shortPath(longFile);
        QVERIFY2(!QFileInfo(shortFile).fileName().contains(u' '), qPrintable(shortFile));
        QVERIFY(docrules::sameFile(shortFile, longFile));
        QVERIFY(docrules::sameFile(longFile, shortFile));
        const QString shortFolder = shell::shortPath(QFileInfo(longFile).absolutePath());
        QVERIFY(docrules::sameFile(shortFolder + QStringLiteral("\\new.pbp"),
                                   d.filePath(QStringLiteral("a long folder/new.pbp"))));
#endif
    }

    void recentList() {
        RecentList list;
        const QStringList paths{"/a", "/b", "/c", "/d", "/e"};
        for (const QString& p : paths)
            pushRecent(list, p);
        for (int n = 0; n < 4; ++n)
            QCOMPARE(list[n].caption + (list[n].visible ? "" : " hidden"),
                     QStringLiteral("&%1 ").arg(n + 1) + paths[4 - n]);
        QCOMPARE(recentPath(list[3].caption), QStringLiteral("/b"));
        // A gap: only entry 2 used moves to 3, entry 2 stays as it was until entry 1 fills it.
        RecentList gap;
        gap[1] = {QStringLiteral("&2 /x"), true};
        pushRecent(gap, QStringLiteral("/y"));
        QCOMPARE((QStringList{gap[0].caption, gap[1].caption, gap[2].caption}),
                 (QStringList{"&1 /y", "&2 /x", "&3 /x"}));
        QVERIFY(!gap[3].visible);
    }

    void windowEntryIds() {
        // The Window menu's ids; the number a new entry gets: the lowest not in use.
        const QStringList fixed{"ID_TileH", "ID_TileV", "ID_Cascade", "ID_Arrange"};
        const QList<std::pair<QStringList, int>> rows{
            {fixed + QStringList{"separator"}, 1}, // all entries closed
            {fixed + QStringList{"separator", "&1. /a", "&2. /b"}, 3},
            {fixed + QStringList{"separator", "&1. /a", "&3. /c", "&6. /f"}, 2}, // 2 closed
            {fixed + QStringList{"separator", "&2. /b", "&10. /j"}, 1},
            {fixed + QStringList{"separator", "&1. /x. y.pbp", "&x. /z"}, 2}}; // dots in paths
        for (const auto& [menu, number] : rows)
            QCOMPARE(windowEntryNumber(menu), number);
        QCOMPARE(windowEntryCaption(QStringLiteral("&12. /p/a b.pbp ")), QStringLiteral("/p/a b.pbp"));
    }

    void untitledNames() {
        const QString folder = QStringLiteral("/src");
        const QString first = AppPaths::join(folder, QStringLiteral("Untitled1.pbp"));
        const QString second = AppPaths::join(folder, QStringLiteral("Untitled2.pbp"));
        QCOMPARE(untitledPath(folder, {AppPaths::join(folder, QStringLiteral("Untitled.pbp"))}), first);
        QCOMPARE(untitledPath(folder, {first.toUpper()}), second);
        QCOMPARE(untitledPath(folder, {second, first}),
                 AppPaths::join(folder, QStringLiteral("Untitled3.pbp")));
    }

    // The marked lines, the caret line; the next and the previous marked line found.
    void markedLines() {
        const QList<std::tuple<QList<int>, int, QList<int>>> rows{
            {{4}, 4, {-1, -1}},  // only the caret line
            {{2, 8}, 8, {2, 2}}, // wrap forward
            {{2, 8}, 5, {8, 2}},
            {{2, 8}, 1, {2, 8}},  // wrap backward
            {{0, 9}, 0, {9, 9}}}; // marks on the first and the last line
        for (const auto& [marks, caret, found] : rows) {
            auto marked = [&marks](int line) { return marks.contains(line); };
            QCOMPARE(
                QList<int>({caret, nextMarkedLine(caret, 10, marked), previousMarkedLine(caret, 10, marked)}),
                QList<int>({caret}) + found);
        }
    }
};

QTEST_GUILESS_MAIN(tst_DocumentRules)
#include "tst_DocumentRules.moc"
