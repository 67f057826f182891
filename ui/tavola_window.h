#pragma once

#include <QDeadlineTimer>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include "game/tavola.h"
#include "ui/controls.h"
#include "ui/menu_bar.h"
#include "ui/window_form.h"

namespace tavola {

// The window Tavola: it builds the controls from the layout, forwards the
// toolkit's events to the handlers of the window object, and lets the game
// logic reach its controls through WindowForm. It holds no game logic itself.
class TavolaWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit TavolaWindow(Services& services, QWidget* parent = nullptr);
    ~TavolaWindow() override;

    // Loads the window, shows it and draws the first problem.
    void start();

    Tavola& game() { return m_tavola; }
    const Controls& controls() const { return m_controls; }
    const GameMenus& menus() const { return m_menus; }
    QTimer& timer() { return m_timer; }

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class WindowForm;

    void load();
    void unload();
    void showWindow();
    void fitOnScreen();
    void askForNewGameFromMenu();
    void reopenNewGameMenu();
    void retellFocus();

    WindowForm m_form{*this};
    Tavola m_tavola;
    Controls m_controls;
    GameMenus m_menus;
    QTimer m_timer;
    QMetaObject::Connection m_focusWatch;
    QPointer<QWidget> m_controlFocus;  // the last control that had the focus
    int m_loads = 0;
    bool m_sized = false;
    bool m_newGameQueued = false;
    bool m_menuWaitsForActivation = false;
    QDeadlineTimer m_menuReopened{0};
};

}  // namespace tavola
