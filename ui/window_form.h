#pragma once

#include <QHash>
#include <QString>

#include "game/form.h"

class QWidget;

namespace tavola {

class TavolaWindow;

// The game logic's view of the window: each Control is its typed widget.
class WindowForm : public Form {
public:
    explicit WindowForm(TavolaWindow& window) : m_window(window) {}

    std::string text(Control control) const override;
    void setText(Control control, std::string_view text) override;
    void setEnabled(Control control, bool enabled) override;
    void setFocus(Control control) override;
    void setBackColor(std::int32_t rgb) override;
    int windowState() const override;
    std::string caption() const override;
    void setCaption(std::string_view caption) override;
    void setAccessibleName(Control control, std::string_view name) override;
    void setAccessibleDescription(Control control, std::string_view description) override;
    void announce(std::string_view message) override;
    void load() override;
    void unload() override;
    void show() override;

private:
    TavolaWindow& m_window;
    // The name the game gave a control, before anything was announced on it.
    QHash<const QWidget*, QString> m_baseNames;
};

}  // namespace tavola
