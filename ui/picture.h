#pragma once

#include <QPixmap>

namespace tavola {

// One of our pictures, as drawn at build time, at `ratio` device pixels per
// logical pixel (scaled smoothly where the ratio is neither one nor two). An
// unknown name gives an empty pixmap.
QPixmap picture(const char* name, qreal ratio);

// A picture kept at the device pixel ratio of the screen it was last shown on.
class Picture {
public:
    explicit Picture(const char* name = nullptr) : m_name(name) {}
    bool isNull() const { return !m_name; }
    const QPixmap& at(qreal ratio);

private:
    const char* m_name;
    QPixmap m_pixmap;
};

}  // namespace tavola
