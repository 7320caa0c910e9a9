#include "support/FrameFixture.h"

#include "editor/frmEditor.h"
#include "platform/sourceview/SourceView.h"
#include "shell/MDIMain.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include "support/TestSupport.h"

namespace {

// The application folder of a test: a temporary folder holding the shipped device list.
QString appFolderIn(const QTemporaryDir& dir) {
    const QString app = dir.filePath(QStringLiteral("app"));
    QDir().mkpath(app);
    QFile::copy(testsupport::dataDir() + QStringLiteral("/devicedata.ide"),
                app + QStringLiteral("/devicedata.ide"));
    return app;
}

} // namespace

FrameFixture::FrameFixture()
    : paths(AppPaths::forFolder(appFolderIn(dir))),
      settings(std::make_unique<Settings>(paths, dir.filePath(QStringLiteral("settings.ini")))) {}

FrameFixture::~FrameFixture() {
    if (frame_) {
        frame_->close();
        frame_.reset();
    }
    QDir::setCurrent(home_);
}

MDIMain& FrameFixture::start(const QString& commandLine) {
    frame_ = std::make_unique<MDIMain>(*settings, prompts);
    frame_->MDIForm_Load(commandLine);
    QCoreApplication::processEvents();
    return *frame_;
}

bool FrameFixture::close() {
    if (!frame_)
        return true;
    const bool closed = frame_->close();
    QCoreApplication::processEvents();
    settings->sync();
    return closed;
}

void FrameFixture::crash() {
    frame_.reset();
}

MDIMain& FrameFixture::restart(const QString& commandLine) {
    close();
    frame_.reset();
    settings = std::make_unique<Settings>(paths, dir.filePath(QStringLiteral("settings.ini")));
    return start(commandLine);
}

frmEditor* FrameFixture::active() const {
    return frame_ ? frame_->activeEditor() : nullptr;
}

QString FrameFixture::file(const QString& name, const QByteArray& bytes) const {
    const QString p = path(name);
    if (!testsupport::writeFile(p, bytes))
        qFatal("cannot write %s", qPrintable(p));
    return p;
}

SourceView& FrameFixture::view() const {
    Q_ASSERT(active());
    return active()->View();
}

SourceDocument& FrameFixture::doc() const {
    return view().Document();
}
