#include "ui/layout.h"

#include <QCursor>
#include <QFontDatabase>
#include <QHash>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <array>
#include <optional>

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

enum class Pointer { inherit, arrow, icon };

// One row per control: everything the window needs to build it.
struct ControlEntry {
    const char* name;                    // also the widget's objectName
    Kind kind;
    int left, top, width, height;        // twips
    std::optional<Control> control = {}; // for the controls the game logic addresses
    const char* caption = "";
    int tabIndex = -1;                   // -1: takes no focus
    Font font = {};
    QColor text = {};                    // invalid: the standard colour
    QColor back = {};                    // invalid: transparent (labels) or standard
    bool border = false;
    Qt::Alignment align = Qt::AlignLeft;
    bool autoSize = false;
    bool enabled = true;
    const char* tooltip = nullptr;
    // For screen readers. Labels that show values keep their text as their
    // name, so the value itself is read.
    const char* accessibleName = nullptr;
    const char* description = nullptr;
    Pointer pointer = Pointer::inherit;  // over the control whatever its state
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
    ControlEntry{.name = "Picture1", .kind = Kind::pictureBox, .left = 9600, .top = 5520, .width = 5490, .height = 855,
                 .tabIndex = 11, .back = kMagenta, .border = true, .enabled = false, .accessibleName = "robot",
                 .pointer = Pointer::arrow},
    ControlEntry{.name = "txtAnswer", .kind = Kind::textBox, .left = 8160, .top = 120, .width = 2775, .height = 1200,
                 .control = Control::txtAnswer, .tabIndex = 8, .font = kOperand, .back = kCyan,
                 .tooltip = "Inserisci il risultato e  premi il tasto  Invio", .description = "risposta"},
    ControlEntry{.name = "cmdNext", .kind = Kind::pictureButton, .left = 4320, .top = 6120, .width = 1815,
                 .height = 1095, .control = Control::cmdNext, .caption = "&Nuovo calcolo", .tabIndex = 2,
                 .font = kButton, .back = kCyan, .align = Qt::AlignCenter, .enabled = false, .tooltip = "Go",
                 .description = "nuovo calcolo", .pointer = Pointer::icon},
    ControlEntry{.name = "cmdExit", .kind = Kind::pictureButton, .left = 9600, .top = 4080, .width = 1575,
                 .height = 1095, .control = Control::cmdExit, .caption = "E&xit", .tabIndex = 0, .font = kButton, .back = kPurple,
                 .align = Qt::AlignCenter, .tooltip = "Ti prego resta ancora, forse riuscirai a farmi uscire ",
                 .description = "esci", .pointer = Pointer::arrow},
    ControlEntry{.name = "Command1", .kind = Kind::plainButton, .left = 4800, .top = 6360, .width = 855, .height = 615,
                 .caption = "Command1", .tabIndex = 16, .accessibleName = "Pulsante nascosto, non fa nulla",
                 .pointer = Pointer::arrow},
    ControlEntry{.name = "Label7", .kind = Kind::label, .left = 5160, .top = -120, .width = 615, .height = 1575,
                 .caption = ")", .font = kBracket, .text = kBlack},
    ControlEntry{.name = "Label5", .kind = Kind::label, .left = 3120, .top = -120, .width = 495, .height = 1575,
                 .caption = "(", .font = kBracket, .text = kBlack},
    ControlEntry{.name = "Label3", .kind = Kind::label, .left = 7440, .top = 3360, .width = 2340, .height = 495,
                 .caption = "Risposte totali", .font = kCaption, .text = kBlue, .border = true, .autoSize = true},
    ControlEntry{.name = "Label1", .kind = Kind::label, .left = 3840, .top = 3360, .width = 2520, .height = 495,
                 .caption = "Risposte errate", .font = kCaption, .text = kRed, .border = true, .autoSize = true},
    ControlEntry{.name = "lblScore2", .kind = Kind::label, .left = 8310, .top = 4080, .width = 555, .height = 885,
                 .control = Control::lblScore2, .caption = "0", .font = kScore, .text = kBlue, .border = true,
                 .align = Qt::AlignCenter, .autoSize = true, .description = "risposte totali"},
    ControlEntry{.name = "lblScore1", .kind = Kind::label, .left = 4830, .top = 4080, .width = 540, .height = 885,
                 .control = Control::lblScore1, .caption = "0", .font = kScore, .text = kRed, .border = true,
                 .align = Qt::AlignCenter, .autoSize = true, .description = "risposte errate"},
    ControlEntry{.name = "Image1", .kind = Kind::image, .left = 7560, .top = 1320, .width = 480, .height = 480,
                 .tooltip = "Clicca sotto di me per impostare il Timer", .accessibleName = "sveglia"},
    ControlEntry{.name = "lblTime", .kind = Kind::label, .left = 8400, .top = 1800, .width = 90, .height = 300,
                 .control = Control::lblTime, .font = {"MS Sans Serif", 12, true}, .autoSize = true,
                 .tooltip = "Clicca sotto di me per attivare il Timer", .description = "orologio"},
    ControlEntry{.name = "lblNum2", .kind = Kind::label, .left = 4200, .top = 240, .width = 345, .height = 1185,
                 .control = Control::lblNum2, .font = kOperand, .back = kCyan, .border = true,
                 .align = Qt::AlignCenter, .autoSize = true, .description = "secondo numero"},
    ControlEntry{.name = "Label4", .kind = Kind::label, .left = 6240, .top = 360, .width = 615, .height = 975,
                 .caption = "=", .font = kOperand, .back = kLightCyan, .align = Qt::AlignCenter},
    ControlEntry{.name = "Label2", .kind = Kind::label, .left = 2160, .top = 360, .width = 615, .height = 975,
                 .caption = "-", .font = {"Arial", 48, false}, .back = kLightCyan, .align = Qt::AlignCenter},
    ControlEntry{.name = "lblNum1", .kind = Kind::label, .left = 840, .top = 240, .width = 345, .height = 1185,
                 .control = Control::lblNum1, .font = kOperand, .back = kCyan, .border = true,
                 .align = Qt::AlignCenter, .autoSize = true, .description = "primo numero"},
    ControlEntry{.name = "lblScore", .kind = Kind::label, .left = 1080, .top = 4080, .width = 555, .height = 885,
                 .control = Control::lblScore, .caption = "0", .font = kScore, .border = true,
                 .align = Qt::AlignCenter, .autoSize = true,
                 .tooltip = "Questo è il tuo punteggio. Forza con il  record", .description = "risposte esatte"},
    ControlEntry{.name = "lblMessage", .kind = Kind::label, .left = 1680, .top = 2040, .width = 6615, .height = 615,
                 .control = Control::lblMessage, .font = {"MS Sans Serif", 24, true, true}, .text = kRed,
                 .align = Qt::AlignCenter, .description = "esito", .pointer = Pointer::icon},
    ControlEntry{.name = "Label6", .kind = Kind::label, .left = 240, .top = 3360, .width = 2565, .height = 495,
                 .caption = "Risposte esatte", .font = kCaption, .text = kGreen, .border = true,
                 .align = Qt::AlignCenter, .autoSize = true},
};

const char* const kAutoSizeProperty = "tavolaAutoSize";

// The face to ask for: the named one where it is installed, otherwise the
// first installed of its substitutes. Asking for an installed face directly
// spares the font matcher a search through every fallback of a missing one.
// The list of installed families is looked up as it is: hasFamily() would
// run fontconfig's whole substitution for every name asked (about 7 M
// instructions each, at start-up).
QString installedFamily(const QString& family)
{
    static QHash<QString, QString> resolved;
    if (const auto found = resolved.constFind(family); found != resolved.constEnd())
        return *found;
    const QStringList families = QFontDatabase::families();
    const auto installed = [&families](const QString& name) { return families.contains(name, Qt::CaseInsensitive); };
    QString face = family;
    if (!installed(family)) {
        const QStringList substitutes = QFont::substitutes(family);
        if (const auto first = std::find_if(substitutes.begin(), substitutes.end(), installed);
            first != substitutes.end())
            face = *first;
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

namespace {

// The window's own pointer: our drawing, with the fingertip as hotspot.
QCursor surfaceCursor(qreal ratio) { return QCursor(picture("pointer", ratio), 2, 2); }

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

QPalette withColor(QPalette palette, QPalette::ColorRole role, const QColor& color)
{
    palette.setColor(role, color);
    return palette;
}

QWidget* createLabel(const ControlEntry& entry, QWidget* surface)
{
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
    return label;
}

QWidget* createAnswerBox(const ControlEntry& entry, QWidget* surface)
{
    auto* box = new AnswerBox(surface);
    box->setMaxLength(4);
    box->setPalette(withColor(box->palette(), QPalette::Base, entry.back));
    return box;
}

QWidget* createPictureButton(const ControlEntry& entry, QWidget* surface)
{
    // The new-problem button smiles; its pressed and disabled faces differ.
    const bool faces = entry.control == Control::cmdNext;
    auto* button = faces ? new PictureButton(entry.caption, entry.back, Picture("face_smile"), Picture("face_straight"),
                                             Picture("face_open"), surface)
                         : new PictureButton(entry.caption, entry.back, Picture("no_entry"), Picture(), Picture(), surface);
    button->setPalette(withColor(button->palette(), QPalette::Button, entry.back));
    return button;
}

QWidget* createPictureBox(const ControlEntry& entry, QWidget* surface)
{
    auto* box = new PictureView("robot", surface);
    box->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    box->setPalette(withColor(box->palette(), QPalette::Window, entry.back));
    box->setAutoFillBackground(true);
    return box;
}

QWidget* createControl(const ControlEntry& entry, QWidget* surface)
{
    switch (entry.kind) {
    case Kind::label: return createLabel(entry, surface);
    case Kind::textBox: return createAnswerBox(entry, surface);
    case Kind::pictureButton: return createPictureButton(entry, surface);
    case Kind::plainButton: return new PushButton(QString::fromUtf8(entry.caption), surface);
    case Kind::pictureBox: return createPictureBox(entry, surface);
    case Kind::image: return new PictureView("alarm_clock", surface);
    }
    return nullptr;
}

// What every kind of control takes from its row.
void applyEntry(const ControlEntry& entry, QWidget* widget, ClickSink* sink, qreal ratio)
{
    widget->setObjectName(QString::fromLatin1(entry.name));
    widget->setGeometry(twips(entry.left), twips(entry.top), twips(entry.width), twips(entry.height));
    if (entry.kind != Kind::pictureBox && entry.kind != Kind::image)
        widget->setFont(makeFont(entry.font));
    // Labels and pictures are no part of the bare surface that answers a click.
    if (entry.kind == Kind::label || entry.kind == Kind::pictureBox || entry.kind == Kind::image)
        widget->installEventFilter(sink);
    widget->setEnabled(entry.enabled);
    if (entry.tooltip)
        widget->setToolTip(QString::fromUtf8(entry.tooltip));
    if (entry.accessibleName)
        widget->setAccessibleName(QString::fromUtf8(entry.accessibleName));
    if (entry.description)
        widget->setAccessibleDescription(QString::fromUtf8(entry.description));
    if (entry.pointer == Pointer::arrow)
        widget->setCursor(Qt::ArrowCursor);
    else if (entry.pointer == Pointer::icon)
        widget->setCursor(iconCursor(ratio));
    if (entry.pointer != Pointer::inherit)
        static_cast<Surface*>(widget->parentWidget())->keepPointerWhenDisabled(widget);
    widget->setProperty(kAutoSizeProperty, entry.autoSize);
    if (entry.autoSize)
        widget->adjustSize();
}

}  // namespace

Controls buildControls()
{
    installAccessibility();
    Controls controls;
    auto* surface = new Surface(QSize(kClientWidth, kClientHeight));
    surface->setObjectName("Tavola");
    surface->setFont(makeFont(Font{}));
    const qreal ratio = surface->devicePixelRatioF();
    surface->setCursor(surfaceCursor(ratio));
    auto* sink = new ClickSink(surface);
    controls.surface = surface;

    // Built from the back forwards, so that each new control covers the ones before.
    for (auto entry = kLayout.rbegin(); entry != kLayout.rend(); ++entry) {
        QWidget* widget = createControl(*entry, surface);
        applyEntry(*entry, widget, sink, ratio);
        controls.byName.insert(QString::fromLatin1(entry->name), widget);
    }

    // Tab order by tab index; disabled controls are skipped by Qt itself.
    std::vector<const ControlEntry*> focusable;
    for (const ControlEntry& entry : kLayout)
        if (entry.tabIndex >= 0)
            focusable.push_back(&entry);
    std::sort(focusable.begin(), focusable.end(),
              [](const ControlEntry* a, const ControlEntry* b) { return a->tabIndex < b->tabIndex; });
    for (std::size_t i = 0; i + 1 < focusable.size(); ++i)
        QWidget::setTabOrder(controls.byName.value(QString::fromLatin1(focusable[i]->name)),
                             controls.byName.value(QString::fromLatin1(focusable[i + 1]->name)));
    return controls;
}

const char* controlName(Control control)
{
    for (const ControlEntry& entry : kLayout)
        if (entry.control == control)
            return entry.name;
    return "";
}

bool sizesToText(const QWidget* widget) { return widget->property(kAutoSizeProperty).toBool(); }

// QLabel::setText tells screen readers of the change itself.
void setControlText(QWidget* widget, const QString& caption)
{
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        const QString old = label->text();
        label->setText(caption);
        // Measuring the label anew costs several times more than measuring
        // the two texts, and a clock or a counter mostly keeps its width.
        const QFontMetrics metrics = label->fontMetrics();
        if (sizesToText(label) && metrics.horizontalAdvance(caption) != metrics.horizontalAdvance(old))
            label->adjustSize();
    } else if (auto* box = qobject_cast<QLineEdit*>(widget)) {
        writeText(box, caption);
    }
}

}  // namespace tavola
