// The document set: New, Open, the recent entries, Save As, and opening a window for a path.
#include "shell/MDIMain.h"

#include "dialogs/frmScan.h"
#include "editor/frmEditor.h"
#include "platform/AppPaths.h"
#include "platform/Prompts.h"
#include "platform/TextEncoding.h"
#include "platform/TextHelpers.h"
#include "platform/sourceview/SourceView.h"
#include "platform/toolbars/ActiveToolBars.h"
#include "common/DocumentRules.h"
#include "common/Settings.h"
#include "common/ToolIds.h"

#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
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
            EnableTools();
        return false;
    }
    return true;
}

frmEditor* MDIMain::editorShowing(const QString& path) const {
    for (frmEditor* w : editors())
        if (docrules::sameFile(w->caption(), path))
            return w;
    return nullptr;
}

frmEditor* MDIMain::openOrActivate(const QString& path) {
    if (frmEditor* w = editorShowing(path)) {
        mdiArea_->setActiveSubWindow(w);
        return w;
    }
    ++OpenDocCount;
    EnableTools();
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
    if (frmEditor* active = activeEditor())
        AddToWindowList(active->caption());
    UpdateOpenDocsCaption();
    scanDocument(w);
}

void MDIMain::scanDocument(frmEditor* w) {
    if (!w)
        return;
    {
        frmScan scan(this);
        w->ScanDocument(&scan);
    }
    w->View().MoveCaret(0, 0);
    w->View().Document().SetModified(false);
}

AppError MDIMain::cmdNew() {
    ++OpenDocCount;
    EnableTools();
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
    if (!state_.prompts.openFile(this, {QString(), folder, docrules::OpenFilter}, name))
        return AppError::cancelled();
    // The dialog is gone: let the windows it covered repaint before a big file holds things up.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (name.isEmpty()) {
        state_.prompts.message(this, QStringLiteral("No filename entered."), QStringLiteral("File Error"));
        return {};
    }
    return openChosenFile(name);
}

AppError MDIMain::openChosenFile(const QString& name) {
    ++OpenDocCount;
    EnableTools();
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
    // Each dropped file opens as if chosen in the open dialog, or comes to the front when a window
    // already shows it; a refusal or an error for one does not keep the others out.
    for (const QString& file : files) {
        if (frmEditor* open = editorShowing(file))
            mdiArea_->setActiveSubWindow(open);
        else if (const AppError err = openChosenFile(file))
            ShowError(err);
    }
}

AppError MDIMain::cmdRecent(int n) {
    ++OpenDocCount;
    EnableTools();
    const QString path = docrules::recentPath(SSActiveToolBars1->Caption(*ids::RecentFiles[n - 1]));
    const bool gone = !QFileInfo::exists(path);
    AppError err;
    if (OpenDocumentWindow(path, &err)) {
        finishOpening(activeEditor());
        // The entry still opens, as a new document under its name; the user is told why it is empty.
        if (gone)
            showStatusMessage(QStringLiteral("%1 no longer exists: it opens as a new, empty document.")
                                  .arg(QDir::toNativeSeparators(path)));
    }
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
    // Saving first: a failed save keeps the window, its tab and its name as they were.
    if (const AppError err = saveDocument(w, name))
        return err;
    showRenamed(w, tab);
    return {};
}

void MDIMain::showRenamed(frmEditor& w, int tab) {
    TaskBar_->removeTab(tab);
    w.setCaption(w.View().Document().PathName());
    SSActiveToolBars1->Remove(ids::ID_Window, w.Tag);
    AddToWindowList(w.caption());
}

QString MDIMain::eightBitEncoding() const {
    const QString system = textenc::systemEightBit();
    return system.isEmpty() ? settings_.read(settings::files::EightBitEncoding) : system;
}

bool MDIMain::confirmTextFile(const QString& path) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return true; // loading tells what is wrong with it
    const TextFileFormat::Content content = TextFileFormat::classify(file.readAll());
    if (content == TextFileFormat::Content::Text)
        return true;
    const QString what = content == TextFileFormat::Content::HasNul
                             ? QStringLiteral("This file holds NUL bytes: it is not a text file.")
                             : QStringLiteral("This file is mostly not text.");
    return state_.prompts.confirm(
        this,
        QDir::toNativeSeparators(path) + QStringLiteral("\n\n") + what +
            QStringLiteral(" Opened in the editor, one edit and a save can change bytes that are not text. "
                           "Open it anyway?"),
        QStringLiteral("Open"));
}

AppError MDIMain::saveDocument(frmEditor& w, QString path) {
    SourceDocument& doc = w.View().Document();
    if (const TextPos at = doc.unencodable(); at.line >= 0) {
        const QString text =
            QDir::toNativeSeparators(path) +
            QStringLiteral(
                "\n\nThe text holds characters that %1 cannot store (the first is \"%2\", on line %3). "
                "Save the file as UTF-8? Its letters stay as they are; the bytes of those that are "
                "not ASCII change.")
                .arg(doc.encodingName(), doc.GetLine(at.line).mid(at.col, 1))
                .arg(at.line + 1);
        if (!state_.prompts.confirm(this, text, QStringLiteral("Save as UTF-8")))
            return AppError::cancelled();
        doc.setEncoding(QString::fromLatin1(textenc::Utf8));
        settings_.saveFileEncoding(path, doc.encodingName());
    }
    // A new document in a folder that is not there (a documents folder never made): the folder is
    // made, or the file goes to the home folder.
    const QFileInfo info(path);
    if (!doc.onDisk() && !path.isEmpty() && !info.absoluteDir().exists() &&
        !QDir().mkpath(info.absolutePath()))
        path = AppPaths::join(QDir::toNativeSeparators(QDir::homePath()), info.fileName());
    AppError err;
    doc.SaveFile(path, &err);
    return err;
}

AppError MDIMain::cmdReopenWithEncoding(frmEditor& w) {
    SourceDocument& doc = w.View().Document();
    if (!doc.onDisk())
        return {};
    QString chosen = doc.encodingName();
    if (!state_.prompts.chooseItem(this, QStringLiteral("Reopen with Encoding"),
                                   QStringLiteral("Read the file as:"), textenc::names(), chosen))
        return AppError::cancelled();
    if (doc.Modified() &&
        !state_.prompts.confirm(this,
                                QDir::toNativeSeparators(doc.PathName()) +
                                    QStringLiteral("\n\nReopening the file discards the changes made to it."),
                                QStringLiteral("Reopen")))
        return AppError::cancelled();
    const int line = w.View().CaretY();
    AppError err;
    if (!doc.LoadFile(doc.PathName(), &err, chosen))
        return err;
    settings_.saveFileEncoding(doc.PathName(), doc.encodingName());
    scanDocument(&w);
    w.View().MoveCaret(0, std::min(line, doc.NumLines() - 1));
    return {};
}

AppError MDIMain::cmdSaveWithEncoding(frmEditor& w) {
    SourceDocument& doc = w.View().Document();
    QString chosen = doc.encodingName();
    if (!state_.prompts.chooseItem(this, QStringLiteral("Save with Encoding"),
                                   QStringLiteral("Write the file as:"), textenc::names(), chosen))
        return AppError::cancelled();
    if (const TextPos at = doc.unencodable(chosen); at.line >= 0) {
        state_.prompts.message(
            this,
            QStringLiteral("%1 cannot store every character of the text (line %2 holds one "
                           "it cannot). The file keeps its encoding.")
                .arg(chosen)
                .arg(at.line + 1),
            QString(), Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
        return AppError::cancelled();
    }
    const QString before = doc.encodingName();
    doc.setEncoding(chosen);
    const AppError err = saveDocument(w, doc.PathName());
    if (err) {
        doc.setEncoding(before);
        return err;
    }
    settings_.saveFileEncoding(doc.PathName(), doc.encodingName());
    return {};
}
