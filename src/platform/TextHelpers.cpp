#include "platform/TextHelpers.h"

#include <cmath>
#include <limits>

namespace text {

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

} // namespace

double Val(const QString& s) {
    int i = 0;
    const int n = int(s.size());
    auto skipBlanks = [&] {
        while (i < n && isBlank(s[i]))
            ++i;
    };
    skipBlanks();
    if (i + 1 < n && s[i] == u'&') {
        const QChar kind = s[i + 1].toUpper();
        const int base = kind == u'H' ? 16 : kind == u'O' ? 8 : 0;
        if (base) {
            i += 2;
            long long v = 0;
            bool any = false;
            while (i < n) {
                const int d = QString(s[i]).toInt(nullptr, base);
                const bool ok =
                    s[i].isDigit() || (base == 16 && QStringLiteral("abcdefABCDEF").contains(s[i]));
                if (!ok || (base == 8 && s[i] > u'7'))
                    break;
                v = v * base + d;
                any = true;
                ++i;
                if (v > 0xFFFFFFFFLL)
                    break;
            }
            return any ? double(v) : 0.0;
        }
    }
    QString num;
    if (i < n && (s[i] == u'+' || s[i] == u'-')) {
        num += s[i++];
        skipBlanks();
    }
    bool digits = false;
    while (i < n && (s[i].isDigit() || isBlank(s[i]))) {
        if (s[i].isDigit()) {
            num += s[i];
            digits = true;
        }
        ++i;
    }
    if (i < n && s[i] == u'.') {
        num += u'.';
        ++i;
        while (i < n && (s[i].isDigit() || isBlank(s[i]))) {
            if (s[i].isDigit()) {
                num += s[i];
                digits = true;
            }
            ++i;
        }
    }
    if (!digits)
        return 0.0;
    if (i < n && (s[i] == u'e' || s[i] == u'E' || s[i] == u'd' || s[i] == u'D')) {
        int j = i + 1;
        QString exp = QStringLiteral("e");
        if (j < n && (s[j] == u'+' || s[j] == u'-'))
            exp += s[j++];
        bool expDigits = false;
        while (j < n && s[j].isDigit()) {
            exp += s[j++];
            expDigits = true;
        }
        if (expDigits)
            num += exp;
    }
    bool ok = false;
    const double v = num.toDouble(&ok);
    return ok ? v : 0.0;
}

int ValInt(const QString& s) {
    const double v = std::trunc(Val(s));
    if (v >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (v <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(v);
}

QString Str(long long n) {
    return n < 0 ? QString::number(n) : QStringLiteral(" ") + QString::number(n);
}

QString Trim(const QString& s) {
    int b = 0;
    int e = int(s.size());
    while (b < e && s[b] == u' ')
        ++b;
    while (e > b && s[e - 1] == u' ')
        --e;
    return s.mid(b, e - b);
}

int InStr(int start, const QString& hay, const QString& needle, Qt::CaseSensitivity cs) {
    if (start < 1)
        start = 1;
    if (start > hay.size() + 1)
        return 0;
    const qsizetype at = hay.indexOf(needle, start - 1, cs);
    return at < 0 ? 0 : int(at) + 1;
}

bool ToNumber(const QString& s, double& out) {
    const QString t = s.trimmed();
    if (t.isEmpty())
        return false;
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok)
        return false;
    out = v;
    return true;
}

} // namespace text
