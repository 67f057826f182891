#include "ui/window_form.h"

#include <QAccessible>

#include "ui/qt_text.h"
#include "ui/tavola_window.h"

namespace tavola {

namespace {

QColor colorFromRgb(std::int32_t rgb) { return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF); }

}  // namespace

std::string WindowForm::text(Control control) const
{
    const Controls& controls = m_window.controls();
    if (control == Control::txtAnswer)
        return controls.txtAnswer->text().toStdString();
    if (const Label* label = controls.label(control))
        return label->text().toStdString();
    return {};
}

void WindowForm::setText(Control control, std::string_view text)
{
    const Controls& controls = m_window.controls();
    if (control == Control::txtAnswer)
        controls.txtAnswer->writeText(qs(text));
    else if (Label* label = controls.label(control))
        label->setCaption(qs(text));
}

void WindowForm::setEnabled(Control control, bool enabled)
{
    QWidget* widget = m_window.controls().widget(control);
    // Disabling the focused control moves the focus on, as Qt would do
    // itself, but first, so that a screen reader follows it.
    if (!enabled && widget->hasFocus()) {
        QWidget* next = widget->nextInFocusChain();
        while (next != widget && !(next->isEnabled() && next->isVisible() && (next->focusPolicy() & Qt::TabFocus)))
            next = next->nextInFocusChain();
        next->setFocus(Qt::TabFocusReason);
    }
    widget->setEnabled(enabled);
}

void WindowForm::setFocus(Control control) { m_window.controls().widget(control)->setFocus(Qt::OtherFocusReason); }

void WindowForm::setBackColor(std::int32_t rgb) { m_window.controls().surface->setBackColor(colorFromRgb(rgb)); }

int WindowForm::windowState() const { return m_window.isMinimized() ? kWindowMinimized : 0; }

std::string WindowForm::caption() const { return m_window.windowTitle().toStdString(); }

// A minimised window is known to screen readers by its icon text.
void WindowForm::setCaption(std::string_view caption)
{
    m_window.setWindowTitle(qs(caption));
    m_window.setWindowIconText(qs(caption));
}

void WindowForm::setAccessibleName(Control control, std::string_view name)
{
    QWidget* widget = m_window.controls().widget(control);
    m_baseNames.insert(widget, qs(name));
    widget->setAccessibleName(qs(name));
}

void WindowForm::setAccessibleDescription(Control control, std::string_view description)
{
    m_window.controls().widget(control)->setAccessibleDescription(qs(description));
}

// Added to the name of the control that has the focus, until the game names
// it anew: a screen reader speaks it, and a braille display shows it beside
// the caret, as the focus comes back from the closing box.
void WindowForm::announce(std::string_view message)
{
    QWidget* focused = m_window.focusWidget();
    QAccessibleInterface* control = focused ? QAccessible::queryAccessibleInterface(focused) : nullptr;
    if (!control)
        return;
    auto base = m_baseNames.constFind(focused);
    if (base == m_baseNames.constEnd())
        base = m_baseNames.insert(focused, control->text(QAccessible::Name));
    focused->setAccessibleName(*base + " " + qs(message));
}

void WindowForm::load()
{
    m_baseNames.clear();
    m_window.load();
}

void WindowForm::unload() { m_window.unload(); }

void WindowForm::show() { m_window.showWindow(); }

}  // namespace tavola
