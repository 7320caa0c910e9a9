// Commands that hand over to the compile, programmer and about windows.
#include "shell/MDIMain.h"

#include "build/CompilerScreen.h"
#include "build/frmCompile.h"
#include "build/frmProgrammer.h"
#include "dialogs/frmAbout.h"
#include "editor/frmEditor.h"
#include "platform/sourceview/SourceView.h"

AppError MDIMain::cmdCompile(frmEditor& w) {
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
