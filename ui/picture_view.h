#pragma once

#include <QFrame>

#include "ui/picture.h"

namespace tavola {

// A picture drawn at its natural size from the top-left corner, clipped by
// the widget (with an optional sunken frame). Screen readers read it as an
// image by its name.
class PictureView : public QFrame {
    Q_OBJECT
public:
    explicit PictureView(const char* picture, QWidget* parent = nullptr);

    // Gives every picture view the image role; once, before the first one.
    static void installAccessibleRole();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Picture m_picture;
};

}  // namespace tavola
