#include "platform/toolbars/ToolIcons.h"

#include <QApplication>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>
#include <functional>
#include <vector>

namespace toolicons {

namespace {

using Draw = std::function<void(QPainter&)>;

// The outline colour: dark on a light toolbar, light on a dark one.
QColor Ink(60, 60, 70);
const QColor Paper(250, 250, 245);
const QColor Accent(40, 110, 200);
const QColor Mark(210, 40, 40);
const QColor Go(30, 150, 60);

void page(QPainter& p, QRectF r) {
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - 5, r.top());
    path.lineTo(r.right(), r.top() + 5);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setBrush(Paper);
    p.setPen(QPen(Ink, 1.2));
    p.drawPath(path);
}

void lines(QPainter& p, qreal x, qreal y, int n, qreal w) {
    p.setPen(QPen(Ink, 1.2));
    for (int i = 0; i < n; ++i)
        p.drawLine(QPointF(x, y + i * 4), QPointF(x + w, y + i * 4));
}

void arrow(QPainter& p, QPointF from, QPointF to, const QColor& c) {
    p.setPen(QPen(c, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(from, to);
    const QPointF d = to - from;
    const qreal len = std::max(1.0, std::hypot(d.x(), d.y()));
    const QPointF u(d.x() / len, d.y() / len);
    const QPointF n(-u.y(), u.x());
    p.drawLine(to, to - u * 4 + n * 3.5);
    p.drawLine(to, to - u * 4 - n * 3.5);
}

void ribbon(QPainter& p, QRectF r) {
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right(), r.top());
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.center().x(), r.bottom() - 4);
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(QPen(Accent.darker(130), 1));
    p.setBrush(Accent);
    p.drawPath(path);
}

void dot(QPainter& p, QPointF c, qreal r) {
    p.setPen(QPen(Mark.darker(130), 1));
    p.setBrush(Mark);
    p.drawEllipse(c, r, r);
}

void cross(QPainter& p, QPointF c, qreal s) {
    p.setPen(QPen(Ink, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-s, -s), c + QPointF(s, s));
    p.drawLine(c + QPointF(-s, s), c + QPointF(s, -s));
}

void magnifier(QPainter& p, QPointF c) {
    p.setBrush(QColor(220, 235, 250));
    p.setPen(QPen(Ink, 2));
    p.drawEllipse(c, 5, 5);
    p.setPen(QPen(Ink, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(4, 4), c + QPointF(8, 8));
}

void curvedArrow(QPainter& p, bool back) {
    QPainterPath path;
    if (back) {
        path.moveTo(16, 17);
        path.cubicTo(18, 8, 10, 4, 4, 9);
    } else {
        path.moveTo(4, 17);
        path.cubicTo(2, 8, 10, 4, 16, 9);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Accent, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(path);
    const QPointF tip = back ? QPointF(4, 9) : QPointF(16, 9);
    const qreal dir = back ? 1 : -1;
    p.drawLine(tip, tip + QPointF(dir * 1, -5));
    p.drawLine(tip, tip + QPointF(dir * 5, 1));
}

void chip(QPainter& p, QRectF r) {
    p.setPen(QPen(Ink, 1));
    for (int i = 0; i < 4; ++i) {
        const qreal y = r.top() + 2 + i * (r.height() - 4) / 3;
        p.drawLine(QPointF(r.left() - 2, y), QPointF(r.left(), y));
        p.drawLine(QPointF(r.right(), y), QPointF(r.right() + 2, y));
    }
    p.setBrush(QColor(70, 70, 80));
    p.drawRoundedRect(r, 1.5, 1.5);
}

const QHash<QString, Draw>& drawings() {
    static const QHash<QString, Draw> table = {
        {QStringLiteral("ID_New"), [](QPainter& p) { page(p, QRectF(4, 2, 12, 16)); }},
        {QStringLiteral("ID_Open"),
         [](QPainter& p) {
             p.setPen(QPen(QColor(150, 110, 20), 1));
             p.setBrush(QColor(240, 200, 90));
             p.drawRect(QRectF(2, 6, 16, 11));
             p.setBrush(QColor(250, 220, 120));
             QPolygonF lid{{2, 17}, {5, 9}, {19, 9}, {18, 17}};
             p.drawPolygon(lid);
         }},
        {QStringLiteral("ID_Save"),
         [](QPainter& p) {
             p.setPen(QPen(Ink, 1));
             p.setBrush(Accent);
             p.drawRoundedRect(QRectF(3, 3, 14, 14), 1.5, 1.5);
             p.setBrush(Paper);
             p.drawRect(QRectF(6, 3, 8, 5));
             p.drawRect(QRectF(5, 11, 10, 6));
         }},
        {QStringLiteral("ID_Print"),
         [](QPainter& p) {
             page(p, QRectF(6, 2, 8, 6));
             p.setBrush(QColor(180, 180, 190));
             p.drawRoundedRect(QRectF(2, 8, 16, 7), 1.5, 1.5);
             page(p, QRectF(6, 12, 8, 6));
         }},
        {QStringLiteral("ID_Cut"),
         [](QPainter& p) {
             p.setPen(QPen(Ink, 1.5));
             p.drawLine(QPointF(6, 2), QPointF(13, 13));
             p.drawLine(QPointF(14, 2), QPointF(7, 13));
             p.setBrush(Qt::NoBrush);
             p.drawEllipse(QPointF(6, 15), 2.5, 2.5);
             p.drawEllipse(QPointF(14, 15), 2.5, 2.5);
         }},
        {QStringLiteral("ID_Copy"),
         [](QPainter& p) {
             page(p, QRectF(2, 2, 10, 12));
             page(p, QRectF(8, 6, 10, 12));
         }},
        {QStringLiteral("ID_Paste"),
         [](QPainter& p) {
             p.setPen(QPen(QColor(120, 80, 30), 1));
             p.setBrush(QColor(200, 150, 80));
             p.drawRoundedRect(QRectF(3, 3, 12, 15), 1.5, 1.5);
             page(p, QRectF(8, 7, 10, 11));
         }},
        {QStringLiteral("ID_Find"), [](QPainter& p) { magnifier(p, QPointF(8, 8)); }},
        {QStringLiteral("ID_FindNext"),
         [](QPainter& p) {
             magnifier(p, QPointF(7, 7));
             arrow(p, QPointF(12, 17), QPointF(19, 17), Go);
         }},
        {QStringLiteral("ID_Undo"), [](QPainter& p) { curvedArrow(p, true); }},
        {QStringLiteral("ID_Redo"), [](QPainter& p) { curvedArrow(p, false); }},
        {QStringLiteral("ID_Compile"),
         [](QPainter& p) {
             p.setPen(QPen(Go.darker(130), 1));
             p.setBrush(Go);
             p.drawPolygon(QPolygonF{{5, 3}, {17, 10}, {5, 17}});
         }},
        {QStringLiteral("ID_Epic"),
         [](QPainter& p) {
             chip(p, QRectF(6, 6, 9, 12));
             arrow(p, QPointF(10, 0.5), QPointF(10, 5), Go);
         }},
        {QStringLiteral("ID_Simulate"),
         [](QPainter& p) {
             chip(p, QRectF(2, 4, 9, 12));
             p.setPen(QPen(Go.darker(130), 1));
             p.setBrush(Go);
             p.drawPolygon(QPolygonF{{12, 5}, {19, 10}, {12, 15}});
         }},
        {QStringLiteral("ID_StopSimulation"),
         [](QPainter& p) {
             p.setPen(QPen(Mark.darker(130), 1));
             p.setBrush(Mark);
             p.drawRect(QRectF(5, 5, 10, 10));
         }},
        {QStringLiteral("ID_TBook"), [](QPainter& p) { ribbon(p, QRectF(6, 2, 9, 16)); }},
        {QStringLiteral("ID_NBook"),
         [](QPainter& p) {
             ribbon(p, QRectF(3, 2, 8, 14));
             arrow(p, QPointF(15, 5), QPointF(15, 17), Ink);
         }},
        {QStringLiteral("ID_PBook"),
         [](QPainter& p) {
             ribbon(p, QRectF(3, 2, 8, 14));
             arrow(p, QPointF(15, 17), QPointF(15, 5), Ink);
         }},
        {QStringLiteral("ID_CBook"),
         [](QPainter& p) {
             ribbon(p, QRectF(3, 2, 8, 14));
             cross(p, QPointF(15, 14), 3);
         }},
        {QStringLiteral("ID_ClearError"),
         [](QPainter& p) {
             dot(p, QPointF(8, 8), 5);
             cross(p, QPointF(15, 15), 3);
         }},
        {QStringLiteral("ID_NextError"),
         [](QPainter& p) {
             dot(p, QPointF(7, 7), 5);
             arrow(p, QPointF(15, 5), QPointF(15, 18), Ink);
         }},
        {QStringLiteral("ID_PreviousError"),
         [](QPainter& p) {
             dot(p, QPointF(7, 12), 5);
             arrow(p, QPointF(15, 18), QPointF(15, 3), Ink);
         }},
        {QStringLiteral("ID_ClearAllErrors"),
         [](QPainter& p) {
             dot(p, QPointF(6, 6), 4);
             dot(p, QPointF(11, 11), 4);
             cross(p, QPointF(16, 16), 3);
         }},
        {QStringLiteral("ID_Indent"),
         [](QPainter& p) {
             lines(p, 9, 4, 4, 9);
             arrow(p, QPointF(1, 10), QPointF(7, 10), Accent);
         }},
        {QStringLiteral("ID_Outdent"),
         [](QPainter& p) {
             lines(p, 9, 4, 4, 9);
             arrow(p, QPointF(7, 10), QPointF(1, 10), Accent);
         }},
    };
    return table;
}

} // namespace

namespace {

// A toolbar icon drawn when a size is first asked for, in the 20-unit square the drawings use,
// and kept at that size only. Disabled and selected looks come from the style, as for any icon.
class DrawnIconEngine : public QIconEngine {
public:
    DrawnIconEngine(const Draw& draw, const QColor& ink) : draw_(&draw), ink_(ink) {}

    void paint(QPainter* p, const QRect& rect, QIcon::Mode, QIcon::State) override {
        const int side = qMin(rect.width(), rect.height());
        p->save();
        p->translate(rect.x() + (rect.width() - side) / 2, rect.y() + (rect.height() - side) / 2);
        p->scale(side / qreal(Units), side / qreal(Units));
        p->setRenderHint(QPainter::Antialiasing);
        Ink = ink_;
        (*draw_)(*p);
        p->restore();
    }
    // Never larger than drawn for (a bigger button centres it), as with a pixmap icon.
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = qMin(Units, qMin(size.width(), size.height()));
        return {side, side};
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1.0);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
        const int side = qMax(1, qRound(actualSize(size / scale, mode, state).width() * scale));
        for (const Drawn& d : drawn_)
            if (d.side == side && d.mode == mode)
                return d.pixmap;
        QPixmap pm;
        if (mode == QIcon::Normal || mode == QIcon::Active) {
            QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter p(&image);
            paint(&p, image.rect(), mode, state);
            p.end();
            pm = QPixmap::fromImage(std::move(image));
        } else {
            QStyleOption opt;
            opt.palette = QApplication::palette();
            pm = QApplication::style()->generatedIconPixmap(mode, scaledPixmap(size, QIcon::Normal, state, scale), &opt);
        }
        drawn_.push_back({side, mode, pm});
        return pm;
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {{Units, Units}}; }
    QIconEngine* clone() const override { return new DrawnIconEngine(*draw_, ink_); }
    QString key() const override { return QStringLiteral("pinwright-tool"); }

private:
    static constexpr int Units = 20;
    struct Drawn {
        int side;
        QIcon::Mode mode;
        QPixmap pixmap;
    };
    const Draw* draw_;  // an entry of the drawings table, which lives as long as the program
    QColor ink_;
    std::vector<Drawn> drawn_;
};

} // namespace

QIcon forTool(const QString& id, bool darkBar) {
    const auto it = drawings().constFind(id);
    if (it == drawings().constEnd())
        return {};
    return QIcon(new DrawnIconEngine(*it, darkBar ? QColor(200, 200, 210) : QColor(60, 60, 70)));
}

namespace {

void chevrons(QPainter& p, bool down) {
    p.setPen(QPen(Ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    for (const qreal at : {5.0, 10.0}) {
        const QPolygonF v = down ? QPolygonF{{6, at}, {10, at + 4}, {14, at}} : QPolygonF{{at, 6}, {at + 4, 10}, {at, 14}};
        p.drawPolyline(v);
    }
}

const QHash<int, Draw>& standardDrawings() {
    static const QHash<int, Draw> table = {
        {QStyle::SP_ToolBarHorizontalExtensionButton, [](QPainter& p) { chevrons(p, false); }},
        {QStyle::SP_ToolBarVerticalExtensionButton, [](QPainter& p) { chevrons(p, true); }},
        {QStyle::SP_TitleBarCloseButton,
         [](QPainter& p) {
             p.setPen(QPen(Ink, 1.8, Qt::SolidLine, Qt::RoundCap));
             p.drawLine(QPointF(5, 5), QPointF(15, 15));
             p.drawLine(QPointF(15, 5), QPointF(5, 15));
         }},
        {QStyle::SP_TitleBarNormalButton,
         [](QPainter& p) {
             p.setPen(QPen(Ink, 1.4));
             p.setBrush(Qt::NoBrush);
             p.drawRect(QRectF(7.5, 4.5, 8, 8));
             p.setBrush(Paper);
             p.drawRect(QRectF(4.5, 7.5, 8, 8));
         }},
        {QStyle::SP_TitleBarMinButton,
         [](QPainter& p) {
             p.setPen(QPen(Ink, 1.8, Qt::SolidLine, Qt::RoundCap));
             p.drawLine(QPointF(5, 14), QPointF(15, 14));
         }},
        {QStyle::SP_TitleBarMaxButton,
         [](QPainter& p) {
             p.setPen(QPen(Ink, 1.4));
             p.setBrush(Qt::NoBrush);
             p.drawRect(QRectF(4.5, 4.5, 11, 11));
         }},
    };
    return table;
}

} // namespace

QIcon standard(QStyle::StandardPixmap which) {
    if (which == QStyle::SP_TitleBarMenuButton)
        return application();
    if (which == QStyle::SP_DockWidgetCloseButton)
        which = QStyle::SP_TitleBarCloseButton;
    const auto it = standardDrawings().constFind(which);
    if (it == standardDrawings().constEnd())
        return {};
    // A middle grey: these buttons sit on light and on dark title bars alike.
    return QIcon(new DrawnIconEngine(*it, QColor(110, 110, 120)));
}

namespace {

void paintApplication(QPainter& p, int size) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(size / 20.0, size / 20.0);
    chip(p, QRectF(4, 3, 12, 14));
    p.setPen(QPen(QColor(240, 200, 90), 1.2));
    p.drawText(QRectF(4, 3, 12, 14), Qt::AlignCenter, QStringLiteral("P"));
}

// The program's icon, drawn at whatever size is asked for when it is asked for: the window system
// takes its sizes once, and nothing stays drawn in the program. The sizes offered are the ones
// task bars and window lists show; each is sent to the window system whole, so the list stays short.
class ApplicationIconEngine : public QIconEngine {
public:
    void paint(QPainter* p, const QRect& rect, QIcon::Mode, QIcon::State) override {
        const int size = qMin(rect.width(), rect.height());
        p->save();
        p->translate(rect.x() + (rect.width() - size) / 2, rect.y() + (rect.height() - size) / 2);
        paintApplication(*p, size);
        p->restore();
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
        return applicationPixmap(qMax(1, qMin(size.width(), size.height())));
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = qMin(size.width(), size.height());
        return {side, side};
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes{{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}};
        // A dense screen's window list shows the largest at twice its size.
        if (qApp && qApp->devicePixelRatio() > 1)
            sizes.append({128, 128});
        return sizes;
    }
    QIconEngine* clone() const override { return new ApplicationIconEngine; }
    QString key() const override { return QStringLiteral("pinwright-application"); }
};

} // namespace

QPixmap applicationPixmap(int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    paintApplication(p, size);
    p.end();
    return pm;
}

QIcon modifiedMark() {
    QIcon icon;
    for (const int size : {16, 32}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 16.0, size / 16.0);
        p.setPen(QPen(QColor(120, 50, 0), 1));
        p.setBrush(QColor(240, 140, 20));
        p.drawEllipse(QRectF(3.5, 3.5, 9, 9));
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

QIcon application() {
    return QIcon(new ApplicationIconEngine);
}

} // namespace toolicons
