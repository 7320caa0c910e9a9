#include "support/ScriptedPrompts.h"

#include <QPrinter>

QStringList ScriptedPrompts::messages() const {
    QStringList out;
    for (const Shown& s : shown_)
        if (s.kind == QStringLiteral("message"))
            out << s.text;
    return out;
}

QVariant ScriptedPrompts::take() {
    return queue_.isEmpty() ? QVariant() : queue_.takeFirst();
}

bool ScriptedPrompts::takeText(QString& chosen) {
    const QVariant v = take();
    if (!v.isValid() || v.typeId() != QMetaType::QString)
        return false;
    chosen = v.toString();
    return true;
}

Prompts::Answer ScriptedPrompts::message(QWidget*, const QString& text, const QString& title, Buttons buttons,
                                         Icon icon) {
    shown_.append({QStringLiteral("message"), text, title.isEmpty() ? appTitle() : title, buttons, icon, {}});
    const QVariant v = take();
    if (v.isValid() && v.typeId() == QMetaType::Int)
        return Answer(v.toInt());
    return buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
}

bool ScriptedPrompts::openFile(QWidget*, const FileRequest& request, QString& chosen) {
    shown_.append(
        {QStringLiteral("open"), request.fileName, request.title, Buttons::Ok, Icon::None, request.filter});
    return takeText(chosen);
}

bool ScriptedPrompts::saveFile(QWidget*, const FileRequest& request, QString& chosen) {
    shown_.append(
        {QStringLiteral("save"), request.fileName, request.title, Buttons::Ok, Icon::None, request.filter});
    return takeText(chosen);
}

bool ScriptedPrompts::chooseFolder(QWidget*, const QString& title, const QString& start, QString& chosen) {
    shown_.append({QStringLiteral("folder"), start, title, Buttons::Ok, Icon::None, {}});
    return takeText(chosen);
}

Prompts::ColorChoice ScriptedPrompts::chooseColor(QWidget*, const QColor& initial, QColor& chosen) {
    shown_.append({QStringLiteral("color"), initial.name(), {}, Buttons::Ok, Icon::None, {}});
    const QVariant v = take();
    if (!v.isValid() || v.typeId() != QMetaType::QColor)
        return ColorChoice::Cancelled;
    if (!v.value<QColor>().isValid())
        return ColorChoice::Default;
    chosen = v.value<QColor>();
    return ColorChoice::Chosen;
}

bool ScriptedPrompts::choosePrinter(QWidget*, QPrinter& printer, bool offerSelection) {
    shown_.append({QStringLiteral("print"), offerSelection ? QStringLiteral("selection") : QString(), {}, Buttons::Ok,
                   Icon::None, {}});
    QVariant v = take();
    if (v.isValid() && v.typeId() == QMetaType::QStringList) {
        printer.setPrintRange(QPrinter::Selection);
        v = v.toStringList().value(0);
    }
    if (v.isValid() && v.typeId() == QMetaType::QString) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(v.toString());
        return true;
    }
    return v.isValid() && v.typeId() == QMetaType::Bool && v.toBool();
}

bool ScriptedPrompts::confirm(QWidget*, const QString& text, const QString& accept) {
    shown_.append({QStringLiteral("confirm"), text, accept, Buttons::OkCancel, Icon::Exclamation, {}});
    if (queue_.isEmpty())
        return true;
    const QVariant v = take();
    return v.isValid() && v.typeId() == QMetaType::Int &&
           (Answer(v.toInt()) == Answer::Ok || Answer(v.toInt()) == Answer::Yes);
}

bool ScriptedPrompts::chooseItem(QWidget*, const QString& title, const QString& label,
                                 const QStringList& items, QString& chosen) {
    shown_.append({QStringLiteral("choose"), label, title, Buttons::OkCancel, Icon::None, items.join(u'|')});
    return takeText(chosen);
}
