#pragma once

#include <QHash>
#include <QSet>
#include <QWidget>

namespace tavola {

// The window's own surface, the whole client area at any size. It reports a
// click (press and release on it), and paints the tint behind the controls.
// It and every control on it keep the light colours the layout was drawn
// with, whatever the desktop's colour scheme: the layout sets its own
// backgrounds, and the desktop's text colour on them could be white on cyan.
class Surface : public QWidget {
    Q_OBJECT
public:
    explicit Surface(const QSize& preferred, QWidget* parent = nullptr);
    QSize sizeHint() const override { return m_preferred; }

    // The tint is painted here, not set in the palette: a palette change
    // reaches every control and gives each a new cache key, and the style's
    // pixmap cache then fills with stale copies of their faces, a few more
    // with every problem.
    void setBackColor(const QColor& color);

    // A click on this control is no click on the surface behind it.
    void shieldClicks(QWidget* control);
    // Qt shows the surface's pointer over a disabled control; for this one
    // the surface shows the control's own pointer instead.
    void keepPointerWhenDisabled(QWidget* control);

    // The window's own pointer; while a disabled control lends its pointer,
    // that one stays on show, taken afresh from the control.
    void setOwnPointer(const QCursor& pointer);

signals:
    void clicked();
    // The screen's scale changed (the window moved to another screen, or the
    // desktop's scale setting changed): pictures drawn once need drawing anew.
    void pixelRatioChanged(qreal ratio);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QSize m_preferred;
    QColor m_back;
    qreal m_ratio = 0;
    QCursor m_own;
    bool m_pressed = false;
    QSet<const QObject*> m_shielded;
    QHash<const QObject*, QWidget*> m_lenders;
    QWidget* m_lender = nullptr;  // the disabled control whose pointer is shown
};

}  // namespace tavola
