#pragma once

#include <QLabel>

namespace tavola {

// A caption of the window. One that sizes to its text keeps its left and top
// and takes the size of each new caption.
class Label : public QLabel {
    Q_OBJECT
public:
    Label(const QString& caption, bool sizesToText, QWidget* parent = nullptr);

    bool sizesToText() const { return m_sizesToText; }
    // Writes the caption; Qt tells screen readers of the change itself.
    void setCaption(const QString& caption);

private:
    bool m_sizesToText;
};

}  // namespace tavola
