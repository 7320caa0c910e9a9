#pragma once

#include "platform/AppPaths.h"
#include "support/ScriptedPrompts.h"
#include "common/Settings.h"

#include <QDir>
#include <QTemporaryDir>
#include <memory>

class MDIMain;
class SourceDocument;
class SourceView;
class frmEditor;

// A real frame over a settings store and an application folder inside a temporary folder, with the
// scripted prompts. Each test builds its own.
class FrameFixture {
public:
    FrameFixture();
    ~FrameFixture();

    QString appFolder() const { return paths.applicationFolder(); }
    QString path(const QString& name) const { return AppPaths::join(appFolder(), name); }
    // A settings store over the same file (to seed values before start-up or read them after).
    Settings& store() { return *settings; }
    // Builds the frame and runs its start-up with the given command line.
    MDIMain& start(const QString& commandLine = QString());
    // Closes the frame as the user would (every window asked first); true when it closed.
    bool close();
    // Takes the frame down without closing it, as a crash would: nothing is asked, saved or cleaned up.
    void crash();
    // Closes and builds a fresh frame over the same store.
    MDIMain& restart(const QString& commandLine = QString());

    // Writes a file into the application folder and returns its path.
    QString file(const QString& name, const QByteArray& bytes = "x\n") const;
    // Builds the frame with a file of these bytes in the application folder open in its one window.
    MDIMain& startWith(const QString& name, const QByteArray& bytes) { return start(file(name, bytes)); }

    MDIMain* frame() const { return frame_.get(); }
    frmEditor* active() const;
    // The active window's control and text; there must be an active window.
    SourceView& view() const;
    SourceDocument& doc() const;

    QTemporaryDir dir;
    AppPaths paths;
    ScriptedPrompts prompts;
    std::unique_ptr<Settings> settings;

private:
    // A compile changes to the document's folder, and Windows cannot remove a program's current folder:
    // the fixture returns to where it began before its folder goes.
    QString home_ = QDir::currentPath();
    std::unique_ptr<MDIMain> frame_;
};
