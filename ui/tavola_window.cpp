#include "ui/tavola_window.h"

#include <QAccessible>
#include <QApplication>
#include <QShortcut>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QResizeEvent>

#include "ui/widgets.h"

namespace tavola {

namespace {

const char* controlName(Control control)
{
    switch (control) {
    case Control::txtAnswer: return "txtAnswer";
    case Control::cmdNext: return "cmdNext";
    case Control::lblNum1: return "lblNum1";
    case Control::lblNum2: return "lblNum2";
    case Control::lblMessage: return "lblMessage";
    case Control::lblTime: return "lblTime";
    case Control::lblScore: return "lblScore";
    case Control::lblScore1: return "lblScore1";
    case Control::lblScore2: return "lblScore2";
    }
    return "";
}

QColor colorFromRgb(std::int32_t rgb) { return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF); }

}  // namespace

// The game logic's view of the window: control names mapped to widgets.
class TavolaWindow::WindowForm : public Form {
public:
    explicit WindowForm(TavolaWindow& window) : m_window(window) {}

    std::string text(Control control) const override
    {
        QWidget* widget = m_window.widgetFor(control);
        if (auto* label = qobject_cast<QLabel*>(widget))
            return label->text().toStdString();
        if (auto* box = qobject_cast<QLineEdit*>(widget))
            return box->text().toStdString();
        return {};
    }
    void setText(Control control, std::string_view text) override
    {
        tavola::setCaption(m_window.widgetFor(control), QString::fromUtf8(text.data(), qsizetype(text.size())));
    }
    void setEnabled(Control control, bool enabled) override
    {
        if (QWidget* widget = m_window.widgetFor(control))
            widget->setEnabled(enabled);
    }
    void setFocus(Control control) override
    {
        QWidget* widget = m_window.widgetFor(control);
        if (!widget)
            return;
        if (control == Control::txtAnswer)
            m_window.announceProblem();
        widget->setFocus(Qt::OtherFocusReason);
    }
    void setBackColor(std::int32_t rgb) override
    {
        QWidget* surface = m_window.m_controls.surface;
        if (!surface)
            return;
        QPalette palette = surface->palette();
        palette.setColor(QPalette::Window, colorFromRgb(rgb));
        surface->setPalette(palette);
    }
    int windowState() const override { return m_window.isMinimized() ? kWindowMinimized : 0; }
    std::string caption() const override { return m_window.windowTitle().toStdString(); }
    void setCaption(std::string_view caption) override
    {
        m_window.setWindowTitle(QString::fromUtf8(caption.data(), qsizetype(caption.size())));
    }
    void unload() override { m_window.unload(); }
    void show() override
    {
        m_window.load();
        m_window.m_tavola.Form_Resize();
        // A new game is only ever asked for from this window, which the pupil
        // is looking at; the box that asked may already have handed the
        // activation back, so do not wait for another one.
        QTimer::singleShot(0, &m_window, [window = &m_window] { window->m_tavola.windowActivated(); });
    }

private:
    TavolaWindow& m_window;
};

TavolaWindow::TavolaWindow(Services& services, QWidget* parent)
    : QMainWindow(parent), m_form(std::make_unique<WindowForm>(*this)), m_tavola(*m_form, services)
{
    setObjectName("TavolaWindow");
    setWindowTitle("Vorlando");
    setWindowIcon(QIcon(renderSvg(":/art/icon.svg", QSize(32, 32), devicePixelRatioF())));
    m_timer.setInterval(500);
    connect(&m_timer, &QTimer::timeout, this, [this] { m_tavola.Timer1_Timer(); });
    // The end time is otherwise set only with the mouse: F2 anywhere asks for it too.
    auto* endTimeKey = new QShortcut(QKeySequence(Qt::Key_F2), this);
    connect(endTimeKey, &QShortcut::activated, this, [this] { m_tavola.Form_Click(); });
}

TavolaWindow::~TavolaWindow() = default;

void TavolaWindow::start()
{
    load();
    show();
    activateWindow();
}

void TavolaWindow::load()
{
    m_controls = buildControls();
    setCentralWidget(m_controls.surface);
    buildMenuBar();
    auto* answer = m_controls.get<AnswerBox>("txtAnswer");
    answer->setKeyHandler([this](std::int16_t& key) { m_tavola.txtAnswer_KeyPress(key); });
    connect(m_controls.get<QPushButton>("cmdNext"), &QPushButton::clicked, this, [this] { m_tavola.cmdNext_Click(); });
    connect(m_controls.get<QPushButton>("cmdExit"), &QPushButton::clicked, this, [this] { m_tavola.cmdExit_Click(); });
    connect(qobject_cast<Surface*>(m_controls.surface), &Surface::clicked, this, [this] { m_tavola.Form_Click(); });
    m_controls.byName.value("cmdExit")->setFocus(Qt::OtherFocusReason);
    m_tavola.Form_Load();
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
    for (QMenu* menu : menuBar()->findChildren<QMenu*>(Qt::FindDirectChildrenOnly))
        menu->deleteLater();
}

// The answer box is named after the problem it waits for, so a screen reader
// reads the new problem as the box takes the focus.
void TavolaWindow::announceProblem()
{
    auto* box = m_controls.get<QLineEdit>("txtAnswer");
    const QString first = m_controls.get<QLabel>("lblNum1")->text();
    const QString second = m_controls.get<QLabel>("lblNum2")->text();
    box->setAccessibleName(QString::fromUtf8("Quanto fa %1 meno %2?").arg(first, second));
    QAccessibleEvent changed(box, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}

QWidget* TavolaWindow::widgetFor(Control control) const { return m_controls.byName.value(controlName(control)); }

void TavolaWindow::buildMenuBar()
{
    QMenuBar* bar = menuBar();
    QMenu* info = bar->addMenu(QString::fromUtf8("Tavola, il gioco delle sottrazioni"));
    info->setObjectName("INFOMAZIONI");
    QMenu* hello = info->addMenu(QString::fromUtf8("Contatti: chiedi al tuo insegnante"));
    hello->setObjectName("Ciao");
    hello->addAction(QString::fromUtf8(
        "Se vuoi attivare il timer per determinare la durata del gioco clicca sotto l'orologio"))->setObjectName("Tmer");
    QMenu* next = info->addMenu("nuovo");
    next->setObjectName("Next");
    QMenu* web = next->addMenu(QString::fromUtf8("Sito: nessuno, Tavola funziona senza rete"));
    web->setObjectName("web");
    web->addAction(QString::fromUtf8("Altri giochi gratuiti per la scuola? Chiedi in classe!"))->setObjectName("free");
    // A modal box opened from inside the menu's own show would crash Qt 6.4:
    // wait until the menu has finished showing, close the menus, then ask.
    connect(next, &QMenu::aboutToShow, this, [this] {
        if (m_newGameQueued)
            return;
        m_newGameQueued = true;
        QTimer::singleShot(0, this, [this] { openNewGameMenu(); });
    });
}

void TavolaWindow::openNewGameMenu()
{
    m_newGameQueued = false;
    while (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    m_tavola.Next_Click();
}

bool TavolaWindow::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate) {
        const bool handled = QMainWindow::event(event);
        m_tavola.windowActivated();
        return handled;
    }
    return QMainWindow::event(event);
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
