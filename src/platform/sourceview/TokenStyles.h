#pragma once

#include <QColor>
#include <QObject>
#include <array>

// Colours and styles of the token classes 0..15. A view keeps one set for the screen and one for
// printing. Colours are stored values (0x00BBGGRR or system colour 0x800000nn).
class TokenStyles : public QObject {
    Q_OBJECT
public:
    static constexpr int ClassCount = 16;
    enum Style : int { Normal = 0, Bold = 1 };

    explicit TokenStyles(QObject* parent = nullptr);

    // The trailing flags of the classic calls: SetBackgroundColor with false removes the class's
    // background; the others are accepted and ignored.
    void SetForegroundColor(int cls, qint32 color, int flag = -1);
    void SetBackgroundColor(int cls, qint32 color, bool flag = true);
    void SetTokenStyle(int cls, int style, int flag = -1);

    bool HasForegroundColor(int cls) const { return valid(cls) && entries_[size_t(cls)].hasFore; }
    qint32 ForegroundColor(int cls) const { return valid(cls) ? entries_[size_t(cls)].fore : 0; }
    bool HasBackgroundColor(int cls) const { return valid(cls) && entries_[size_t(cls)].hasBack; }
    qint32 BackgroundColor(int cls) const { return valid(cls) ? entries_[size_t(cls)].back : 0; }
    int TokenStyle(int cls) const { return valid(cls) ? entries_[size_t(cls)].style : 0; }

    // The QColor to paint with, or `fallback` when the class has none.
    QColor foreground(int cls, const QColor& fallback) const;
    QColor background(int cls, const QColor& fallback) const;
    bool isBold(int cls) const { return TokenStyle(cls) & Bold; }

    void copyFrom(const TokenStyles& other);

signals:
    void changed();

private:
    static bool valid(int cls) { return cls >= 0 && cls < ClassCount; }
    struct Entry {
        bool hasFore = false;
        bool hasBack = false;
        qint32 fore = 0;
        qint32 back = 0;
        int style = 0;
    };
    std::array<Entry, ClassCount> entries_{};
};
