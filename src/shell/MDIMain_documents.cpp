// The document set: New, Open, the recent entries, Save As, and opening a window for a path.
#include "shell/MDIMain.h"

#include "editor/frmEditor.h"
#include "platform/toolbars/ActiveToolBars.h"
#include "platform/AppPaths.h"
#include "platform/Prompts.h"
#include "platform/sourceview/SourceView.h"
#include "platform/TextHelpers.h"
#include "shell/DocumentRules.h"
#include "shell/Settings.h"
#include "shell/ToolIds.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMdiArea>
#include <QMimeData>
#include <QTabBar>


bool MDIMain::isDuplicate(const QString& path) {
    for (int i = 0; i < TaskBar_->count(); ++i)
        if (docrules::sameFile(TaskBar_->tabText(i), path)) {
            state_.prompts.message(this, QStringLiteral("File Already Open!"), QString(),
                                   Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
            return true;
        }
    return false;
}

bool MDIMain::OpenDocumentWindow(const QString& path, AppError* err) {
    if (isDuplicate(path) || !createEditor(path, err)) {
        --OpenDocCount; // undoes the command's count
        if (OpenDocCount == 0)
            EnableTools(false);
        return false;
    }
    return true;
}

frmEditor* MDIMain::openOrActivate(const QString& path) {
    for (frmEditor* w : editors())
        if (docrules::sameFile(w->caption(), path)) {
            mdiArea_->setActiveSubWindow(w);
            return w;
        }
    ++OpenDocCount;
    EnableTools(true);
    AppError err;
    if (!OpenDocumentWindow(path, &err)) {
        if (err)
            ShowError(err);
        return nullptr;
    }
    frmEditor* w = activeEditor();
    finishOpening(w);
    return w;
}

void MDIMain::finishOpening(frmEditor* w) {
    if (QMdiSubWindow* active = mdiArea_->activeSubWindow())
        AddToWindowList(active->windowTitle());
    UpdateOpenDocsCaption();
    scanDocument(w);
}

void MDIMain::scanDocument(frmEditor* w) {
    if (!w)
        return;
    // The label and declaration scan joins here with the scanner; the window starts at its top.
    w->View().MoveCaret(0, 0);
    w->View().Document().SetModified(false);
}

AppError MDIMain::cmdNew() {
    ++OpenDocCount;
    EnableTools(true);
    QStringList captions;
    for (frmEditor* w : editors())
        captions << w->caption();
    const QString path = docrules::untitledPath(settings_.read(settings::startup::SourceCodePath), captions);
    AppError err;
    if (OpenDocumentWindow(path, &err))
        finishOpening(activeEditor());
    return err;
}

AppError MDIMain::cmdOpen() {
    QString name;
    const QString folder = AppPaths::join(settings_.read(settings::startup::SourceCodePath), QString());
    if (!state_.prompts.openFile(this, {QString(), folder, docrules::SourceFilter}, name))
        return AppError::cancelled();
    if (name.isEmpty()) {
        state_.prompts.message(this, QStringLiteral("No filename entered."), QStringLiteral("File Error"));
        return {};
    }
    return openChosenFile(name);
}

AppError MDIMain::openChosenFile(const QString& name) {
    ++OpenDocCount;
    EnableTools(true);
    AppError err;
    if (!OpenDocumentWindow(name, &err))
        return err;
    docrules::RecentList recent;
    for (int n = 0; n < 4; ++n)
        recent[n] = {SSActiveToolBars1->Caption(*ids::RecentFiles[n]),
                     SSActiveToolBars1->Visible(*ids::RecentFiles[n])};
    docrules::pushRecent(recent, activeEditor()->View().Document().PathName());
    for (int n = 0; n < 4; ++n) {
        SSActiveToolBars1->SetCaption(*ids::RecentFiles[n], recent[n].caption);
        SSActiveToolBars1->SetVisible(*ids::RecentFiles[n], recent[n].visible);
    }
    finishOpening(activeEditor());
    return {};
}

void MDIMain::dragEnterEvent(QDragEnterEvent* event) {
    if (!docrules::droppedFiles(event->mimeData()->urls()).isEmpty())
        event->acceptProposedAction();
}

void MDIMain::dropEvent(QDropEvent* event) {
    const QStringList files = docrules::droppedFiles(event->mimeData()->urls());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    // Each dropped file opens as if chosen in the open dialog; a refusal or an error for one
    // does not keep the others out.
    for (const QString& file : files)
        if (const AppError err = openChosenFile(file))
            ShowError(err);
}

AppError MDIMain::cmdRecent(int n) {
    ++OpenDocCount;
    EnableTools(true);
    const QString path = docrules::recentPath(SSActiveToolBars1->Caption(*ids::RecentFiles[n - 1]));
    AppError err;
    if (OpenDocumentWindow(path, &err))
        finishOpening(activeEditor());
    return err;
}

AppError MDIMain::cmdSaveAs(frmEditor& w) {
    const int tab = TaskBar_->currentIndex();
    SourceDocument& doc = w.View().Document();
    QString name;
    if (!state_.prompts.saveFile(this, {QString(), doc.PathName(), docrules::SourceFilter}, name))
        return AppError::cancelled();
    if (name.isEmpty())
        return {};
    if (isDuplicate(name))
        return {};
    AppError err;
    // Saving first: a failed save keeps the window, its tab and its name as they were.
    if (!doc.SaveFile(name, &err))
        return err;
    TaskBar_->removeTab(tab);
    doc.SetPathName(name);
    w.setCaption(doc.PathName());
    SSActiveToolBars1->Remove(ids::ID_Window, w.Tag);
    AddToWindowList(w.caption());
    return {};
}
