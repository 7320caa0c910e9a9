#include <QHash>
#include <QTemporaryDir>
#include <QTest>

#include "platform/AppPaths.h"
#include "common/Settings.h"
#include "support/TestSupport.h"

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
    void emptyStoreGivesTheDefaultOfEveryKey() {
        auto s = open();
        const QString app = AppPaths::forFolder(dir_.path()).applicationFolder();
        // Section/Key=default; {app} stands for the application folder, joined with the name after it.
        QHash<QString, QString> expected;
        for (const QString& pair :
             QStringLiteral("Startup/Height=6000 Startup/Left=0 Startup/Top=0 Startup/Width=9000 "
                            "Startup/File1= Startup/File2= Startup/File3= Startup/File4= "
                            "Startup/DefaultDevice=71 Startup/LastFile={app}Untitled.pbp "
                            "Startup/SourceCodePath={app} Startup/CompilerType=0 "
                            "Startup/CompilerPathName={app}PBPW.EXE Startup/CompilerCommandLineOptions= "
                            "Startup/DosWindow=1 Startup/AutoCloseCW=1 Startup/AutoCloseCWTime=5 "
                            "Startup/ProgrammerType=0 Startup/ProgrammerPathName={app}EPICWIN.EXE "
                            "Startup/ProgrammerCommandLineOptions= ViewColors/svSymbol=0 "
                            "ViewColors/svNumber=12632064 ViewColors/svSpecial=0 ViewColors/svComment=38400 "
                            "ViewColors/svString=180 ViewColors/svStatements=11796480 "
                            "ViewColors/svDefines=12583104 ViewColors/svVarSize=11796480 "
                            "ViewColors/svMath=11796480 ViewColors/svLogic=11796480 "
                            "ViewColors/svModifer=11796480 ViewColors/svNames=0 ViewColors/svBackGround=-2147483643 "
                            "ViewColors/OwnColors= "
                            "Debug/BaudRate=4 Debug/Parity=2 Debug/DataBits=1 Debug/StopBits=0 "
                            "Debug/EnterSends=0 Debug/LocalEcho=0 Debug/TimeStamps=0 Debug/HexView=0 "
                            "Debug/PlotView=0 Debug/LogFile= View/EditorZoom=0 View/CodeExplorer=0 "
                            "View/CodeExplorerSide=Left Print/LineNumbers=0 Autosave/Interval=60 "
                            "Simulator/TxPin= Simulator/RxPin= Simulator/Baud= Simulator/Inverted=0 "
                            "Simulator/RealTime=1")
                 .split(u' ')) {
            QString value = pair.section(u'=', 1);
            if (value.startsWith(QLatin1String("{app}")))
                value = value.size() == 5 ? app : AppPaths::join(app, value.mid(5));
            expected.insert(pair.section(u'=', 0, 0), value);
        }
        QCOMPARE(qsizetype(std::size(settings::All)), expected.size());
        for (const settings::Key* k : settings::All) {
            const QString name = QLatin1String(k->section) + u'/' + QLatin1String(k->name);
            QVERIFY2(expected.contains(name), qPrintable(name + QStringLiteral(" has no expected default")));
            QCOMPARE(s->read(*k), expected.value(name));
        }
        // The last file follows a stored source folder.
        s->save(settings::startup::SourceCodePath, QStringLiteral("/src"));
        QCOMPARE(s->read(settings::startup::LastFile),
                 AppPaths::join(QStringLiteral("/src"), QStringLiteral("Untitled.pbp")));
    }

    void handEditedValueWithCommasKeepsItsText() {
        const QString file = dir_.filePath(QStringLiteral("edited.ini"));
        QVERIFY(testsupport::writeFile(file, "[Startup]\nCompilerCommandLineOptions=-ampasm, -v,-x\n"));
        const Settings s(AppPaths::forFolder(dir_.path()), file);
        QCOMPARE(s.read(settings::startup::CompilerCommandLineOptions), QStringLiteral("-ampasm, -v, -x"));
    }

    // Texts the store format treats specially read back as written; a key never stored gives the default.
    void awkwardTextsRoundTrip() {
        const QString app = QStringLiteral("Pinwright"), section = QStringLiteral("Startup");
        const QString key = QStringLiteral("CompilerCommandLineOptions");
        for (const QString& value :
             QStringList{"a, b,c", "say \"hi\"", "C:\\PBP\\PBPW.EXE", "@Variant(x)", "  padded  ",
                         "Sıcaklık ölçümü ğüşçö", "-2147483643", "", "-ampasm -oq; x=1", "#not a comment"}) {
            open()->Save(app, section, key, value);
            QCOMPARE(open()->Read(app, section, key, QStringLiteral("default")), value);
        }
        QCOMPARE(open()->Read(app, section, QStringLiteral("Missing"), QStringLiteral("default")), "default");
    }
};

QTEST_GUILESS_MAIN(tst_Settings)
#include "tst_Settings.moc"
