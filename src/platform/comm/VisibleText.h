#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Turns received bytes into text that shows every byte: UTF-8 is decoded (a character split over two
// chunks is joined), a byte that is not valid UTF-8 becomes U+FFFD at once, and control bytes, NUL
// included, become their visible symbols (U+2400 to U+241F, U+2421 for DEL). TAB stays a TAB.
class VisibleText {
public:
    QString decode(QByteArrayView bytes);
    void reset() { carry_.clear(); }

    // The visible symbol of one control byte, or the character itself when it needs none.
    static QChar visible(char16_t c);

private:
    // The start of a character whose remaining bytes have not arrived yet.
    QByteArray carry_;
};
