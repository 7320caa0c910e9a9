#include "platform/FrameStyle.h"

#include "platform/toolbars/ToolIcons.h"

FrameStyle::FrameStyle(const QString& baseName) : QProxyStyle(baseName) {}

QIcon FrameStyle::standardIcon(StandardPixmap which, const QStyleOption* option, const QWidget* widget) const {
    const QIcon drawn = toolicons::standard(which);
    return drawn.isNull() ? QProxyStyle::standardIcon(which, option, widget) : drawn;
}

QString FrameStyle::baseName(const QStyle* style) {
    if (const auto* frame = qobject_cast<const FrameStyle*>(style))
        return frame->baseStyle()->name();
    return style ? style->name() : QString();
}
