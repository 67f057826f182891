#include "ui/tavola_window.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScreen>
#include <QShortcut>
#include <algorithm>
#include <utility>

#include "game/texts.h"
#include "ui/qt_text.h"

namespace tavola {

TavolaWindow::TavolaWindow(Services& services, QWidget* parent)
    : QMainWindow(parent), m_tavola(m_form, services)
{
    setObjectName("TavolaWindow");
    setWindowTitle(qs(text::kCaption));
    // Sharp on this screen, and on any the window may move to.
    QIcon icon;
    for (const qreal ratio : {1.0, 2.0, devicePixelRatioF()})
        icon.addPixmap(picture("icon", ratio));
    setWindowIcon(icon);
    m_timer.setInterval(500);
    connect(&m_timer, &QTimer::timeout, this, [this] { m_tavola.Timer1_Timer(); });
    // The end time is otherwise set only with the mouse: F2 anywhere asks for it too.
    auto* endTimeKey = new QShortcut(QKeySequence(Qt::Key_F2), this);
    connect(endTimeKey, &QShortcut::activated, this, [this] { m_tavola.Form_Click(); });
    // Remembers the control the pupil was on; leaving the menu bar from the
    // keyboard hands the focus back without telling a screen reader.
    m_focusWatch = connect(qApp, &QApplication::focusChanged, this, [this, bar = menuBar()](QWidget* old, QWidget* now) {
        if (now && m_controls.surface && m_controls.surface->isAncestorOf(now))
            m_controlFocus = now;
        if (old && old == bar)
            QTimer::singleShot(0, this, [this] { retellFocus(); });
    });
    // The new-problem button is the window's cancel button: Esc presses it
    // while it is enabled. Enter in the answer box keeps scoring.
    auto* cancelKey = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(cancelKey, &QShortcut::activated, this, [this] {
        if (m_controls.cmdNext && m_controls.cmdNext->isEnabled())
            m_controls.cmdNext->click();
    });
}

// A screen reader that was busy with the window's activation or with the
// menu bar can miss where the focus went; telling it again costs nothing, as
// it reads nothing anew when it already knew.
void TavolaWindow::retellFocus()
{
    // Only a control of the window, and not while a menu is open over it.
    QWidget* focused = focusWidget();
    if (focused && isActiveWindow() && !QApplication::activePopupWidget() && m_controls.surface &&
        m_controls.surface->isAncestorOf(focused)) {
        QAccessibleEvent event(focused, QAccessible::Focus);
        QAccessible::updateAccessibility(&event);
    }
}

bool TavolaWindow::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate) {
        QTimer::singleShot(0, this, [this] {
            if (std::exchange(m_menuWaitsForActivation, false))
                reopenNewGameMenu();
            else
                retellFocus();
        });
    }
    return QMainWindow::event(event);
}

// The focus moves while the window's own parts are torn down.
TavolaWindow::~TavolaWindow() { disconnect(m_focusWatch); }

void TavolaWindow::start()
{
    m_tavola.start();
    activateWindow();
}

void TavolaWindow::load()
{
    ++m_loads;
    m_controls = buildControls();
    setCentralWidget(m_controls.surface);
    m_menus = buildMenuBar(menuBar());
    // Opening the submenu asks first. A modal box opened from inside the
    // menu's own show would crash Qt 6.4: wait until the menu has finished
    // showing, close the menus, ask, and on No open them again as they were.
    connect(m_menus.next, &QMenu::aboutToShow, this, [this] {
        if (!m_menuReopened.hasExpired()) {
            m_menuReopened = QDeadlineTimer();
            return;
        }
        if (m_newGameQueued)
            return;
        m_newGameQueued = true;
        QTimer::singleShot(0, this, [this] { askForNewGameFromMenu(); });
    });
    m_controls.txtAnswer->setKeyHandler([this](std::int16_t& key) { m_tavola.txtAnswer_KeyPress(key); });
    connect(m_controls.cmdNext, &QPushButton::clicked, this, [this] { m_tavola.cmdNext_Click(); });
    connect(m_controls.cmdExit, &QPushButton::clicked, this, [this] { m_tavola.cmdExit_Click(); });
    connect(m_controls.surface, &Surface::clicked, this, [this] { m_tavola.Form_Click(); });
    // As at start: on the first control in tab order until a problem is drawn.
    m_controls.cmdExit->setFocus(Qt::OtherFocusReason);
    if (!m_timer.isActive())
        m_timer.start();
}

void TavolaWindow::unload()
{
    // Handlers may still be running on the old controls: delete them later.
    if (QWidget* old = takeCentralWidget()) {
        old->hide();
        old->deleteLater();
    }
    m_controls = {};
    menuBar()->clear();
    if (m_menus.info)
        m_menus.info->deleteLater();  // with its submenus
    m_menus = {};
}

// Shown in its normal state, or maximised if the pupil maximised it, never
// left minimised: a new game looks as the program does at start. The first
// time, the window takes the layout's size where the screen has room for it.
void TavolaWindow::showWindow()
{
    if (!m_sized) {
        m_sized = true;
        QSize size = sizeHint();
        if (const QScreen* place = screen())
            size = size.boundedTo(place->availableGeometry().size());
        resize(size);
        // The frame is known only once the desktop has put it around the
        // window: then make the whole window fit the available area, unless
        // the pupil has already sized it.
        QTimer::singleShot(300, this, [this, size] {
            if (this->size() == size)
                fitOnScreen();
        });
    }
    setWindowState(windowState() & ~Qt::WindowMinimized);
    // Controls built into a window already on screen would show only later.
    if (m_controls.surface)
        m_controls.surface->show();
    show();
}

void TavolaWindow::fitOnScreen()
{
    const QScreen* place = screen();
    if (!place || (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)))
        return;
    const QRect room = place->availableGeometry();
    const QRect frame = frameGeometry();
    if (room.contains(frame))
        return;
    const QSize margins = frame.size() - size();
    const QSize client = size().boundedTo(room.size() - margins);
    const QSize outer = client + margins;
    resize(client);
    move(std::clamp(frame.x(), room.left(), room.left() + room.width() - outer.width()),
         std::clamp(frame.y(), room.top(), room.top() + room.height() - outer.height()));
}

void TavolaWindow::askForNewGameFromMenu()
{
    m_newGameQueued = false;
    while (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    const int loads = m_loads;
    m_tavola.Next_Click();
    if (m_loads != loads)
        return;
    // The control the pupil was on, not the menu bar, gets the focus back
    // once the menus are closed.
    if (m_controlFocus)
        m_controlFocus->setFocus(Qt::OtherFocusReason);
    // Menus opened before the desktop has handed the window its activation
    // back would keep it from coming, and the menu bar could then not give
    // the focus back when the pupil closes them: wait for it, a while at most.
    if (isActiveWindow()) {
        reopenNewGameMenu();
        return;
    }
    m_menuWaitsForActivation = true;
    QTimer::singleShot(500, this, [this] {
        if (std::exchange(m_menuWaitsForActivation, false))
            reopenNewGameMenu();
    });
}

// The drop-down open at "nuovo" with its submenu showing, as the pupil left it.
void TavolaWindow::reopenNewGameMenu()
{
    QMenu* info = m_menus.info;
    QMenu* next = m_menus.next;
    if (!next)
        return;
    // Its submenu shows now or a moment later; that show asks nothing.
    m_menuReopened = QDeadlineTimer(1000);
    menuBar()->setActiveAction(info->menuAction());
    info->setActiveAction(next->menuAction());
    QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    QCoreApplication::sendEvent(info, &right);
}

void TavolaWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        m_tavola.Form_Resize();
}

void TavolaWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    m_tavola.Form_Resize();
}

}  // namespace tavola
