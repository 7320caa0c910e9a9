#pragma once

#include <QPointer>
#include <QString>
#include <functional>

class QTextBrowser;
class QWidget;

// The help viewer: a window over the HTML help pages shipped with the program. It keeps the classic
// help file name and context numbers; a resolver turns a context number into a page of the help folder.
class HelpViewer {
public:
    using Resolver = std::function<QString(int context)>;

    // `helpFolder` holds the pages; `resolver` maps a context number to a page relative to it.
    HelpViewer(QString helpFolder, Resolver resolver);
    ~HelpViewer();

    // The help file path for an application folder: the folder without surrounding blanks, then
    // the file name, with one separator (none added after a folder that already ends with one).
    static QString helpFilePath(const QString& appFolder);

    // Records the owner window handle and the help file path.
    void InitHelp(qint32 ownerWindow, const QString& appFolder);
    void ShowHelpContents();
    void ShowHelpTopic(qint32 context);
    void QuitHelp();

    qint32 owner() const { return owner_; }
    QString helpFile() const { return helpFile_; }
    // What the last call passed (tests): the owner and the page shown.
    qint32 lastOwner() const { return lastOwner_; }
    QString lastPage() const { return lastPage_; }
    QWidget* window() const;

private:
    void show(const QString& page);

    QString folder_;
    Resolver resolver_;
    qint32 owner_ = 0;
    qint32 lastOwner_ = -1;
    QString helpFile_;
    QString lastPage_;
    QPointer<QTextBrowser> browser_;
};
