#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <cstdio>

#include "platform/sourceview/SourceDocument.h"
#include "platform/sourceview/SourceView.h"
#include "support/TestSupport.h"

namespace {

// The new text of the interrupted save: big enough that the save takes a while.
QString bigText(char fill) {
    return QString(QLatin1Char(fill)).repeated(60).append(u'\n').repeated(200000);
}

// The child process of killedWhileSaving: loads the file, replaces its text, says so, and saves.
int saveChild(const QString& path) {
    SourceDocument doc;
    if (!doc.LoadFile(path))
        return 2;
    doc.InsertOverwrite(0, 0, 0, doc.NumLines(), bigText('N'));
    std::fputs("saving\n", stdout);
    std::fflush(stdout);
    return doc.SaveFile(path) ? 0 : 1;
}

} // namespace

// Files at the edges of what a source file is: very big, very long lines, odd bytes; and saving that
// is never half done.
class tst_LargeFiles : public QObject {
    Q_OBJECT
    QTemporaryDir tmp_;
    QString path(const QString& name) const { return tmp_.filePath(name); }

private slots:
    void opensAndSavesByteForByte_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("lines");
        // Lines of 1 KB keep this quick; bench_faults opens 50 MB of ordinary lines.
        const QByteArray line = QByteArray("    LCDOUT $FE,1,\"") + QByteArray(1000, 'x') + "\" ' \xC3\xA9\r\n";
        QTest::newRow("50 MB") << line.repeated(50 * 1024 * 1024 / line.size()) << 50 * 1024 * 1024 / int(line.size()) + 1;
        QTest::newRow("a line of 1 MB") << QByteArray("A = 1\n") + QByteArray(1024 * 1024, 'x') + "\nB = 2\n" << 4;
        QByteArray odd;
        for (int i = 0; i < 256 * 64; ++i)
            odd += char(i % 256);
        QTest::newRow("every byte value, NULs and invalid UTF-8") << odd << int(odd.count('\n') + odd.count('\r') - odd.count("\r\n") + 1);
    }
    void opensAndSavesByteForByte() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, lines);
        QVERIFY(testsupport::writeFile(path("in.pbp"), bytes));
        SourceDocument doc;
        QVERIFY(doc.LoadFile(path("in.pbp")));
        QCOMPARE(doc.NumLines(), lines);
        QVERIFY(doc.SaveFile(path("out.pbp")));
        QVERIFY(testsupport::readFile(path("out.pbp")) == bytes);
        QFile::remove(path("in.pbp"));
        QFile::remove(path("out.pbp"));
    }

    // The editor control shows such a file and takes typing at its end.
    void viewTakesALongLine() {
        QByteArray bytes = "A = 1\n" + QByteArray(1024 * 1024, 'x') + '\n';
        bytes[20] = '\0';
        QVERIFY(testsupport::writeFile(path("long.pbp"), bytes));
        SourceView view;
        view.resize(600, 400);
        view.show();
        QVERIFY(view.Document().LoadFile(path("long.pbp")));
        QTest::qWait(50);
        view.MoveCaret(1024 * 1024, 1);
        QTest::keyClicks(view.focusProxy(), QStringLiteral("yz"));
        QVERIFY(view.Document().GetLine(1).endsWith(QStringLiteral("xyz")));
        QVERIFY(view.Document().SaveFile(path("long.pbp")));
        QCOMPARE(testsupport::readFile(path("long.pbp")), bytes.insert(6 + 1024 * 1024, "yz"));
    }

    // Saving replaces the file as a whole but keeps what makes it the user's file.
    void saveKeepsTheFilesPlace_data() {
        QTest::addColumn<bool>("throughLink");
        QTest::addColumn<int>("permissions");
        QTest::newRow("private file") << false << int(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QTest::newRow("shared, executable") << false << int(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
        QTest::newRow("through a link") << true << int(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
    }
    void saveKeepsTheFilesPlace() {
        QFETCH(bool, throughLink);
        QFETCH(int, permissions);
        const QString real = path("real.pbp");
        const QString link = path("link.pbp");
        QFile::remove(real);
        QFile::remove(link);
        QVERIFY(testsupport::writeFile(real, "OLD\n"));
        QVERIFY(QFile::setPermissions(real, QFileDevice::Permissions(permissions)));
        if (throughLink)
            QVERIFY(QFile::link(real, link));
        SourceDocument doc;
        QVERIFY(doc.LoadFile(throughLink ? link : real));
        doc.InsertImpl(0, 0, QStringLiteral("NEW "));
        QVERIFY(doc.SaveFile(doc.PathName()));
        QCOMPARE(testsupport::readFile(real), QByteArray("NEW OLD\n"));
        QCOMPARE(int(QFile::permissions(real) & 0xF0FF), permissions & 0xF0FF);
        QCOMPARE(QFileInfo(link).isSymLink(), throughLink);
    }

    // A program killed in the middle of a save leaves the old file or the new one, never a mix.
    void killedWhileSaving_data() {
        QTest::addColumn<int>("delayMs");
        for (int ms : {0, 10, 50, 250})
            QTest::addRow("killed after %d ms", ms) << ms;
    }
    void killedWhileSaving() {
        QFETCH(int, delayMs);
        const QString file = path("victim.pbp");
        const QByteArray old = QByteArray("OLD LINE\r\n").repeated(1000);
        QVERIFY(testsupport::writeFile(file, old));
        QProcess child;
        child.setProgram(QCoreApplication::applicationFilePath());
        child.setArguments({QStringLiteral("--save-child"), file});
        child.start();
        QVERIFY(child.waitForStarted());
        QVERIFY(child.waitForReadyRead(60000));
        QCOMPARE(child.readLine(), QByteArray("saving\n"));
        QTest::qSleep(delayMs);
        ::kill(pid_t(child.processId()), SIGKILL);
        QVERIFY(child.waitForFinished(10000));
        const QByteArray now = testsupport::readFile(file);
        if (now != old) {
            // The new text, with the old file's line endings.
            const QByteArray saved = (QByteArray(60, 'N') + "\r\n").repeated(200000);
            QCOMPARE(now.size(), saved.size());
            QVERIFY(now == saved);
        }
        QDir(tmp_.path()).removeRecursively();
        QDir().mkpath(tmp_.path());
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--save-child") == 0)
        return saveChild(QString::fromLocal8Bit(argv[2]));
    tst_LargeFiles test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_LargeFiles.moc"
