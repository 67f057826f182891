#include "ui/layout.h"

#include <QAccessible>
#include <QCursor>
#include <QFontDatabase>
#include <QHash>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <array>

#include "ui/widgets.h"

namespace tavola {

namespace {

enum class Kind { label, textBox, pictureButton, plainButton, pictureBox, image };

struct Font {
    const char* family = "MS Sans Serif";
    double points = 8.25;
    bool bold = false;
    bool italic = false;
};

struct ControlEntry {
    const char* name;
    Kind kind;
    const char* caption;
    int left, top, width, height;  // twips
    int tabIndex;                  // -1: takes no focus
    Font font = {};
    QColor text = {};              // invalid: the standard colour
    QColor back = {};              // invalid: transparent (labels) or standard
    bool border = false;
    Qt::Alignment align = Qt::AlignLeft;
    bool autoSize = false;
    const char* tooltip = nullptr;
};

const QColor kBlack(0, 0, 0), kBlue(0, 0, 255), kRed(255, 0, 0), kGreen(0, 192, 0);
const QColor kCyan(0, 255, 255), kLightCyan(128, 255, 255), kPurple(192, 0, 192), kMagenta(255, 0, 255);

constexpr Font kBracket{"Arial", 72, true};
constexpr Font kCaption{"MS Sans Serif", 18};
constexpr Font kScore{"Times New Roman", 36, true};
constexpr Font kOperand{"Arial", 48, true};
constexpr Font kButton{"MS Sans Serif", 8.25, true};

// Front to back: the controls that are windows of their own first, then the
// labels and the image. Earlier rows cover later ones where they overlap.
const std::array kLayout = {
    ControlEntry{"Picture1", Kind::pictureBox, "", 9600, 5520, 5490, 855, 11, {}, {}, kMagenta, true},
    ControlEntry{"txtAnswer", Kind::textBox, "", 8160, 120, 2775, 1200, 8, kOperand, {}, kCyan, false, Qt::AlignLeft,
                false, "Inserisci il risultato e  premi il tasto  Invio"},
    ControlEntry{"cmdNext", Kind::pictureButton, "&Nuovo calcolo", 4320, 6120, 1815, 1095, 2, kButton, {}, kCyan,
                false, Qt::AlignCenter, false, "Go"},
    ControlEntry{"cmdExit", Kind::pictureButton, "E&xit", 9600, 4080, 1575, 1095, 0, kButton, {}, kPurple, false,
                Qt::AlignCenter, false, "Ti prego resta ancora, forse riuscirai a farmi uscire "},
    ControlEntry{"Command1", Kind::plainButton, "Command1", 4800, 6360, 855, 615, 16},
    ControlEntry{"Label7", Kind::label, ")", 5160, -120, 615, 1575, 18, kBracket, kBlack},
    ControlEntry{"Label5", Kind::label, "(", 3120, -120, 495, 1575, 17, kBracket, kBlack},
    ControlEntry{"Label3", Kind::label, "Risposte totali", 7440, 3360, 2340, 495, 15, kCaption, kBlue, {}, true,
                Qt::AlignLeft, true},
    ControlEntry{"Label1", Kind::label, "Risposte errate", 3840, 3360, 2520, 495, 14, kCaption, kRed, {}, true,
                Qt::AlignLeft, true},
    ControlEntry{"lblScore2", Kind::label, "0", 8310, 4080, 555, 885, 13, kScore, kBlue, {}, true, Qt::AlignCenter,
                true},
    ControlEntry{"lblScore1", Kind::label, "0", 4830, 4080, 540, 885, 3, kScore, kRed, {}, true, Qt::AlignCenter,
                true},
    ControlEntry{"Image1", Kind::image, "", 7560, 1320, 480, 480, -1, {}, {}, {}, false, Qt::AlignLeft, false,
                "Clicca sotto di me per impostare il Timer"},
    ControlEntry{"lblTime", Kind::label, "", 8400, 1800, 90, 300, 12, {"MS Sans Serif", 12, true}, {}, {}, false,
                Qt::AlignLeft, true, "Clicca sotto di me per attivare il Timer"},
    ControlEntry{"lblNum2", Kind::label, "", 4200, 240, 345, 1185, 10, kOperand, {}, kCyan, true, Qt::AlignCenter,
                true},
    ControlEntry{"Label4", Kind::label, "=", 6240, 360, 615, 975, 7, kOperand, {}, kLightCyan, false,
                Qt::AlignCenter},
    ControlEntry{"Label2", Kind::label, "-", 2160, 360, 615, 975, 6, {"Arial", 48, false}, {}, kLightCyan, false,
                Qt::AlignCenter},
    ControlEntry{"lblNum1", Kind::label, "", 840, 240, 345, 1185, 5, kOperand, {}, kCyan, true, Qt::AlignCenter,
                true},
    ControlEntry{"lblScore", Kind::label, "0", 1080, 4080, 555, 885, 4, kScore, {}, {}, true, Qt::AlignCenter, true,
                "Questo è il tuo punteggio. Forza con il  record"},
    ControlEntry{"lblMessage", Kind::label, "", 1680, 2040, 6615, 615, 1, {"MS Sans Serif", 24, true, true}, kRed, {},
                false, Qt::AlignCenter},
    ControlEntry{"Label6", Kind::label, "Risposte esatte", 240, 3360, 2565, 495, 9, kCaption, kGreen, {}, true,
                Qt::AlignCenter, true},
};

const char* const kAutoSizeProperty = "tavolaAutoSize";

// The face to ask for: the named one where it is installed, otherwise the
// first installed of its substitutes. Asking for an installed face directly
// spares the font matcher a search through every fallback at start-up.
QString installedFamily(const QString& family)
{
    static QHash<QString, QString> resolved;
    auto found = resolved.constFind(family);
    if (found != resolved.constEnd())
        return *found;
    QString face = family;
    if (!QFontDatabase::hasFamily(family)) {
        for (const QString& substitute : QFont::substitutes(family))
            if (QFontDatabase::hasFamily(substitute)) {
                face = substitute;
                break;
            }
    }
    resolved.insert(family, face);
    return face;
}

QFont makeFont(const Font& entry)
{
    QFont font(installedFamily(QString::fromLatin1(entry.family)));
    font.setPointSizeF(entry.points);
    font.setBold(entry.bold);
    font.setItalic(entry.italic);
    return font;
}

}  // namespace

QPixmap renderSvg(const QString& file, const QSize& size, qreal ratio)
{
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    QSvgRenderer(file).render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return pixmap;
}

namespace {

// The window's own pointer: our drawing, with the fingertip as hotspot.
QCursor surfaceCursor(qreal ratio) { return QCursor(renderSvg(":/art/pointer.svg", QSize(32, 32), ratio), 2, 2); }

// A small square within a square, as the pointer over the new-problem button
// and the verdict.
QCursor iconCursor(qreal ratio)
{
    QPixmap pixmap(QSize(32, 32) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QPen(Qt::white, 3));
    painter.drawRect(6, 6, 20, 20);
    painter.fillRect(12, 12, 8, 8, Qt::white);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(6, 6, 20, 20);
    painter.fillRect(13, 13, 6, 6, Qt::black);
    return QCursor(pixmap, 16, 16);
}

QWidget* createControl(const ControlEntry& entry, QWidget* surface, ClickSink* sink)
{
    QWidget* widget = nullptr;
    switch (entry.kind) {
    case Kind::label: {
        auto* label = new QLabel(surface);
        label->setTextFormat(Qt::PlainText);
        label->setText(QString::fromUtf8(entry.caption));
        label->setAlignment(entry.align | Qt::AlignVCenter);
        label->setFocusPolicy(Qt::NoFocus);
        if (entry.border)
            label->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, entry.text.isValid() ? entry.text : palette.color(QPalette::ButtonText));
        if (entry.back.isValid()) {
            palette.setColor(QPalette::Window, entry.back);
            label->setAutoFillBackground(true);
        }
        label->setPalette(palette);
        label->installEventFilter(sink);
        widget = label;
        break;
    }
    case Kind::textBox: {
        auto* box = new AnswerBox(surface);
        box->setMaxLength(4);
        QPalette palette = box->palette();
        palette.setColor(QPalette::Base, entry.back);
        box->setPalette(palette);
        widget = box;
        break;
    }
    case Kind::pictureButton: {
        const bool isNext = QLatin1String(entry.name) == QLatin1String("cmdNext");
        widget = isNext ? new PictureButton(entry.caption, entry.back, ":/art/face_smile.svg", ":/art/face_straight.svg",
                                            ":/art/face_open.svg", surface)
                        : new PictureButton(entry.caption, entry.back, ":/art/no_entry.svg", {}, {}, surface);
        widget->setCursor(isNext ? iconCursor(surface->devicePixelRatioF()) : QCursor(Qt::ArrowCursor));
        break;
    }
    case Kind::plainButton:
        widget = new PushButton(QString::fromUtf8(entry.caption), surface);
        widget->setCursor(Qt::ArrowCursor);
        break;
    case Kind::pictureBox: {
        auto* box = new PictureView(":/art/robot.svg", surface);
        box->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
        QPalette palette = box->palette();
        palette.setColor(QPalette::Window, entry.back);
        box->setPalette(palette);
        box->setAutoFillBackground(true);
        box->setEnabled(false);
        box->setCursor(Qt::ArrowCursor);
        box->installEventFilter(sink);
        widget = box;
        break;
    }
    case Kind::image: {
        auto* image = new PictureView(":/art/alarm_clock.svg", surface);
        image->installEventFilter(sink);
        widget = image;
        break;
    }
    }
    widget->setObjectName(QString::fromLatin1(entry.name));
    widget->setGeometry(twips(entry.left), twips(entry.top), twips(entry.width), twips(entry.height));
    if (entry.kind != Kind::pictureBox && entry.kind != Kind::image)
        widget->setFont(makeFont(entry.font));
    if (entry.kind == Kind::pictureButton) {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::Button, entry.back);
        widget->setPalette(palette);
    }
    if (entry.tooltip)
        widget->setToolTip(QString::fromUtf8(entry.tooltip));
    widget->setProperty(kAutoSizeProperty, entry.autoSize);
    if (entry.autoSize)
        widget->adjustSize();
    return widget;
}

}  // namespace

Controls buildControls()
{
    Controls controls;
    auto* surface = new Surface;
    surface->setObjectName("Tavola");
    surface->setFixedSize(kClientWidth, kClientHeight);
    surface->setAutoFillBackground(true);
    surface->setFont(makeFont(Font{}));
    surface->setCursor(surfaceCursor(surface->devicePixelRatioF()));
    auto* sink = new ClickSink(surface);
    controls.surface = surface;

    // Built from the back forwards, so that each new control covers the ones before.
    for (auto entry = kLayout.rbegin(); entry != kLayout.rend(); ++entry)
        controls.byName.insert(QString::fromLatin1(entry->name), createControl(*entry, surface, sink));

    // What each control is for, for screen readers; labels that show values
    // keep their text as their accessible name, so the value itself is read.
    static const std::pair<const char*, const char*> kRoles[] = {
        {"lblNum1", "primo numero"},     {"lblNum2", "secondo numero"}, {"txtAnswer", "risposta"},
        {"lblMessage", "esito"},         {"lblScore", "risposte esatte"}, {"lblScore1", "risposte errate"},
        {"lblScore2", "risposte totali"}, {"lblTime", "orologio"},      {"cmdNext", "nuovo calcolo"},
        {"cmdExit", "esci"},
    };
    for (const auto& [name, role] : kRoles)
        controls.byName.value(name)->setAccessibleDescription(QString::fromUtf8(role));

    controls.get<QLabel>("lblMessage")->setCursor(iconCursor(surface->devicePixelRatioF()));
    controls.byName.value("cmdNext")->setEnabled(false);

    // Tab order: cmdExit, cmdNext, txtAnswer, Picture1, Command1; disabled ones are skipped.
    const QStringList tabOrder = {"cmdExit", "cmdNext", "txtAnswer", "Picture1", "Command1"};
    for (int i = 0; i + 1 < tabOrder.size(); ++i)
        QWidget::setTabOrder(controls.byName.value(tabOrder[i]), controls.byName.value(tabOrder[i + 1]));
    return controls;
}

bool sizesToText(const QWidget* widget) { return widget->property(kAutoSizeProperty).toBool(); }

void setCaption(QWidget* widget, const QString& caption)
{
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(caption);
        if (sizesToText(label))
            label->adjustSize();
        QAccessibleEvent changed(label, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&changed);
    } else if (auto* box = qobject_cast<QLineEdit*>(widget)) {
        box->setText(caption);
    }
}

}  // namespace tavola
