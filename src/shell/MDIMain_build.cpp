// Commands that hand over to the compile, programmer and about windows.
#include "shell/MDIMain.h"

#include "toolchain/CaptureFile.h"
#include "toolchain/CompilerScreen.h"
#include "toolchain/IncludeFiles.h"
#include "toolchain/frmCompile.h"
#include "toolchain/frmProgrammer.h"
#include "dialogs/frmAbout.h"
#include "editor/frmEditor.h"
#include "platform/sourceview/SourceView.h"
#include "platform/toolbars/ActiveToolBars.h"
#include "common/DocumentRules.h"
#include "common/Settings.h"
#include "common/ToolIds.h"

AppError MDIMain::cmdCompile(frmEditor& w) {
    // The program on the simulated PIC is about to be replaced.
    stopSimulation(QStringLiteral("The simulation stopped for a new compile."));
    // The compiler always reads the text shown on the screen; a document that cannot be saved is not
    // compiled at all.
    if (const AppError err = saveDocument(w, w.View().Document().PathName()))
        return err;
    w.GoCompile();
    return {};
}

AppError MDIMain::cmdCompilerOptions() {
    frmCompile options(*this);
    options.exec();
    activateWindow();
    return {};
}

AppError MDIMain::cmdProgrammerOptions() {
    frmProgrammer options(*this);
    options.exec();
    activateWindow();
    return {};
}

QList<capture::ErrorLine> MDIMain::errorsForFile(frmEditor& compiled, const QString& path) const {
    QList<capture::ErrorLine> out;
    const capture::Capture* run = compiled.lastCapture();
    if (!run || path.isEmpty())
        return out;
    const QStringList folders = includefiles::searchFolders(
        compiled.View().Document().PathName(), settings_.read(settings::startup::CompilerPathName));
    QHash<QString, bool> isThisFile;
    for (const capture::ErrorLine& e : run->errors) {
        if (e.file.isEmpty())
            continue;
        auto it = isThisFile.constFind(e.file);
        if (it == isThisFile.constEnd()) {
            const QString found = includefiles::find(e.file, folders);
            it = isThisFile.insert(e.file, !found.isEmpty() && docrules::sameFile(found, path));
        }
        if (*it)
            out << e;
    }
    return out;
}

void MDIMain::markIncludedErrors(frmEditor& w) {
    const QString path = w.View().Document().PathName();
    for (frmEditor* compiled : editors()) {
        if (compiled == &w)
            continue;
        const QList<capture::ErrorLine> errors = errorsForFile(*compiled, path);
        // The window tells the frame about its marks itself.
        if (!errors.isEmpty() && w.markErrors(errors, compiled))
            return;
    }
}

CompilerScreen& MDIMain::compilerScreen() {
    if (!compilerScreen_)
        compilerScreen_ = new CompilerScreen(*this);
    return *compilerScreen_;
}

AppError MDIMain::cmdAbout() {
    frmAbout about(state_.prompts, this);
    about.exec();
    return {};
}
