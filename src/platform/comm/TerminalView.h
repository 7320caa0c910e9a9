#pragma once

#include "platform/comm/ScrollBack.h"
#include "platform/comm/TerminalText.h"

#include <QPlainTextEdit>

// A read-only text view that keeps a bounded number of lines and stays at its end while new text
// comes in and while it is resized, unless the user has scrolled up to read. Sent text (after
// terminaltext::SentMark) is shown in the link colour of the palette. Keys typed into it are handed
// on as they are, for the terminal to send; the view itself never changes its text on a key.
class TerminalView : public QPlainTextEdit {
    Q_OBJECT
public:
    TerminalView(int maxLines, QWidget* parent = nullptr);

    // Adds text. `openLine`, when given, replaces the view's last line after the text (the hex
    // view's row still being filled); without it the text continues the last line.
    void appendBatch(const ScrollBack::Batch& batch, const QString* openLine = nullptr);
    void clearAll();
    int maxLines() const { return maxLines_; }
    // Whether keys typed into the view are handed on.
    void setTyping(bool on) { typing_ = on; }
    // The whole text, lines joined with "\n" (tests, copy).
    QString text() const { return toPlainText(); }
    // Whether the view keeps its end in sight.
    bool followsEnd() const { return follow_.following(); }
    // Whether the last line is in sight (tests).
    bool endShown() const;

signals:
    void keyTyped(int key, Qt::KeyboardModifiers modifiers, const QString& text);
    void pasteRequested(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Marks the characters of sent text, whose colour follows the palette.
    static constexpr int SentText = QTextFormat::UserProperty + 1;
    void bound();
    void onRangeChanged();
    void onScrolled(int value);
    void scrollToEnd();
    void insert(QTextCursor& cursor, const QString& text);

    int maxLines_;
    bool typing_ = true;
    bool openLineShown_ = false;
    terminaltext::FollowEnd follow_;
    bool placing_ = false; // the view itself moves the scroll bar
};
