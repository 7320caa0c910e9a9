#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

class QWidget;
class QPrinter;

// Message boxes and the file, folder, colour and print dialogs. The application uses QtPrompts;
// tests install ScriptedPrompts, which answers from a queue and records what was shown.
class Prompts {
public:
    enum class Buttons { Ok, OkCancel, YesNoCancel, YesNo };
    enum class Icon { None, Information, Exclamation, Question, Critical };
    enum class Answer { Ok, Cancel, Yes, No };
    // The colour dialog's outcome: a colour, the stock colour back ("Default"), or nothing.
    enum class ColorChoice { Cancelled, Chosen, Default };

    // A file dialog request. `fileName` is the preset name: a path, or a folder followed by a
    // separator to open in that folder. `filter` uses the classic form "Text (*.pbp)|*.pbp|All (*.*)|*.*|".
    struct FileRequest {
        QString title;
        QString fileName;
        QString filter;
    };

    virtual ~Prompts() = default;

    // Title empty means the application's title.
    virtual Answer message(QWidget* parent, const QString& text, const QString& title = QString(),
                           Buttons buttons = Buttons::Ok, Icon icon = Icon::None) = 0;
    // Each dialog returns false when the user cancelled it; `chosen` may be empty after OK.
    virtual bool openFile(QWidget* parent, const FileRequest& request, QString& chosen) = 0;
    virtual bool saveFile(QWidget* parent, const FileRequest& request, QString& chosen) = 0;
    virtual bool chooseFolder(QWidget* parent, const QString& title, const QString& start,
                              QString& chosen) = 0;
    virtual ColorChoice chooseColor(QWidget* parent, const QColor& initial, QColor& chosen) = 0;
    // `offerSelection` offers the Selection range; the choice is the printer's printRange().
    virtual bool choosePrinter(QWidget* parent, QPrinter& printer, bool offerSelection) = 0;
    // A warning with two buttons, `accept` (a caption of its own: "Open", "Save as UTF-8") and Cancel;
    // true for the first.
    virtual bool confirm(QWidget* parent, const QString& text, const QString& accept) = 0;
    // One entry of a list, preset to `chosen`; false when cancelled.
    virtual bool chooseItem(QWidget* parent, const QString& title, const QString& label,
                            const QStringList& items, QString& chosen) = 0;

    // The application's title used when a message names none.
    static QString appTitle() { return QStringLiteral("Pinwright"); }
    // "A (*.a)|*.a|B|*.b|" as a Qt name filter list "A (*.a);;B (*.b)".
    static QString qtFilter(const QString& classic);
};

class QtPrompts : public Prompts {
public:
    Answer message(QWidget* parent, const QString& text, const QString& title, Buttons buttons,
                   Icon icon) override;
    bool openFile(QWidget* parent, const FileRequest& request, QString& chosen) override;
    bool saveFile(QWidget* parent, const FileRequest& request, QString& chosen) override;
    bool chooseFolder(QWidget* parent, const QString& title, const QString& start, QString& chosen) override;
    ColorChoice chooseColor(QWidget* parent, const QColor& initial, QColor& chosen) override;
    bool choosePrinter(QWidget* parent, QPrinter& printer, bool offerSelection) override;
    bool confirm(QWidget* parent, const QString& text, const QString& accept) override;
    bool chooseItem(QWidget* parent, const QString& title, const QString& label, const QStringList& items,
                    QString& chosen) override;
};
