#pragma once

#include "platform/Prompts.h"

#include <QList>
#include <QVariant>

// The scripted stand-in for modal dialogs, used by tests. Answers come from a queue in the order the
// dialogs are shown; every message and dialog request is recorded.
class ScriptedPrompts : public Prompts {
public:
    struct Shown {
        QString kind; // "message", "open", "save", "folder", "color", "print", "confirm", "choose"
        QString text; // message text, preset file name, start folder
        QString title;
        Buttons buttons = Buttons::Ok;
        Icon icon = Icon::None;
        QString filter;
    };

    // Queue answers. An empty queue answers Ok to a message (Yes to a Yes/No question) and cancels a dialog.
    void answer(Answer a) { queue_.append(QVariant::fromValue(int(a))); }
    void chooseFile(const QString& name) { queue_.append(QVariant(name)); }
    void chooseColorValue(const QColor& c) { queue_.append(QVariant(c)); }
    // The colour dialog's "Default" button.
    void chooseDefaultColor() { queue_.append(QVariant(QColor())); }
    void cancel() { queue_.append(QVariant()); }
    void acceptPrinter() { queue_.append(QVariant(true)); }
    // Accepts the print dialog with its "print to file" choice: PDF into that file.
    void printToFile(const QString& path) { queue_.append(QVariant(path)); }
    // The same with the Selection range chosen.
    void printSelectionToFile(const QString& path) { queue_.append(QVariant(QStringList{path})); }

    const QList<Shown>& shown() const { return shown_; }
    QStringList messages() const;
    Shown last() const { return shown_.isEmpty() ? Shown{} : shown_.last(); }
    void clearShown() { shown_.clear(); }
    int pending() const { return int(queue_.size()); }

    Answer message(QWidget* parent, const QString& text, const QString& title, Buttons buttons,
                   Icon icon) override;
    bool openFile(QWidget* parent, const FileRequest& request, QString& chosen) override;
    bool saveFile(QWidget* parent, const FileRequest& request, QString& chosen) override;
    bool chooseFolder(QWidget* parent, const QString& title, const QString& start, QString& chosen) override;
    ColorChoice chooseColor(QWidget* parent, const QColor& initial, QColor& chosen) override;
    // Recorded as "print" with the text "selection" when the Selection range is offered.
    bool choosePrinter(QWidget* parent, QPrinter& printer, bool offerSelection) override;
    // Recorded as "confirm" with the accept caption as title; Ok or Yes accepts, as does an empty queue.
    bool confirm(QWidget* parent, const QString& text, const QString& accept) override;
    // Recorded as "choose" with the label as text and the items, joined by "|", as filter; a queued file
    // name is the choice.
    bool chooseItem(QWidget* parent, const QString& title, const QString& label, const QStringList& items,
                    QString& chosen) override;

private:
    QVariant take();
    bool takeText(QString& chosen);

    QList<QVariant> queue_;
    QList<Shown> shown_;
};
