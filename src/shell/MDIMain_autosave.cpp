// Copies of unsaved documents, and offering them back after a program ended without saving them.
#include "shell/MDIMain.h"

#include "editor/frmEditor.h"
#include "platform/Prompts.h"
#include "platform/TextHelpers.h"
#include "platform/sourceview/SourceView.h"
#include "shell/Autosave.h"
#include "common/DocumentRules.h"
#include "common/Settings.h"

#include <QDir>
#include <QLocale>
#include <QTimer>

#include <algorithm>

void MDIMain::startAutosave() {
    offerAutosaved();
    const int seconds = text::ValInt(settings_.read(settings::autosave::Interval));
    if (seconds > 0)
        autosaveTimer_->start(std::min(seconds, 24 * 3600) * 1000);
}

void MDIMain::autosaveNow() {
    for (frmEditor* w : editors()) {
        const SourceDocument& doc = w->View().Document();
        if (!doc.Modified()) {
            dropAutosave(*w);
            continue;
        }
        AutosaveMark& mark = autosaved_[w];
        if (mark.id.isEmpty())
            mark.id = QString::number(++autosaveIds_);
        if (mark.revision == doc.revision())
            continue;
        QString encoding;
        const QByteArray bytes = doc.fileBytes(&encoding);
        // A copy that cannot be written now is tried again at the next turn.
        if (!autosave_->write(mark.id, doc.PathName(), encoding, bytes))
            mark.revision = doc.revision();
    }
}

void MDIMain::dropAutosave(const frmEditor& w) {
    const auto it = autosaved_.constFind(&w);
    if (it == autosaved_.cend())
        return;
    autosave_->remove(it->id);
    autosaved_.erase(it);
}

void MDIMain::offerAutosaved() {
    QList<Autosave::Entry> restored;
    for (const Autosave::Entry& e : autosave_->orphaned()) {
        const QString text =
            QDir::toNativeSeparators(e.path) +
            QStringLiteral("\n\nPinwright ended on %1 without saving the changes to this file. Restore "
                           "them?\n\nYes opens them as unsaved changes; the file itself stays as it is "
                           "until you save. No discards them.")
                .arg(QLocale().toString(e.written.toLocalTime(), QLocale::ShortFormat));
        if (state_.prompts.message(this, text, QString(), Prompts::Buttons::YesNo, Prompts::Icon::Question) !=
            Prompts::Answer::Yes)
            autosave_->discard(e);
        else if (restoreAutosaved(e.path, e.bytes, e.encoding))
            restored << e;
        // A copy that could not be opened stays for the next start.
    }
    if (restored.isEmpty())
        return;
    // The restored text is this program's to keep safe now; the old copies go only once it is.
    autosaveNow();
    for (const Autosave::Entry& e : std::as_const(restored))
        autosave_->discard(e);
}

bool MDIMain::restoreAutosaved(const QString& path, const QByteArray& bytes, const QString& encoding) {
    frmEditor* w = openOrActivate(path);
    // Two copies of one file (two programs lost at once): the second gets a window of its own.
    if (w && w->View().Document().Modified()) {
        if (cmdNew())
            return false;
        w = activeEditor();
    }
    if (!w)
        return false;
    SourceDocument& doc = w->View().Document();
    doc.restoreBytes(bytes, encoding);
    scanDocument(w);
    doc.SetModified(true);
    return true;
}
