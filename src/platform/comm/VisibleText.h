#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Turns received bytes into text that shows every byte: UTF-8 is decoded (a character split over two
// chunks is joined), control bytes, NUL included, show as their names in angle brackets ("<NUL>",
// "<BEL>", "<DEL>"), and a byte that is not valid UTF-8 as its value ("<xFF>"). TAB stays a TAB.
// Plain ASCII is used for the marks because few fonts carry the control-picture symbols.
class VisibleText {
public:
    QString decode(QByteArrayView bytes);
    void reset() { carry_.clear(); }

    // The visible form of one ASCII byte: the character itself, or the control byte's mark.
    static QString visible(char c);

private:
    // The start of a character whose remaining bytes have not arrived yet.
    QByteArray carry_;
};
