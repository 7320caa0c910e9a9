#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "platform/sourceview/SourceDocument.h"
#include "platform/sourceview/SourceView.h"
#include "support/TestSupport.h"

// Files at the edges of what a source file is: very big, very long lines, odd bytes; and saving that
// keeps the file's place.
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
#ifdef Q_OS_WIN
        // Windows keeps no such bits: a writable file reads as writable for everyone.
        QTest::newRow("plain file") << false << int(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther);
#else
        QTest::newRow("private file") << false << int(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QTest::newRow("shared, executable") << false << int(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
        QTest::newRow("through a link") << true << int(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
#endif
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
};

QTEST_MAIN(tst_LargeFiles)
#include "tst_LargeFiles.moc"
