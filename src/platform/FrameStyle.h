#pragma once

#include <QProxyStyle>

// The desktop's style, with the standard icons of the frame's own parts drawn as the toolbar icons
// are (toolicons::standard()). The style would read those from image files at every start, and the
// first image file a program reads makes Qt load every image format plugin of the system to ask
// whether one of them reads it.
class FrameStyle : public QProxyStyle {
    Q_OBJECT
public:
    // Wraps the style QStyleFactory makes for `baseName`.
    explicit FrameStyle(const QString& baseName);

    QIcon standardIcon(StandardPixmap which, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;

    // The name QStyleFactory knows a style by; for a FrameStyle, the name of the style it wraps.
    static QString baseName(const QStyle* style);
};
