// Commands that hand over to the compile, programmer, terminal, help and about windows.
#include "shell/MDIMain.h"

#include "dialogs/frmAbout.h"
#include "editor/frmEditor.h"
#include "language/HelpPages.h"
#include "platform/HelpViewer.h"
#include "platform/SourceView.h"

AppError MDIMain::cmdCompile() {
    frmEditor* w = nullptr;
    if (AppError e = requireEditor(w))
        return e;
    AppError err;
    if (!w->View().Document().SaveFile(w->View().Document().PathName(), &err))
        return err;
    // The compile run itself is started here once the build subsystem exists.
    return {};
}

AppError MDIMain::cmdCompilerOptions() { return {}; }

AppError MDIMain::cmdEpic() { return {}; }

AppError MDIMain::cmdProgrammerOptions() { return {}; }

AppError MDIMain::cmdDebug() { return {}; }

AppError MDIMain::cmdHelpTopics() {
    help_->ShowHelpContents();
    return {};
}

AppError MDIMain::cmdWhatsNew() {
    help_->ShowHelpTopic(HelpPages::WhatsNewContext);
    return {};
}

AppError MDIMain::cmdAbout() {
    frmAbout about(state_.prompts, this);
    about.exec();
    return {};
}
