#include <QTemporaryDir>
#include <QTest>

#include "platform/AppPaths.h"
#include "shell/Settings.h"

#include <memory>

class tst_Settings : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir_;
    std::unique_ptr<Settings> open() {
        return std::make_unique<Settings>(AppPaths::forFolder(dir_.path()),
                                          dir_.filePath(QStringLiteral("s.ini")));
    }

private slots:
    void emptyStoreGivesDeclaredDefaults_data() {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Height") << "Startup"
                                << "Height"
                                << "6000";
        QTest::newRow("Left") << "Startup"
                              << "Left"
                              << "0";
        QTest::newRow("Top") << "Startup"
                             << "Top"
                             << "0";
        QTest::newRow("Width") << "Startup"
                               << "Width"
                               << "9000";
        QTest::newRow("File1") << "Startup"
                               << "File1"
                               << "";
        QTest::newRow("DefaultDevice") << "Startup"
                                       << "DefaultDevice"
                                       << "71";
        QTest::newRow("CompilerType") << "Startup"
                                      << "CompilerType"
                                      << "0";
        QTest::newRow("CompilerCommandLineOptions") << "Startup"
                                                    << "CompilerCommandLineOptions"
                                                    << "";
        QTest::newRow("DosWindow") << "Startup"
                                   << "DosWindow"
                                   << "1";
        QTest::newRow("AutoCloseCW") << "Startup"
                                     << "AutoCloseCW"
                                     << "1";
        QTest::newRow("AutoCloseCWTime") << "Startup"
                                         << "AutoCloseCWTime"
                                         << "5";
        QTest::newRow("ProgrammerType") << "Startup"
                                        << "ProgrammerType"
                                        << "0";
        QTest::newRow("svSymbol") << "ViewColors"
                                  << "svSymbol"
                                  << "0";
        QTest::newRow("svNumber") << "ViewColors"
                                  << "svNumber"
                                  << "12632064";
        QTest::newRow("svComment") << "ViewColors"
                                   << "svComment"
                                   << "38400";
        QTest::newRow("svString") << "ViewColors"
                                  << "svString"
                                  << "180";
        QTest::newRow("svStatements") << "ViewColors"
                                      << "svStatements"
                                      << "11796480";
        QTest::newRow("svDefines") << "ViewColors"
                                   << "svDefines"
                                   << "12583104";
        QTest::newRow("svModifer") << "ViewColors"
                                   << "svModifer"
                                   << "11796480";
        QTest::newRow("svBackGround") << "ViewColors"
                                      << "svBackGround"
                                      << "-2147483643";
        QTest::newRow("BaudRate") << "Debug"
                                  << "BaudRate"
                                  << "4";
        QTest::newRow("Parity") << "Debug"
                                << "Parity"
                                << "2";
        QTest::newRow("DataBits") << "Debug"
                                  << "DataBits"
                                  << "1";
        QTest::newRow("StopBits") << "Debug"
                                  << "StopBits"
                                  << "0";
    }
    void emptyStoreGivesDeclaredDefaults() {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        auto s = open();
        const settings::Key* found = nullptr;
        for (const settings::Key* k : settings::All)
            if (section == QLatin1String(k->section) && key == QLatin1String(k->name))
                found = k;
        QVERIFY2(found, "key is declared");
        QCOMPARE(s->read(*found), expected);
    }

    void folderDefaultsFollowTheApplicationFolder() {
        auto s = open();
        const QString app = AppPaths::forFolder(dir_.path()).applicationFolder();
        QCOMPARE(s->read(settings::startup::SourceCodePath), app);
        QCOMPARE(s->read(settings::startup::LastFile), AppPaths::join(app, QStringLiteral("Untitled.pbp")));
        QCOMPARE(s->read(settings::startup::CompilerPathName),
                 AppPaths::join(app, QStringLiteral("PBPW.EXE")));
        QCOMPARE(s->read(settings::startup::ProgrammerPathName),
                 AppPaths::join(app, QStringLiteral("EPICWIN.EXE")));
        // The last file follows a stored source folder.
        s->save(settings::startup::SourceCodePath, QStringLiteral("/src"));
        QCOMPARE(s->read(settings::startup::LastFile),
                 AppPaths::join(QStringLiteral("/src"), QStringLiteral("Untitled.pbp")));
    }

    void awkwardTextsRoundTrip_data() {
        QTest::addColumn<QString>("value");
        QTest::newRow("commas") << "a, b,c";
        QTest::newRow("quotes") << "say \"hi\"";
        QTest::newRow("backslashes") << "C:\\PBP\\PBPW.EXE";
        QTest::newRow("at sign") << "@Variant(x)";
        QTest::newRow("blanks around") << "  padded  ";
        QTest::newRow("non-ASCII") << QStringLiteral("Sıcaklık ölçümü ğüşçö");
        QTest::newRow("system colour") << "-2147483643";
        QTest::newRow("empty") << "";
        QTest::newRow("semicolon and equals") << "-ampasm -oq; x=1";
        QTest::newRow("hash") << "#not a comment";
    }
    void awkwardTextsRoundTrip() {
        QFETCH(QString, value);
        {
            auto s = open();
            s->Save(QStringLiteral("Pinwright"), QStringLiteral("Startup"),
                    QStringLiteral("CompilerCommandLineOptions"), value);
        }
        auto s = open();
        QCOMPARE(s->Read(QStringLiteral("Pinwright"), QStringLiteral("Startup"),
                         QStringLiteral("CompilerCommandLineOptions"), QStringLiteral("default")),
                 value);
    }

    void absentKeyGivesTheCallersDefault() {
        auto s = open();
        QCOMPARE(s->Read(QStringLiteral("Pinwright"), QStringLiteral("Nowhere"), QStringLiteral("Missing"),
                         QStringLiteral("fallback")),
                 QStringLiteral("fallback"));
        QCOMPARE(s->Read(QStringLiteral("Pinwright"), QStringLiteral("Nowhere"), QStringLiteral("Missing")),
                 QString());
    }
};

QTEST_GUILESS_MAIN(tst_Settings)
#include "tst_Settings.moc"
