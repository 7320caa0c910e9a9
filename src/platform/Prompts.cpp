#include "platform/Prompts.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QPointer>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

QString Prompts::qtFilter(const QString& classic) {
    const QStringList parts = classic.split(u'|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString desc = parts[i].trimmed();
        const QString pattern = QString(parts[i + 1]).replace(u';', u' ').trimmed();
        if (desc.isEmpty() && pattern.isEmpty())
            continue;
        out << (desc.endsWith(QLatin1Char(')')) ? desc : desc + QStringLiteral(" (") + pattern + u')');
    }
    return out.join(QStringLiteral(";;"));
}

namespace {

// While a modal dialog is up, the window that had the focus loses it; once the dialog is gone the
// focus goes back there, not to whichever window the platform picks (the frame, behind a tool window).
class FocusKeeper {
public:
    FocusKeeper() : widget_(QApplication::focusWidget()), window_(QApplication::activeWindow()) {}
    ~FocusKeeper() {
        if (window_)
            window_->activateWindow();
        if (widget_)
            widget_->setFocus(Qt::OtherFocusReason);
    }

private:
    QPointer<QWidget> widget_;
    QPointer<QWidget> window_;
};

} // namespace

Prompts::Answer QtPrompts::message(QWidget* parent, const QString& text, const QString& title,
                                   Buttons buttons, Icon icon) {
    const FocusKeeper keeper;
    QMessageBox box(parent);
    box.setWindowTitle(title.isEmpty() ? appTitle() : title);
    box.setText(text);
    switch (icon) {
    case Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case Icon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    switch (buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Buttons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        return buttons == Buttons::YesNoCancel || buttons == Buttons::OkCancel ? Answer::Cancel : Answer::Ok;
    }
}

namespace {

bool runFileDialog(QWidget* parent, const Prompts::FileRequest& r, QFileDialog::AcceptMode mode,
                   QString& chosen) {
    const FocusKeeper keeper;
    QFileDialog dlg(parent, r.title);
    dlg.setAcceptMode(mode);
    dlg.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dlg.setNameFilter(Prompts::qtFilter(r.filter));
    const QFileInfo preset(r.fileName);
    if (r.fileName.endsWith(u'/') || r.fileName.endsWith(u'\\') || preset.isDir()) {
        dlg.setDirectory(r.fileName);
    } else if (!r.fileName.isEmpty()) {
        dlg.setDirectory(preset.absolutePath());
        dlg.selectFile(preset.fileName());
    }
    if (dlg.exec() != QDialog::Accepted)
        return false;
    const QStringList files = dlg.selectedFiles();
    chosen = files.isEmpty() ? QString() : QDir::toNativeSeparators(files.first());
    return true;
}

} // namespace

bool QtPrompts::openFile(QWidget* parent, const FileRequest& request, QString& chosen) {
    return runFileDialog(parent, request, QFileDialog::AcceptOpen, chosen);
}

bool QtPrompts::saveFile(QWidget* parent, const FileRequest& request, QString& chosen) {
    return runFileDialog(parent, request, QFileDialog::AcceptSave, chosen);
}

bool QtPrompts::chooseFolder(QWidget* parent, const QString& title, const QString& start, QString& chosen) {
    const FocusKeeper keeper;
    const QString dir = QFileDialog::getExistingDirectory(parent, title, start);
    if (dir.isEmpty())
        return false;
    chosen = QDir::toNativeSeparators(dir);
    return true;
}

Prompts::ColorChoice QtPrompts::chooseColor(QWidget* parent, const QColor& initial, QColor& chosen) {
    const FocusKeeper keeper;
    // Qt's own dialog, whose button row takes a "Default" button as well.
    QColorDialog dlg(initial, parent);
    dlg.setOption(QColorDialog::DontUseNativeDialog);
    bool toDefault = false;
    if (auto* buttons = dlg.findChild<QDialogButtonBox*>()) {
        QPushButton* reset = buttons->addButton(QObject::tr("&Default"), QDialogButtonBox::ResetRole);
        QObject::connect(reset, &QPushButton::clicked, &dlg, [&dlg, &toDefault] {
            toDefault = true;
            dlg.reject();
        });
    }
    const bool accepted = dlg.exec() == QDialog::Accepted;
    if (toDefault)
        return ColorChoice::Default;
    if (!accepted || !dlg.selectedColor().isValid())
        return ColorChoice::Cancelled;
    chosen = dlg.selectedColor();
    return ColorChoice::Chosen;
}

bool QtPrompts::choosePrinter(QWidget* parent, QPrinter& printer, bool offerSelection) {
    const FocusKeeper keeper;
    QPrintDialog dlg(&printer, parent);
    dlg.setOption(QAbstractPrintDialog::PrintSelection, offerSelection);
    return dlg.exec() == QDialog::Accepted;
}

bool QtPrompts::confirm(QWidget* parent, const QString& text, const QString& accept) {
    const FocusKeeper keeper;
    QMessageBox box(parent);
    box.setWindowTitle(appTitle());
    box.setText(text);
    box.setIcon(QMessageBox::Warning);
    QPushButton* yes = box.addButton(accept, QMessageBox::AcceptRole);
    box.addButton(QMessageBox::Cancel);
    // Cancel is the default: Return alone never opens or converts anything.
    box.setDefaultButton(QMessageBox::Cancel);
    box.exec();
    return box.clickedButton() == yes;
}

bool QtPrompts::chooseItem(QWidget* parent, const QString& title, const QString& label,
                           const QStringList& items, QString& chosen) {
    const FocusKeeper keeper;
    bool ok = false;
    const QString item =
        QInputDialog::getItem(parent, title, label, items, qMax(0, int(items.indexOf(chosen))), false, &ok);
    if (!ok)
        return false;
    chosen = item;
    return true;
}
