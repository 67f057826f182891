#include "game/layout.h"

#include <array>

namespace tavola {

namespace {

constexpr Rgb kBlack{0, 0, 0}, kBlue{0, 0, 255}, kRed{255, 0, 0}, kGreen{0, 192, 0};
constexpr Rgb kCyan{0, 255, 255}, kLightCyan{128, 255, 255}, kPurple{192, 0, 192}, kMagenta{255, 0, 255};

constexpr LayoutFace kBracket{"Arial", 72, true};
constexpr LayoutFace kCaption{"MS Sans Serif", 18};
constexpr LayoutFace kScore{"Times New Roman", 36, true};
constexpr LayoutFace kOperand{"Arial", 48, true};
constexpr LayoutFace kButton{"MS Sans Serif", 8.25, true};

// Front to back: the controls that are windows of their own first, then the
// labels and the image. Earlier rows cover later ones where they overlap.
constexpr std::array kLayout = {
    ControlEntry{.name = "Picture1", .kind = Kind::pictureBox, .left = 9600, .top = 5520, .width = 5490, .height = 855,
                 .tabIndex = 11, .back = kMagenta, .border = true, .enabled = false, .accessibleName = "robot",
                 .pointer = Pointer::arrow, .pictures = {"robot"}},
    ControlEntry{.name = "txtAnswer", .kind = Kind::textBox, .left = 8160, .top = 120, .width = 2775, .height = 1200,
                 .control = Control::txtAnswer, .tabIndex = 8, .font = kOperand, .back = kCyan, .maxLength = 4,
                 .tooltip = "Inserisci il risultato e  premi il tasto  Invio", .description = "risposta"},
    ControlEntry{.name = "cmdNext", .kind = Kind::pictureButton, .left = 4320, .top = 6120, .width = 1815,
                 .height = 1095, .control = Control::cmdNext, .caption = "&Nuovo calcolo", .tabIndex = 2,
                 .font = kButton, .back = kCyan, .align = Align::center, .enabled = false, .tooltip = "Go",
                 .description = "nuovo calcolo", .pointer = Pointer::icon,
                 .pictures = {"face_smile", "face_straight", "face_open"}},
    ControlEntry{.name = "cmdExit", .kind = Kind::pictureButton, .left = 9600, .top = 4080, .width = 1575,
                 .height = 1095, .control = Control::cmdExit, .caption = "E&xit", .tabIndex = 0, .font = kButton, .back = kPurple,
                 .align = Align::center, .tooltip = "Ti prego resta ancora, forse riuscirai a farmi uscire ",
                 .description = "esci", .pointer = Pointer::arrow, .pictures = {"no_entry"}},
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
                 .align = Align::center, .autoSize = true, .description = "risposte totali"},
    ControlEntry{.name = "lblScore1", .kind = Kind::label, .left = 4830, .top = 4080, .width = 540, .height = 885,
                 .control = Control::lblScore1, .caption = "0", .font = kScore, .text = kRed, .border = true,
                 .align = Align::center, .autoSize = true, .description = "risposte errate"},
    ControlEntry{.name = "Image1", .kind = Kind::image, .left = 7560, .top = 1320, .width = 480, .height = 480,
                 .tooltip = "Clicca sotto di me per impostare il Timer", .accessibleName = "sveglia",
                 .pictures = {"alarm_clock"}},
    ControlEntry{.name = "lblTime", .kind = Kind::label, .left = 8400, .top = 1800, .width = 90, .height = 300,
                 .control = Control::lblTime, .font = {"MS Sans Serif", 12, true}, .autoSize = true,
                 .tooltip = "Clicca sotto di me per attivare il Timer", .description = "orologio"},
    ControlEntry{.name = "lblNum2", .kind = Kind::label, .left = 4200, .top = 240, .width = 345, .height = 1185,
                 .control = Control::lblNum2, .font = kOperand, .back = kCyan, .border = true,
                 .align = Align::center, .autoSize = true, .description = "secondo numero"},
    ControlEntry{.name = "Label4", .kind = Kind::label, .left = 6240, .top = 360, .width = 615, .height = 975,
                 .caption = "=", .font = kOperand, .back = kLightCyan, .align = Align::center},
    ControlEntry{.name = "Label2", .kind = Kind::label, .left = 2160, .top = 360, .width = 615, .height = 975,
                 .caption = "-", .font = {"Arial", 48, false}, .back = kLightCyan, .align = Align::center},
    ControlEntry{.name = "lblNum1", .kind = Kind::label, .left = 840, .top = 240, .width = 345, .height = 1185,
                 .control = Control::lblNum1, .font = kOperand, .back = kCyan, .border = true,
                 .align = Align::center, .autoSize = true, .description = "primo numero"},
    ControlEntry{.name = "lblScore", .kind = Kind::label, .left = 1080, .top = 4080, .width = 555, .height = 885,
                 .control = Control::lblScore, .caption = "0", .font = kScore, .border = true,
                 .align = Align::center, .autoSize = true,
                 .tooltip = "Questo è il tuo punteggio. Forza con il  record", .description = "risposte esatte"},
    ControlEntry{.name = "lblMessage", .kind = Kind::label, .left = 1680, .top = 2040, .width = 6615, .height = 615,
                 .control = Control::lblMessage, .font = {"MS Sans Serif", 24, true, true}, .text = kRed,
                 .align = Align::center, .description = "esito", .pointer = Pointer::icon},
    ControlEntry{.name = "Label6", .kind = Kind::label, .left = 240, .top = 3360, .width = 2565, .height = 495,
                 .caption = "Risposte esatte", .font = kCaption, .text = kGreen, .border = true,
                 .align = Align::center, .autoSize = true},
};

constexpr std::array kMenu = {
    MenuEntry{"INFOMAZIONI", "Tavola, il gioco delle sottrazioni", 0, true},
    MenuEntry{"Ciao", "Contatti: chiedi al tuo insegnante", 1, true},
    MenuEntry{"Tmer", "Se vuoi attivare il timer per determinare la durata del gioco clicca sotto l'orologio", 2, false},
    MenuEntry{"Next", "nuovo", 1, true},
    MenuEntry{"web", "Sito: nessuno, Tavola funziona senza rete", 2, true},
    MenuEntry{"free", "Altri giochi gratuiti per la scuola? Chiedi in classe!", 3, false},
};

}  // namespace

std::span<const ControlEntry> layoutRows() { return kLayout; }

const ControlEntry& layoutRow(Control control)
{
    for (const ControlEntry& row : kLayout)
        if (row.control == control)
            return row;
    return kLayout.front();  // every Control has its row
}

std::span<const MenuEntry> menuRows() { return kMenu; }

}  // namespace tavola
