#include "platform/comm/TerminalText.h"

#include <algorithm>

namespace terminaltext {

QString stamp(const QTime& time, bool sent) {
    return time.toString(sent ? QStringLiteral("[HH:mm:ss.zzz 'sent'] ") : QStringLiteral("[HH:mm:ss.zzz] "));
}

QString notSent() {
    return QStringLiteral("Not sent: the port is closed. Choose a port first.");
}

QString lost(const QString& device, bool gone, const QString& detail) {
    const QString why = gone || detail.trimmed().isEmpty()
                            ? QStringLiteral("the device was removed or closed by the other end")
                            : detail;
    return QStringLiteral("The connection on %1 was lost (%2); the port is closed. "
                          "Choose the port again once the device is back.")
        .arg(device, why);
}

int hexPaneWidth(int total, int rowWidth, int textMin) {
    const int room = std::max(total - textMin, total / 2);
    return std::max(0, std::min(rowWidth, room));
}

QList<QList<QPointF>> runs(const QList<QPointF>& points) {
    QList<QList<QPointF>> out;
    for (qsizetype i = 0; i < points.size(); ++i) {
        if (i == 0 || points[i].x() > points[i - 1].x() + 1)
            out.append(QList<QPointF>{});
        out.last().append(points[i]);
    }
    return out;
}

} // namespace terminaltext
