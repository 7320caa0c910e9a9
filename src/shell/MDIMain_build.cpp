// Commands that hand over to the compile and about windows.
#include "shell/MDIMain.h"

#include "dialogs/frmAbout.h"
#include "editor/frmEditor.h"
#include "platform/sourceview/SourceView.h"

AppError MDIMain::cmdCompile(frmEditor& w) {
    AppError err;
    // The compiler always reads the text shown on the screen; the run itself joins here with the
    // build subsystem.
    w.View().Document().SaveFile(w.View().Document().PathName(), &err);
    return err;
}

AppError MDIMain::cmdAbout() {
    frmAbout about(state_.prompts, this);
    about.exec();
    return {};
}
