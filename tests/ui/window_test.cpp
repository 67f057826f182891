#include <QAccessible>
#include <QClipboard>
#include <QContextMenuEvent>
#include <cmath>
#include <deque>
#include <memory>
#include <optional>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QPainter>
#include <QScreen>
#include <QSvgRenderer>
#include <QTest>
#include <QBackingStore>
#include <qpa/qplatformbackingstore.h>
#include <QToolTip>

#include "support/modal.h"
#include "ui/application.h"
#include "ui/qt_services.h"
#include "ui/tavola_window.h"

using namespace tavola;
using namespace tavola::testing;

namespace {

// Real boxes and clock; the exit is recorded instead of ending the test run,
// and a test may script the random values of the next draw.
class RecordingServices : public QtServices {
public:
    void end() override { ++ends; }
    double nextRandom() override
    {
        if (randoms.empty())
            return QtServices::nextRandom();
        const double value = randoms.front();
        randoms.pop_front();
        return value;
    }
    int ends = 0;
    std::deque<double> randoms;
};

// A drawing of ours as the pupil should see it, over `back`: drawn here from
// its SVG source by Qt Svg, at `ratio` device pixels per logical pixel and
// clipped to `logical`.
QImage drawnFromSource(const char* name, QSize logical, qreal ratio, const QColor& back)
{
    QSvgRenderer svg(QStringLiteral(TAVOLA_ART "/%1.svg").arg(name));
    QImage image((QSizeF(logical) * ratio).toSize(), QImage::Format_RGB32);
    image.fill(back);
    QPainter painter(&image);
    svg.render(&painter, QRectF(QPointF(), QSizeF(svg.defaultSize()) * ratio));
    return image;
}

// The share of the pixels of `wanted` that differ from `shown` at `at` by more
// than `tolerance` in a channel; counting stops once it passes `limit`.
double mismatch(const QImage& shown, QPoint at, const QImage& wanted, int tolerance, double limit = 1)
{
    if (!shown.rect().contains(QRect(at, wanted.size())))
        return 1;
    const int pixels = wanted.width() * wanted.height();
    int differing = 0;
    for (int y = 0; y < wanted.height() && differing <= limit * pixels; ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(shown.constScanLine(at.y() + y)) + at.x();
        const auto* b = reinterpret_cast<const QRgb*>(wanted.constScanLine(y));
        for (int x = 0; x < wanted.width(); ++x)
            differing += std::max({std::abs(qRed(a[x]) - qRed(b[x])), std::abs(qGreen(a[x]) - qGreen(b[x])),
                                   std::abs(qBlue(a[x]) - qBlue(b[x]))}) > tolerance;
    }
    return double(differing) / pixels;
}
// Where in `shown` the drawing `wanted` fits best, at any device pixel, and
// how well, when it fits within `limit`.
std::optional<QPoint> bestFit(const QImage& shown, const QImage& wanted, int tolerance, double limit)
{
    std::optional<QPoint> best;
    for (int y = 0; y + wanted.height() <= shown.height(); ++y)
        for (int x = 0; x + wanted.width() <= shown.width(); ++x)
            if (const double off = mismatch(shown, {x, y}, wanted, tolerance, limit); off < limit)
                best = QPoint(x, y), limit = off;
    return best;
}

QPushButton* buttonWithText(QWidget* box, const QString& text)
{
    for (auto* button : box->findChildren<QPushButton*>())
        if (button->text().remove('&') == text)
            return button;
    return nullptr;
}

// A box as the pupil and the desktop meet it: its title, its buttons (the
// default one starred), its icon, and whether it is a modal box of `window`.
QString described(QWidget* box, const QWidget* window)
{
    QStringList buttons;
    for (auto* button : box->findChildren<QPushButton*>())
        buttons << button->text().remove('&') + (button->isDefault() ? "*" : "");
    buttons.sort();
    const char* const icons[] = {"", "information", "warning", "critical", "question"};
    const auto* message = qobject_cast<QMessageBox*>(box);
    const bool over = box->isModal() && box->windowHandle()->transientParent() == window->windowHandle();
    return QStringList{box->windowTitle(), buttons.join(' '), message ? icons[message->icon()] : "",
                       over ? "" : "not over the window"}
        .join('|');
}

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT

private:
    RecordingServices* m_services = nullptr;
    TavolaWindow* m_window = nullptr;

    template <typename T = QWidget>
    T* control(const char* name) const
    {
        return m_window->controls().surface->findChild<T*>(name, Qt::FindDirectChildrenOnly);
    }
    QString text(const char* name) const
    {
        if (auto* label = control<QLabel>(name))
            return label->text();
        if (auto* button = control<QAbstractButton>(name))
            return button->text();
        return control<QLineEdit>(name)->text();
    }
    int expected() const { return m_window->game().state().expectedAnswer; }
    // What the screen shows of a control, read back from the window once the
    // event loop has run: not a fresh paint of the control.
    QImage shown(const QWidget* widget) const
    {
        QCoreApplication::processEvents();
        // The offscreen platform's grab clips a scaled window to its logical
        // size; what it shows is its backing store, whole.
        const QImage window = QGuiApplication::platformName() == "offscreen"
            ? m_window->backingStore()->handle()->toImage()
            : m_window->screen()->grabWindow(m_window->winId(), 0, 0, m_window->width(), m_window->height()).toImage();
        const qreal ratio = m_window->devicePixelRatioF();
        const QRect part(widget->mapTo(m_window, QPoint()) * ratio, widget->size() * ratio);
        return window.copy(part).convertToFormat(QImage::Format_RGB32);
    }
    // The tint in the surface's bottom-right corner, where no control lies.
    QColor tint() const
    {
        const QImage surface = shown(m_window->controls().surface);
        return surface.pixelColor(surface.width() - 2, surface.height() - 2);
    }
    void answer(const QString& typed)
    {
        QTest::keyClicks(control("txtAnswer"), typed);
        QTest::keyClick(control("txtAnswer"), Qt::Key_Return);
    }
    // Whether `act` opens a box; a box it opens is closed at once.
    bool opensABox(const std::function<void()>& act)
    {
        auto asked = std::make_shared<bool>(false);
        whenModalOpens([asked](QWidget* box) { *asked = true, box->close(); }, 10);
        act();
        QTest::qWait(30);  // until the watch has given up
        return *asked;
    }
    // Waits for the first problem of a game to be on show.
    void waitForProblem()
    {
        QTRY_VERIFY(!text("lblNum1").isEmpty());
        QTRY_COMPARE(m_window->focusWidget(), control("txtAnswer"));
    }

private slots:
    void init()
    {
        m_services = new RecordingServices;
        m_window = new TavolaWindow(*m_services);
        m_services->setParentWindow(m_window);
        m_window->start();
        QVERIFY(QTest::qWaitForWindowActive(m_window));
        waitForProblem();
        // Moved while it runs to a second screen, of twice the pixels to the
        // inch, where there is one.
        if (const QList<QScreen*> screens = QGuiApplication::screens(); screens.size() > 1) {
            m_window->move(screens[1]->geometry().topLeft() + QPoint(40, 40));
            QTRY_COMPARE(m_window->devicePixelRatioF(), screens[1]->devicePixelRatio());
        }
    }

    void cleanup()
    {
        closeLeftoverModals();
        delete m_window;
        delete m_services;
    }

    void startShowsAProblemReadyForAnAnswer()
    {
        QCOMPARE(m_window->windowTitle(), QString("Vorlando"));
        QVERIFY(!control("cmdNext")->isEnabled());
        QCOMPARE(text("lblNum1").toInt() - text("lblNum2").toInt(), expected());
        // A = 1, B = -7 tints the whole client area (20, 140, 50).
        m_services->randoms = {0.01, 0.33, 0.9, 0.1};
        m_window->game().cmdNext_Click();
        QCOMPARE(text("lblNum1") + text("lblNum2"), QString("1-7"));
        QCOMPARE(control("txtAnswer")->accessibleName(), QString("1 meno, tra parentesi, meno 7?"));
        QCOMPARE(control("lblScore1")->accessibleDescription(), QString("risposte errate"));
        QTRY_COMPARE(tint(), QColor(20, 140, 50));
        QCOMPARE(m_window->centralWidget(), m_window->controls().surface);
        // Pictures read as images, by their names.
        for (const char* picture : {"Image1", "Picture1"})
            QCOMPARE(QAccessible::queryAccessibleInterface(control(picture))->role(), QAccessible::Graphic);
    }

    void typingEnterAndEnterAgainPlaysTheDrill()
    {
        QTest::keyClicks(control("txtAnswer"), QString("a +.") + QString::number(expected()));
        QCOMPARE(text("txtAnswer"), QString::number(expected()));
        QTest::keyClick(control("txtAnswer"), Qt::Key_Return);
        QCOMPARE(text("lblMessage"), QString::fromUtf8("Esatto, è incredibile!!!"));
        QCOMPARE(text("lblScore") + text("lblScore1") + text("lblScore2"), QString("101"));
        QVERIFY(control("cmdNext")->accessibleName().startsWith(QString::fromUtf8("Esatto, è incredibile! ")));
        QCOMPARE(QApplication::focusWidget(), control("cmdNext"));

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);  // the next problem
        QCOMPARE(QApplication::focusWidget(), control("txtAnswer"));
        QVERIFY(text("txtAnswer").isEmpty());
        QVERIFY(text("lblMessage").isEmpty());
        QVERIFY(!control("cmdNext")->isEnabled());

        const int right = expected();
        answer(QString::number(right + 1));
        QCOMPARE(text("lblMessage"), "Sbagliato!! " + QString::number(right));
        QTRY_COMPARE(tint(), QColor(Qt::black));
        QCOMPARE(text("lblScore") + text("lblScore1") + text("lblScore2"), QString("112"));
        // The next problem's tint replaces the black on screen: A = 20, B = 20.
        m_services->randoms = {0.99, 0.99, 0.9, 0.9};
        QTest::keyClick(control("cmdNext"), Qt::Key_Return);
        QTRY_COMPARE(tint(), QColor(255, 255, 255));
    }

    // The editing keys edit; Ctrl with a letter types nothing and runs no
    // shortcut, except Ctrl+H, which erases as Backspace does, and Ctrl+M,
    // which scores as Enter does.
    void editingKeysWorkAndTheBoxHoldsFourCharacters()
    {
        auto* box = control<QLineEdit>("txtAnswer");
        QApplication::clipboard()->setText("5");
        QTest::keyClicks(box, "12345");
        QCOMPARE(box->text(), QString("1234"));
        const struct {
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
            const char* shown;
        } steps[] = {
            {Qt::Key_Home, {}, "1234"}, {Qt::Key_Delete, {}, "234"}, {Qt::Key_End, {}, "234"},
            {Qt::Key_Backspace, {}, "23"}, {Qt::Key_Left, {}, "23"}, {Qt::Key_9, {}, "293"},
            {Qt::Key_Home, Qt::ShiftModifier, "293"}, {Qt::Key_Minus, {}, "-3"}, {Qt::Key_End, {}, "-3"},
            {Qt::Key_H, Qt::ControlModifier, "-"}, {Qt::Key_7, Qt::KeypadModifier, "-7"},
            {Qt::Key_Left, Qt::ShiftModifier, "-7"}, {Qt::Key_Delete, {}, "-"}, {Qt::Key_V, Qt::ControlModifier, "-"},
            {Qt::Key_7, {}, "-7"}, {Qt::Key_Z, Qt::ControlModifier, "-7"}, {Qt::Key_A, Qt::ControlModifier, "-7"},
            {Qt::Key_8, {}, "-78"}, {Qt::Key_Home, Qt::ShiftModifier, "-78"}, {Qt::Key_X, Qt::ControlModifier, "-78"},
            {Qt::Key_End, {}, "-78"}, {Qt::Key_Space, {}, "-78"}, {Qt::Key_5, Qt::AltModifier, "-78"},
        };
        for (const auto& step : steps) {
            QTest::keyClick(box, step.key, step.modifiers);
            QVERIFY2(box->text() == step.shown, qPrintable(QKeySequence(step.key | step.modifiers).toString()));
        }
        QCOMPARE(QApplication::clipboard()->text(), QString("5"));
        // Composed text goes through the same filter, up to the box's size.
        for (const auto& [composing, committed, shown] : {std::tuple{"4", "", "-78"}, {"", "a\u22129", "-789"},
                                                          {"", "5", "-789"}, {"", "\b", "-78"}}) {
            QInputMethodEvent composed(composing, {});
            composed.setCommitString(QString::fromUtf8(committed));
            QApplication::sendEvent(box, &composed);
            QCOMPARE(box->text(), QString(shown));
        }
        QTest::keyClick(box, Qt::Key_M, Qt::ControlModifier);
        QCOMPARE(text("lblScore2"), QString("1"));
        // A full box still scores.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::keyClicks(box, "12345");
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(text("lblScore2"), QString("2"));
    }

    void pastedTextIsScoredWithoutACrash()
    {
        QApplication::clipboard()->setText("9e99");
        // Pasted from the box's own menu, which speaks Italian.
        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
        QApplication::sendEvent(control("txtAnswer"), &rightClick);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        for (QAction* action : menu->actions())
            if (action->text().remove('&').startsWith("Incolla"))
                action->trigger();
        menu->close();
        QCOMPARE(text("txtAnswer"), QString("9e99"));
        QTest::keyClick(control("txtAnswer"), Qt::Key_Return);
        QCOMPARE(text("lblMessage"), "Sbagliato!! " + QString::number(expected()));
        QCOMPARE(text("lblScore1"), QString("1"));
    }

    void tabOrderSkipsDisabledControls()
    {
        QTest::keyClick(control("txtAnswer"), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), control("Command1"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);  // presses it: nothing happens
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(m_services->ends, 0);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), control("cmdExit"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), control("txtAnswer"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), control("cmdExit"));

        // Once an answer is scored the new-problem button is in the round too.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        answer("99");
        const QStringList wanted = {"txtAnswer", "Command1", "cmdExit", "cmdNext"};
        for (const QString& name : wanted) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), name);
        }
    }

    // Either Enter or Space presses a focused button, and Esc presses the
    // new-problem button wherever the focus is, while it is enabled. Enter
    // scores the answer, Space does not.
    void enterKeysAndEscPressTheButtons_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("Enter") << int(Qt::Key_Return) << int(Qt::NoModifier);
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
        QTest::newRow("Space") << int(Qt::Key_Space) << int(Qt::NoModifier);
    }
    void enterKeysAndEscPressTheButtons()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        auto press = [&](QWidget* widget) {
            QTest::keyClick(widget, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        };
        QTest::keyClicks(control("txtAnswer"), "99");
        press(control("txtAnswer"));
        QCOMPARE(text("txtAnswer") + text("lblScore2"), key == Qt::Key_Space ? QString("990") : QString("991"));
        if (key == Qt::Key_Space)
            QTest::keyClick(control("txtAnswer"), Qt::Key_Return);
        QCOMPARE(text("lblScore2"), QString("1"));
        QCOMPARE(QApplication::focusWidget(), control("cmdNext"));
        press(control("cmdNext"));
        QVERIFY(!control("cmdNext")->isEnabled());
        QVERIFY(text("lblMessage").isEmpty());

        const QString problem = text("lblNum1") + text("lblNum2");
        QTest::keyClick(control("txtAnswer"), Qt::Key_Escape);  // disabled: nothing
        QCOMPARE(text("lblNum1") + text("lblNum2"), problem);
        answer("99");
        control("txtAnswer")->setFocus();
        QTest::keyClick(control("txtAnswer"), Qt::Key_Escape);
        QVERIFY(!control("cmdNext")->isEnabled());
        QVERIFY(text("lblMessage").isEmpty());

        control("cmdExit")->setFocus();
        press(control("cmdExit"));
        QCOMPARE(m_services->ends, 1);
    }

    // Alt+N presses the new-problem button only while it is enabled, and
    // types nothing; Alt+X presses the exit button.
    void accessKeys()
    {
        QTest::keyClicks(control("txtAnswer"), "7");
        QTest::keyClick(control("txtAnswer"), Qt::Key_N, Qt::AltModifier);
        QCOMPARE(text("txtAnswer"), QString("7"));
        QTest::keyClick(control("txtAnswer"), Qt::Key_Return);
        QTest::keyClick(control("cmdNext"), Qt::Key_N, Qt::AltModifier);
        QTRY_VERIFY(text("lblMessage").isEmpty() && !control("cmdNext")->isEnabled());  // pressed as if clicked
        QTest::keyClick(control("txtAnswer"), Qt::Key_X, Qt::AltModifier);
        QTRY_COMPARE(m_services->ends, 1);
    }

    // Each label that sizes to its text keeps its left and top and takes the
    // size of every caption the game writes, wider or narrower, also when
    // only the digits change; the verdict keeps its size. The widest
    // operands reach under the tiles, which stay in front.
    void labelsSizeToTheirCaptions()
    {
        const char* const sizing[] = {"lblNum1", "lblNum2", "lblScore", "lblScore1", "lblScore2", "lblTime"};
        QHash<QString, QPoint> places;
        for (const char* name : sizing)
            places[name] = control(name)->pos();
        const auto misfits = [&] {
            QStringList wrong;
            for (const char* name : sizing)
                if (auto* label = control<QLabel>(name); label->pos() != places[name] || label->size() != label->sizeHint())
                    wrong << QString("%1 '%2'").arg(name, label->text());
            return wrong.join(", ");
        };
        // -20 - (-20), then -1 - 1, then 15 - 1: as long as -1, but wider.
        for (const auto& randoms : {std::deque{0.99, 0.99, 0.1, 0.1}, {0.01, 0.01, 0.1, 0.9}, {0.72, 0.01, 0.9, 0.9}}) {
            m_services->randoms = randoms;
            m_window->game().cmdNext_Click();
            QCOMPARE(misfits(), QString());
            if (text("lblNum1") == "-20") {
                auto* surface = m_window->controls().surface;
                for (const auto& [number, tile] : {std::pair{"lblNum1", "Label2"}, {"lblNum2", "Label7"}}) {
                    const QRect under = control(number)->geometry() & control(tile)->geometry();
                    QVERIFY(!under.isEmpty());
                    QCOMPARE(surface->childAt(under.center()), control(tile));
                }
            }
        }
        QCOMPARE(text("lblNum1") + text("lblNum2"), QString("151"));
        // Counters to two digits, and the clock.
        for (int round = 0; round < 20; ++round) {
            answer(QString::number(round < 10 ? expected() : expected() + 1));
            QCOMPARE(control("lblMessage")->size(), QSize(441, 41));
            QTest::keyClick(control("cmdNext"), Qt::Key_Return);
        }
        m_window->game().Timer1_Timer();
        QCOMPARE(text("lblScore") + text("lblScore1") + text("lblScore2"), QString("101020"));
        QCOMPARE(misfits(), QString());
        // The plain button hides behind the new-problem button.
        QCOMPARE(m_window->controls().surface->childAt(control("Command1")->geometry().center()), control("cmdNext"));
    }

private:
    // Every control as the layout was drawn: its place in twips (15 to a
    // pixel; a label that sizes to its text keeps only its left and top), its
    // caption, font, colours, tooltip (as the resting pointer shows it) and
    // pointer. Checked at start and after a new game.
    void checkControlsAsDrawn()
    {
        enum Pointer { own, icon, arrow, ibeam };
        struct Row {
            const char* name;
            int left, top, width, height;  // width 0: sizes to its text
            const char* caption;           // nullptr: written anew for each problem or tick
            const char* family;            // nullptr: a picture, no text
            double points;
            const char* style;
            QColor text, back;  // invalid: the standard colour, or a transparent label
            const char* tooltip;
            Pointer pointer;
        };
        const QColor black(0, 0, 0), blue(0, 0, 255), red(255, 0, 0), green(0, 192, 0), cyan(0, 255, 255),
            lightCyan(128, 255, 255), purple(192, 0, 192), magenta(255, 0, 255);
        // The faces as they resolve: the free faces of the layout's Windows ones.
        const char* const sans = "Liberation Sans";
        const char* const serif = "Liberation Serif";
        const Row rows[] = {
            {"Picture1", 9600, 5520, 5490, 855, nullptr, nullptr, 0, "", {}, magenta, "", arrow},
            {"txtAnswer", 8160, 120, 2775, 1200, "", sans, 48, "bold", {}, cyan,
             "Inserisci il risultato e  premi il tasto  Invio", ibeam},
            {"cmdNext", 4320, 6120, 1815, 1095, "&Nuovo calcolo", sans, 8.25, "bold", {}, cyan, "Go", icon},
            {"cmdExit", 9600, 4080, 1575, 1095, "E&xit", sans, 8.25, "bold", {}, purple,
             "Ti prego resta ancora, forse riuscirai a farmi uscire ", arrow},
            {"Command1", 4800, 6360, 855, 615, "Command1", sans, 8.25, "", {}, {}, "", arrow},
            {"Label7", 5160, -120, 615, 1575, ")", sans, 72, "bold", black, {}, "", own},
            {"Label5", 3120, -120, 495, 1575, "(", sans, 72, "bold", black, {}, "", own},
            {"Label3", 7440, 3360, 0, 0, "Risposte totali", sans, 18, "", blue, {}, "", own},
            {"Label1", 3840, 3360, 0, 0, "Risposte errate", sans, 18, "", red, {}, "", own},
            {"lblScore2", 8310, 4080, 0, 0, "0", serif, 36, "bold", blue, {}, "", own},
            {"lblScore1", 4830, 4080, 0, 0, "0", serif, 36, "bold", red, {}, "", own},
            {"Image1", 7560, 1320, 480, 480, nullptr, nullptr, 0, "", {}, {},
             "Clicca sotto di me per impostare il Timer", own},
            {"lblTime", 8400, 1800, 0, 0, nullptr, sans, 12, "bold", {}, {},
             "Clicca sotto di me per attivare il Timer", own},
            {"lblNum2", 4200, 240, 0, 0, nullptr, sans, 48, "bold", {}, cyan, "", own},
            {"Label4", 6240, 360, 615, 975, "=", sans, 48, "bold", {}, lightCyan, "", own},
            {"Label2", 2160, 360, 615, 975, "-", sans, 48, "", {}, lightCyan, "", own},
            {"lblNum1", 840, 240, 0, 0, nullptr, sans, 48, "bold", {}, cyan, "", own},
            {"lblScore", 1080, 4080, 0, 0, "0", serif, 36, "bold", {}, {},
             "Questo è il tuo punteggio. Forza con il  record", own},
            {"lblMessage", 1680, 2040, 6615, 615, "", sans, 24, "bold italic", red, {}, "", icon},
            {"Label6", 240, 3360, 0, 0, "Risposte esatte", sans, 18, "", green, {}, "", own},
        };
        // The texts set to the left, the rest centred.
        const QStringList left = {"txtAnswer", "Label7", "Label5", "Label3", "Label1", "lblTime"};
        QCOMPARE(m_window->controls().all.size(), qsizetype(std::size(rows)));
        for (const Row& row : rows) {
            QWidget* widget = control(row.name);
            const QRect at = widget->geometry();
            QCOMPARE(QPoint(at.x() * 15, at.y() * 15), QPoint(row.left, row.top));
            if (row.width)
                QCOMPARE(QSize(at.width() * 15, at.height() * 15), QSize(row.width, row.height));
            else
                QCOMPARE(at.size(), widget->sizeHint());
            QVERIFY2(widget->isVisible(), row.name);
            QCOMPARE(widget->isEnabled(), row.name != QString("Picture1") && row.name != QString("cmdNext"));
            if (row.caption)
                QCOMPARE(text(row.name), QString::fromUtf8(row.caption));
            if (row.family) {
                const QFont font = widget->font();
                QCOMPARE(QFontInfo(font).family(), QString(row.family));
                QCOMPARE(font.pointSizeF(), row.points);
                QCOMPARE(font.bold(), QByteArray(row.style).contains("bold"));
                QCOMPARE(font.italic(), QByteArray(row.style).contains("italic"));
            }
            const auto* label = qobject_cast<QLabel*>(widget);
            const auto* entry = qobject_cast<QLineEdit*>(widget);
            if (label || entry)
                QCOMPARE((label ? label->alignment() : entry->alignment()) & Qt::AlignHorizontal_Mask,
                         left.contains(row.name) ? Qt::AlignLeft : Qt::AlignHCenter);
            // The roles a label, the answer box and a button are drawn with.
            const bool box = qobject_cast<QLineEdit*>(widget), button = qobject_cast<QAbstractButton*>(widget);
            const auto textRole = box ? QPalette::Text : button ? QPalette::ButtonText : QPalette::WindowText;
            const auto backRole = box ? QPalette::Base : button ? QPalette::Button : QPalette::Window;
            // The standard colours are a light desktop's, whatever this one's.
            if (row.family)
                QCOMPARE(widget->palette().color(QPalette::Active, textRole), row.text.isValid() ? row.text : black);
            if (box || button)
                QCOMPARE(widget->palette().color(QPalette::Active, backRole),
                         row.back.isValid() ? row.back : QColor(0xef, 0xef, 0xef));
            else
                QCOMPARE(widget->autoFillBackground() ? widget->palette().color(backRole) : QColor(), row.back);
            QCOMPARE(widget->toolTip(), QString::fromUtf8(row.tooltip));
            if (*row.tooltip) {
                const QPoint rest(2, 2);
                QHelpEvent help(QEvent::ToolTip, rest, widget->mapToGlobal(rest));
                QApplication::sendEvent(widget, &help);
                QTRY_COMPARE(QToolTip::text(), QString::fromUtf8(row.tooltip));
                QToolTip::hideText();
            }
            // The icon shape is a square within a square, held at its centre;
            // the window's own pointer by the fingertip at its top left.
            const QCursor pointer = widget->cursor();
            if (row.pointer >= arrow)
                QCOMPARE(pointer.shape(), row.pointer == arrow ? Qt::ArrowCursor : Qt::IBeamCursor);
            else
                QCOMPARE(pointer.hotSpot(), row.pointer == icon ? QPoint(16, 16) : QPoint(2, 2));
        }
        // The menu bar, entry by entry, as written.
        QStringList menus;
        for (const QAction* title : m_window->menuBar()->actions())
            menus << title->text();
        for (const QMenu* menu : m_window->menuBar()->findChildren<QMenu*>(QRegularExpression(".")))
            for (const QAction* action : menu->actions())
                menus << menu->objectName() + ": " + action->text();
        menus.sort();
        QCOMPARE(menus, (QStringList{
                            "Ciao: Se vuoi attivare il timer per determinare la durata del gioco clicca sotto l'orologio",
                            "INFOMAZIONI: Contatti: chiedi al tuo insegnante",
                            "INFOMAZIONI: nuovo",
                            "Next: Sito: nessuno, Tavola funziona senza rete",
                            "Tavola, il gioco delle sottrazioni",
                            "web: Altri giochi gratuiti per la scuola? Chiedi in classe!",
                        }));
    }

private slots:
    void controlsAreAsDrawn() { checkControlsAsDrawn(); }

    // Each picture on screen is its drawing, at the screen's pixel ratio; the
    // new-problem button shows its three faces: open while disabled, smiling
    // at rest, straight while pressed.
    void picturesAsShown()
    {
        const qreal ratio = m_window->devicePixelRatioF();
        // At one or two device pixels to a logical one the drawing is shown
        // exactly; scaled from the 2x drawing, fine lines blur a little, and
        // the robot has the most of them.
        const bool whole = ratio == std::round(ratio);
        const int tolerance = whole ? 8 : 48;
        // Whether `drawing` is on show in `widget` with its top left at `place`
        // (logical): found at any device pixel, it must be there exactly at a
        // whole ratio, and within a device pixel at another.
        const auto shownAt = [&](QWidget* widget, const char* drawing, QSize size, const QColor& back, QPoint place,
                                 double blur) {
            const QPoint origin = widget->mapTo(m_window, QPoint());
            const QPointF wanted = QPointF(origin + place) * ratio - QPointF(origin * ratio);
            const auto found =
                bestFit(shown(widget), drawnFromSource(drawing, size, ratio, back), tolerance, whole ? 0.001 : blur);
            if (!found)
                return QString("%1 nowhere").arg(drawing);
            const QPointF off = QPointF(*found) - wanted;
            if (std::max(std::abs(off.x()), std::abs(off.y())) > (whole ? 0 : 1))
                return QString("%1 at (%2, %3), not (%4, %5)")
                    .arg(drawing).arg(found->x()).arg(found->y()).arg(wanted.x()).arg(wanted.y());
            return QString(drawing);
        };
        m_services->randoms = {0.01, 0.33, 0.9, 0.1};  // the tint (20, 140, 50)
        m_window->game().cmdNext_Click();
        QTRY_COMPARE(tint(), QColor(20, 140, 50));
        // At the top left, inside the frame where there is one; the robot is
        // cut off at the box's bottom.
        QCOMPARE(shownAt(control("Image1"), "alarm_clock", {32, 32}, {20, 140, 50}, {0, 0}, 0.02), QString("alarm_clock"));
        QCOMPARE(shownAt(control("Picture1"), "robot", {55, 53}, {255, 0, 255}, {2, 2}, 0.1), QString("robot"));
        // Centred above the caption on the buttons, one pixel in while pressed.
        QCOMPARE(shownAt(control("cmdExit"), "no_entry", {32, 32}, {192, 0, 192}, {36, 12}, 0.03), QString("no_entry"));
        auto* next = control<QPushButton>("cmdNext");
        const auto face = [&](QPoint place) {
            for (const char* name : {"face_open", "face_smile", "face_straight"})
                if (shownAt(next, name, {32, 32}, {0, 255, 255}, place, 0.03) == name)
                    return QString(name);
            return QString("none at (%1, %2)").arg(place.x()).arg(place.y());
        };
        const QPoint rest(44, 12), pressed(45, 13);
        QCOMPARE(face(rest), QString("face_open"));
        answer("99");
        QCOMPARE(face(rest), QString("face_smile"));
        QTest::mousePress(next, Qt::LeftButton);
        QCOMPARE(face(pressed), QString("face_straight"));
        QTest::mouseRelease(next, Qt::LeftButton, {}, QPoint(-5, -5));  // off the button: no click
        QCOMPARE(face(rest), QString("face_smile"));
        QVERIFY(next->isEnabled());

        // What the desktop shows of the window: its icon and its pointer.
        const auto over = [](const QPixmap& picture, const QColor& back) {
            QImage image(picture.size(), QImage::Format_RGB32);
            image.fill(back);
            QPainter(&image).drawPixmap(image.rect(), picture);  // pixel for pixel
            return image;
        };
        const QPixmap icon = m_window->windowIcon().pixmap(QSize(32, 32), ratio);
        QCOMPARE(mismatch(over(icon, Qt::white), {}, drawnFromSource("icon", {32, 32}, ratio, Qt::white), tolerance) <
                     (whole ? 0.001 : 0.03), true);
        const QPixmap pointer = m_window->controls().surface->cursor().pixmap();
        QCOMPARE(mismatch(over(pointer, Qt::white), {}, drawnFromSource("pointer", {32, 32}, ratio, Qt::white),
                          tolerance) < (whole ? 0.001 : 0.03), true);
    }

    // The answer box's frame shows whether it has the focus; bordered labels
    // are sunken, lit from the top left.
    void framesAndBordersAsDrawn()
    {
        auto* box = control("txtAnswer");
        const auto edge = [&] {
            const QImage frame = shown(box);
            // Away from the caret, which blinks at the left.
            return QList<QRgb>{frame.pixel(frame.width() - 1, frame.height() / 2), frame.pixel(frame.width() / 2, 0),
                               frame.pixel(frame.width() / 2, 1)};
        };
        const QList<QRgb> focused = edge();
        answer("99");  // the focus moves to the new-problem button
        QTRY_VERIFY(!box->hasFocus());
        QVERIFY(edge() != focused);
        QVERIFY(QColor(edge()[0]) != QColor(0, 255, 255));  // a frame, not the bare box
        for (const char* name : {"lblScore", "lblNum1", "Label6"}) {
            const QImage label = shown(control(name));
            const int middle = label.height() / 2;
            QVERIFY2(qGray(label.pixel(0, middle)) < qGray(label.pixel(label.width() - 1, middle)), name);
            QVERIFY2(qGray(label.pixel(label.width() / 2, 0)) < qGray(label.pixel(label.width() / 2, label.height() - 1)),
                     name);
        }
    }

    // Over the new-problem button the pointer is the icon shape whatever its
    // state; over the disabled robot it is the arrow; elsewhere the window's own.
    void pointersFollowTheControlsWhateverTheirState()
    {
        QWidget* surface = m_window->controls().surface;
        const QImage own = surface->cursor().pixmap().toImage();
        const QImage icon = control("cmdNext")->cursor().pixmap().toImage();
        QTest::mouseMove(surface, control("cmdNext")->geometry().center());  // disabled
        QTRY_COMPARE(surface->cursor().pixmap().toImage(), icon);
        QTest::mouseMove(surface, control("Picture1")->geometry().topLeft() + QPoint(10, 10));
        QTRY_COMPARE(surface->cursor().shape(), Qt::ArrowCursor);
        QTest::mouseMove(surface, QPoint(600, 520));
        QTRY_COMPARE(surface->cursor().pixmap().toImage(), own);
    }

    // The background and the surface that answers a click are the whole
    // client area at any size, and the window may be smaller than the layout.
    void theSurfaceIsTheWholeClientAreaAtAnySize()
    {
        m_window->resize(1400, 900);
        QTRY_COMPARE(m_window->width(), 1400);
        QWidget* surface = m_window->controls().surface;
        QCOMPARE(surface->geometry(), m_window->centralWidget()->geometry());
        QCOMPARE(surface->width(), 1400);
        answer("99");
        QCOMPARE(tint(), QColor(Qt::black));
        bool asked = false;
        whenModalOpens([&](QWidget* box) {
            asked = true;
            qobject_cast<QInputDialog*>(box)->reject();
        });
        QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(1390, surface->height() - 5));
        QVERIFY(asked);

        m_window->resize(320, 240);
        QTRY_COMPARE(m_window->size(), QSize(320, 240));
    }

    // Minimised, the title tells the time; restored, the name again. A new
    // game brings a minimised window back as it was before, maximised or
    // not, and keeps the size the pupil gave it.
    void windowStatesAndANewGame()
    {
        const auto newGame = [&] {
            whenModalOpens([](QWidget* box) { buttonWithText(box, QString::fromUtf8("Sì"))->click(); });
            m_window->game().Next_Click();
            waitForProblem();
        };
        m_window->resize(900, 640);
        QTRY_COMPARE(m_window->size(), QSize(900, 640));
        m_window->showMinimized();
        QTRY_VERIFY(readTimeValue(m_window->windowTitle().toStdString()).has_value());
        m_window->showNormal();
        QTRY_COMPARE(m_window->windowTitle(), QString("Vorlando"));
        newGame();
        QCOMPARE(m_window->size(), QSize(900, 640));
        m_window->showMinimized();
        QTRY_VERIFY(m_window->isMinimized());
        newGame();
        QTRY_COMPARE(m_window->windowState(), Qt::WindowNoState);
        QCOMPARE(m_window->windowTitle(), QString("Vorlando"));
        QCOMPARE(m_window->size(), QSize(900, 640));

        m_window->showMaximized();
        QTRY_VERIFY(m_window->isMaximized() && m_window->size() != QSize(900, 640));
        const QSize maximised = m_window->size();
        newGame();
        QCOMPARE(m_window->windowState(), Qt::WindowMaximized);
        m_window->showMinimized();  // from maximised
        QTRY_VERIFY(readTimeValue(m_window->windowTitle().toStdString()).has_value());
        newGame();
        QTRY_COMPARE(m_window->windowState(), Qt::WindowMaximized);
        QCOMPARE(m_window->windowTitle(), QString("Vorlando"));
        QTRY_COMPARE(m_window->size(), maximised);
        m_window->game().Timer1_Timer();
        QVERIFY(readTimeValue(text("lblTime").toStdString()).has_value());
    }

    void newGameAnsweredNoChangesNothing()
    {
        QTest::keyClicks(control("txtAnswer"), "12");
        const QString problem = text("lblNum1") + text("lblNum2");
        QString prompt, name;
        // Enter presses the default button, No; Esc presses No as well.
        for (const auto key : {Qt::Key_Return, Qt::Key_Escape}) {
            whenModalOpens([&](QWidget* box) {
                prompt = qobject_cast<QMessageBox*>(box)->text();
                name = box->accessibleName();
                QVERIFY(buttonWithText(box, QString::fromUtf8("Sì")));
                QTest::keyClick(box, key);
            });
            m_window->game().Next_Click();
        }
        QCOMPARE(prompt, QString("INIZIAMO UNA NUOVA GARA  ?"));
        QCOMPARE(name, "INIZIARE NUOVA GARA. " + prompt);  // what a braille display shows
        QCoreApplication::processEvents();  // anything queued by the answer
        QCOMPARE(text("txtAnswer"), QString("12"));
        QCOMPARE(text("lblNum1") + text("lblNum2"), problem);
        QCOMPARE(m_window->focusWidget(), control("txtAnswer"));

        // Away to another program and back: the game goes on where it was.
        QWidget other;
        other.show();
        other.activateWindow();
        QTRY_VERIFY(other.isActiveWindow());
        other.close();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window));
        QCoreApplication::processEvents();
        QCOMPARE(text("txtAnswer") + " " + text("lblNum1") + text("lblNum2"), "12 " + problem);
        QCOMPARE(QApplication::focusWidget(), control("txtAnswer"));
    }

    void newGameAnsweredYesRebuildsEverythingAsAtStart()
    {
        whenModalOpens([](QWidget* box) {
            qobject_cast<QInputDialog*>(box)->setTextValue("23.59");
            qobject_cast<QInputDialog*>(box)->accept();
        });
        QTest::mouseClick(m_window->controls().surface, Qt::LeftButton, {}, QPoint(600, 520));
        answer(QString::number(expected()));
        QTest::keyClick(control("cmdNext"), Qt::Key_Return);
        answer("99");
        QTest::keyClicks(control("txtAnswer"), "7");  // left in the box: the new game must empty it

        whenModalOpens([](QWidget* box) { buttonWithText(box, QString::fromUtf8("Sì"))->click(); });
        m_window->game().Next_Click();
        waitForProblem();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the old menus
        checkControlsAsDrawn();
        QCOMPARE(m_window->game().state().correctCount + m_window->game().state().wrongCount, 0);
        QCOMPARE(std::get<std::string>(m_window->game().state().endTime), std::string());
    }

    void bareSurfaceClickAsksForTheEndTime()
    {
        m_services->randoms = {0.01, 0.33, 0.9, 0.1};  // 1 - (-7)
        m_window->game().cmdNext_Click();
        const QString question = "1 meno, tra parentesi, meno 7?";
        QString title, prompt, shownAgain;
        // Typed and confirmed with Enter, then changed in the same problem:
        // only the last confirmation stays beside the problem.
        for (const char* entry : {"14.22", "15.00"}) {
            whenModalOpens([&](QWidget* box) {
                auto* dialog = qobject_cast<QInputDialog*>(box);
                QVERIFY(buttonWithText(box, "OK") && buttonWithText(box, "Annulla"));  // Italian whatever the locale
                title = dialog->windowTitle();
                prompt = dialog->labelText();
                shownAgain = dialog->textValue();
                // Clicks and F2 on the window behind the box ask nothing more.
                QTest::mouseClick(m_window->controls().surface, Qt::LeftButton, {}, QPoint(600, 520));
                QTest::keyClick(m_window, Qt::Key_F2);
                QCOMPARE(QApplication::activeModalWidget(), box);
                dialog->setTextValue(entry);
                QTest::keyClick(box, Qt::Key_Return);
            });
            QTest::mouseClick(m_window->controls().surface, Qt::LeftButton, {}, QPoint(600, 520));
        }
        QCOMPARE(title, QString("Il gioco termina alle ore"));
        QCOMPARE(prompt, QString("Immettere l'orario di fine  gioco"));
        QCOMPARE(shownAgain, QString("14:22:00"));
        QCOMPARE(std::get<TimeValue>(m_window->game().state().endTime), makeTime(15, 0, 0));
        // Confirmed beside the problem, where speech and braille take it from.
        QCOMPARE(control("txtAnswer")->accessibleName(), question + " Il gioco termina alle ore 15:00:00");

        // A click is the left button pressed and released on the bare
        // surface: not on a label, the clock or the robot, nor another button,
        // nor a press or release elsewhere.
        QWidget* surface = m_window->controls().surface;
        const QPoint bare(600, 520), off(-5, -5);
        const struct {
            const char* down;
            QPoint downAt;
            const char* up;
            QPoint upAt;
            Qt::MouseButton button;
        } presses[] = {
            {"lblMessage", {3, 3}, "lblMessage", {3, 3}, Qt::LeftButton},
            {"Image1", {3, 3}, "Image1", {3, 3}, Qt::LeftButton},
            {"Picture1", {3, 3}, "Picture1", {3, 3}, Qt::LeftButton},
            {"Label6", {3, 3}, "Label6", {3, 3}, Qt::LeftButton},
            {"Tavola", bare, "Tavola", bare, Qt::RightButton},
            {"Tavola", bare, "Tavola", bare, Qt::MiddleButton},
            {"Tavola", bare, "Tavola", off, Qt::LeftButton},
            {"Label6", {3, 3}, "Tavola", bare, Qt::LeftButton},
        };
        const auto widget = [&](const char* name) { return name == QString("Tavola") ? surface : control(name); };
        for (const auto& press : presses)
            QVERIFY2(!opensABox([&] {
                QTest::mousePress(widget(press.down), press.button, {}, press.downAt);
                QTest::mouseRelease(widget(press.up), press.button, {}, press.upAt);
            }), qPrintable(QString("%1 to %2, button %3").arg(press.down, press.up).arg(press.button)));

        // Esc cancels, which clears the end time.
        bool cancelled = false;
        whenModalOpens([&](QWidget* box) {
            QCOMPARE(qobject_cast<QInputDialog*>(box)->textValue(), QString("15:00:00"));
            cancelled = true;
            QTest::keyClick(box, Qt::Key_Escape);
        });
        QTest::mouseClick(m_window->controls().surface, Qt::LeftButton, {}, QPoint(600, 520));
        QVERIFY(cancelled);
        QCOMPARE(std::get<std::string>(m_window->game().state().endTime), std::string());
        // The next problem is named afresh, without the old confirmation.
        answer("99");
        m_services->randoms = {0.99, 0.99, 0.9, 0.9};  // 20 - 20
        QTest::keyClick(control("cmdNext"), Qt::Key_Return);
        QCOMPARE(control("txtAnswer")->accessibleName(), QString("20 meno, tra parentesi, 20?"));
        whenModalOpens([](QWidget* box) {
            qobject_cast<QInputDialog*>(box)->setTextValue("9.05");
            QTest::keyClick(box, Qt::Key_Enter, Qt::KeypadModifier);
        });
        QTest::mouseClick(m_window->controls().surface, Qt::LeftButton, {}, QPoint(600, 520));
        QCOMPARE(control("txtAnswer")->accessibleName(), "20 meno, tra parentesi, 20? Il gioco termina alle ore 09:05:00");
    }

    // An entry that reads as no time, blanks too, is explained and offered
    // again; an empty one clears the end time without a word.
    void invalidEndTimeIsExplainedAndKept()
    {
        QString offered, message;
        for (const char* entry : {"abc", "   ", ""}) {
            message.clear();
            whenModalOpens([&](QWidget* box) {
                offered = qobject_cast<QInputDialog*>(box)->textValue();
                qobject_cast<QInputDialog*>(box)->setTextValue(entry);
                QTest::keyClick(box, Qt::Key_Return);
                whenModalOpens([&](QWidget* next) {
                    message = described(next, m_window) + "|" + qobject_cast<QMessageBox*>(next)->text();
                    QTest::keyClick(next, Qt::Key_Return);
                }, 300);
            });
            QTest::mouseClick(m_window->controls().surface, Qt::LeftButton, {}, QPoint(600, 520));
            QTest::qWait(350);
            QCOMPARE(message, *entry ? QString::fromUtf8("Orario di esempio  14.22|OK*|||L'orario immesso non è valido.")
                                     : QString());
            QCOMPARE(std::get<std::string>(m_window->game().state().endTime), std::string(entry));
        }
        QCOMPARE(offered, QString("   "));
    }

    // Opening the submenu of "nuovo" asks first; after No the menu is open
    // again as the pupil left it and leads on to its entries.
    void newGameMenuAsksOnceAndNoReopensTheMenu_data()
    {
        QTest::addColumn<bool>("byMouse");
        QTest::newRow("keyboard") << false;
        QTest::newRow("mouse") << true;
    }
    void newGameMenuAsksOnceAndNoReopensTheMenu()
    {
        QFETCH(bool, byMouse);
        QTest::keyClicks(control("txtAnswer"), "3");
        int asked = 0;
        whenModalOpens([&](QWidget* box) {
            ++asked;
            QVERIFY(!QApplication::activePopupWidget());  // the menus closed first
            buttonWithText(box, "No")->click();
        });
        auto* info = m_window->menuBar()->findChild<QMenu*>("INFOMAZIONI");
        auto* next = info->findChild<QMenu*>("Next");
        auto* web = next->findChild<QMenu*>("web");
        m_window->menuBar()->setActiveAction(info->menuAction());
        QTRY_VERIFY(info->isVisible());
        if (byMouse) {
            QTest::mouseMove(info, info->actionGeometry(next->menuAction()).center());
        } else {
            info->setActiveAction(next->menuAction());
            QTest::keyClick(info, Qt::Key_Right);
        }
        QTRY_COMPARE(asked, 1);
        QTRY_VERIFY(next->isVisible());
        QCOMPARE(info->activeAction(), next->menuAction());
        QCoreApplication::processEvents();
        QCOMPARE(asked, 1);
        QTest::keyClick(next, Qt::Key_Down);
        QTest::keyClick(next, Qt::Key_Right);
        QTRY_VERIFY(web->isVisible());
        QCOMPARE(web->actions().first()->objectName(), QString("free"));
        QCOMPARE(asked, 1);
        while (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        QCOMPARE(text("txtAnswer"), QString("3"));
        QCOMPARE(info->findChild<QMenu*>("Ciao")->actions().first()->text(),
                 QString("Se vuoi attivare il timer per determinare la durata del gioco clicca sotto l'orologio"));
    }

    // Dated end times against the real clock: tomorrow's midnight is not
    // due, today's is, at once.
    void alarmRingsOnceWithRealTimerAndBoxes()
    {
        const QDate today = QDate::currentDate();
        QStringList entries = {today.addDays(1).toString("dd/MM/yyyy 0.00"), today.toString("dd/MM/yyyy 0.00")};
        QStringList seen;
        // Each box is answered after a second, so that ticks arrive while it is open.
        std::function<void(QWidget*)> answerLater = [&](QWidget* box) {
            seen << described(box, m_window);
            QTimer::singleShot(1200, box, [&, box] {
                if (auto* input = qobject_cast<QInputDialog*>(box)) {
                    input->setTextValue(entries.takeFirst());
                    input->accept();
                } else {
                    QTest::keyClick(box, Qt::Key_Return);  // OK, then No
                }
                if (seen.size() < 4)
                    whenModalOpens(answerLater);
            });
        };
        whenModalOpens(answerLater);
        QTest::keyClick(control("txtAnswer"), Qt::Key_F2);
        QTRY_VERIFY(seen.size() == 1 && !QApplication::activeModalWidget());
        QVERIFY(text("txtAnswer").isEmpty());  // F2 types nothing
        QTest::qWait(1200);  // ticks
        QTest::mouseClick(m_window->controls().surface, Qt::LeftButton, {}, QPoint(600, 520));
        QTRY_COMPARE_WITH_TIMEOUT(seen.size(), 4, 8000);
        QTRY_VERIFY(!QApplication::activeModalWidget());
        for (int tick = 0; tick < 3; ++tick)  // further ticks ring nothing more
            m_window->game().Timer1_Timer();
        const QString entry = "Il gioco termina alle ore|Annulla OK*||";
        QCOMPARE(seen, (QStringList{entry, entry, "Fine|OK*||", QString::fromUtf8("INIZIARE NUOVA GARA|No* Sì|question|")}));
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(m_window->game().alarmGiven());
    }

    // The clock shows the time of day whole, in a label as wide as its text,
    // and the current second, never the next one: the time comes in whole seconds.
    void clockLabelShowsTheTime()
    {
        m_window->timer().stop();
        m_window->game().Timer1_Timer();
        const QString shown = text("lblTime");
        const QTime time = QTime::fromString(shown, "HH:mm:ss");
        // The tests run five and a half hours east of Greenwich.
        const int late = (time.secsTo(QDateTime::currentDateTimeUtc().addSecs(19800).time()) + 86400) % 86400;
        QVERIFY2(time.isValid() && (late <= 1 || late == 86399), qPrintable(shown));
        auto* label = control<QLabel>("lblTime");
        QVERIFY(label->contentsRect().width() >= label->fontMetrics().horizontalAdvance(shown));
        for (int i = 0; i < 5; ++i) {
            const double seconds = m_services->now() * 86400.0;
            QVERIFY2(std::abs(seconds - std::round(seconds)) < 1e-3, qPrintable(QString::number(seconds, 'f', 3)));
            QTest::qSleep(7);
        }
    }

    // The boxes are wide enough for the desktop to show their titles whole.
    void boxTitlesFit()
    {
        QStringList narrow;
        auto measure = [&](QWidget* box) {
            QFont bold = box->font();
            bold.setBold(true);
            if (box->width() < QFontMetrics(bold).horizontalAdvance(box->windowTitle()) + 100)
                narrow << box->windowTitle();
        };
        whenModalOpens([&](QWidget* box) {
            measure(box);
            qobject_cast<QInputDialog*>(box)->setTextValue("abc");
            qobject_cast<QInputDialog*>(box)->accept();
            whenModalOpens([&](QWidget* next) {
                measure(next);
                QTest::keyClick(next, Qt::Key_Return);
            });
        });
        QTest::keyClick(control("txtAnswer"), Qt::Key_F2);
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QCOMPARE(narrow, QStringList());
    }
};

int main(int argc, char* argv[])
{
    qputenv("TZ", "XST-5:30");  // a zone that no machine's clock and UTC agree with
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    configureApplication();
    WindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "window_test.moc"
