// Writes the page's HTML and the controls' CSS from the window's layout, at
// build time: the first frame needs no script, and the page cannot drift
// from the Qt window. Usage: make_page OUT.html OUT.css
#include <algorithm>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "game/layout.h"
#include "game/texts.h"

namespace {

using namespace tavola;

std::string escaped(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

// "&Nuovo calcolo": the letter after the ampersand is the access key, underlined.
std::string caption(std::string_view text, char* accessKey = nullptr)
{
    const auto mark = text.find('&');
    if (mark == std::string_view::npos || mark + 1 >= text.size())
        return escaped(text);
    if (accessKey)
        *accessKey = text[mark + 1];
    return escaped(text.substr(0, mark)) + "<u>" + escaped(text.substr(mark + 1, 1)) + "</u>" +
           escaped(text.substr(mark + 2));
}

std::string attribute(const char* name, const char* value)
{
    return value ? std::string(" ") + name + "=\"" + escaped(value) + "\"" : "";
}

std::string svg(const char* picture) { return std::string("art/") + picture + ".svg"; }

std::string rgb(Rgb colour)
{
    return "rgb(" + std::to_string(colour.red) + "," + std::to_string(colour.green) + "," +
           std::to_string(colour.blue) + ")";
}

// The classic faces, as our renamed subsets of their metric twins.
std::string font(const LayoutFace& face)
{
    const bool serif = std::string_view(face.family) == "Times New Roman";
    std::ostringstream out;
    out << (face.italic ? "italic " : "") << (face.bold ? "bold " : "") << face.points << "pt "
        << (serif ? "\"Tavola Serif\"" : "\"Tavola Sans\"");
    return out.str();
}

std::string px(int twipsValue) { return std::to_string(twips(twipsValue)) + "px"; }

void control(const ControlEntry& row, int layer, std::ostream& html, std::ostream& css)
{
    const std::string common = std::string(" id=\"") + row.name + "\"" + attribute("title", row.tooltip) +
                               attribute("aria-description", row.description);
    const char* name = row.accessibleName;
    char accessKey = 0;
    switch (row.kind) {
    case Kind::label:
        html << "<div" << common << " class=\"label" << (row.border ? " border" : "")
             << (row.autoSize ? " auto" : "") << "\">" << escaped(row.caption) << "</div>\n";
        break;
    case Kind::textBox:
        html << "<input" << common << attribute("aria-label", row.description)
             << " type=\"text\" maxlength=\"" << row.maxLength << "\" autocomplete=\"off\" spellcheck=\"false\" autocapitalize=\"off\">\n";
        break;
    case Kind::pictureButton: {
        const std::string text = caption(row.caption, &accessKey);
        html << "<button" << common << " type=\"button\" class=\"picture\"" << (row.enabled ? "" : " disabled")
             << " aria-keyshortcuts=\"Alt+" << char(accessKey & ~0x20) << "\" data-key=\"" << char(accessKey | 0x20)
             << "\"><span class=\"face\"></span><span>" << text << "</span></button>\n";
        break;
    }
    case Kind::plainButton:
        // One named otherwise lies behind another button: its caption is never seen.
        html << "<button" << common << attribute("aria-label", name) << " type=\"button\">"
             << (name ? "<span class=\"covered\">" + caption(row.caption) + "</span>" : caption(row.caption))
             << "</button>\n";
        break;
    case Kind::pictureBox:
        html << "<div" << common << " class=\"border\" role=\"img\" aria-disabled=\"true\"" << attribute("aria-label", name)
             << "><img src=\"" << svg(row.pictures.normal) << "\" alt=\"\"></div>\n";
        break;
    case Kind::image:
        html << "<img" << common << " src=\"" << svg(row.pictures.normal) << "\"" << attribute("alt", name) << ">\n";
        break;
    }

    css << "#" << row.name << "{left:" << px(row.left) << ";top:" << px(row.top) << ";z-index:" << layer;
    if (!row.autoSize)
        css << ";width:" << px(row.width) << ";height:" << px(row.height);
    if (row.kind != Kind::pictureBox && row.kind != Kind::image)
        css << ";font:" << font(row.font);
    if (row.text)
        css << ";color:" << rgb(*row.text);
    if (row.back)
        css << ";background-color:" << rgb(*row.back);
    if (row.align == Align::center)
        css << ";text-align:center;justify-content:center";
    if (row.pointer == Pointer::icon)
        css << ";cursor:url(art/icon_pointer.svg) 16 16,pointer";
    else if (row.pointer == Pointer::arrow)
        css << ";cursor:default";
    css << "}\n";
    const Pictures& faces = row.pictures;
    if (row.kind == Kind::pictureButton) {
        css << "#" << row.name << " .face{background-image:url(" << svg(faces.normal) << ")}\n";
        if (faces.pressed)
            css << "#" << row.name << ":active .face{background-image:url(" << svg(faces.pressed) << ")}\n";
        if (faces.disabled)
            css << "#" << row.name << ":disabled .face{background-image:url(" << svg(faces.disabled) << ")}\n";
    }
}

// The menu bar as nested lists, each entry a button; a submenu follows its entry.
void menuBar(std::ostream& html)
{
    html << "<ul id=\"menubar\" role=\"menubar\" aria-label=\"Menu\">";
    int depth = 0;
    bool first = true;
    for (const MenuEntry& row : menuRows()) {
        for (; depth > row.depth; --depth)
            html << "</li></ul>";
        if (!first && depth == row.depth)
            html << "</li>";
        first = false;
        if (row.depth > depth) {
            html << "<ul role=\"menu\">";
            depth = row.depth;
        }
        html << "<li role=\"none\"><button type=\"button\" role=\"menuitem\" tabindex=\"-1\" id=\"" << row.name
             << "\"" << (row.opensSubmenu ? " aria-haspopup=\"menu\" aria-expanded=\"false\"" : "") << ">"
             << escaped(row.caption) << "</button>";
    }
    for (; depth > 0; --depth)
        html << "</li></ul>";
    html << "</li></ul>\n";
}

// Keys for touch screens, whose own keyboards may have no minus. They take
// no focus, so the answer box keeps it.
void keypad(std::ostream& html)
{
    struct Key { const char* value; const char* caption; const char* name; };
    html << "<div id=\"keypad\" role=\"group\" aria-label=\"Tastierino\" hidden>\n";
    for (const Key& key : {Key{"7"}, Key{"8"}, Key{"9"}, Key{"Backspace", "<img src=\"art/key_erase.svg\" alt=\"\">", "Cancella"},
                           Key{"4"}, Key{"5"}, Key{"6"}, Key{"-", "-", "meno"}, Key{"1"}, Key{"2"}, Key{"3"},
                           Key{"Enter", "Invio"}, Key{"0"}})
        html << "<button type=\"button\" tabindex=\"-1\" value=\"" << key.value << "\"" << attribute("aria-label", key.name)
             << ">" << (key.caption ? key.caption : key.value) << "</button>";
    html << "\n</div>\n";
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: make_page OUT.html OUT.css\n";
        return 2;
    }
    std::ostringstream html, css;
    html << R"(<!DOCTYPE html>
<html lang="it">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<meta http-equiv="Content-Security-Policy" content="default-src 'self'; script-src 'self' 'wasm-unsafe-eval'; style-src 'self'; img-src 'self'; font-src 'self'; connect-src 'self'; worker-src 'self'; base-uri 'none'; form-action 'none'; object-src 'none'">
<title>)" << text::kCaption << R"(</title>
<link rel="icon" href="art/icon.svg" type="image/svg+xml">
<link rel="manifest" href="manifest.webmanifest">
<link rel="apple-touch-icon" href="art/icon-192.png">
<meta name="theme-color" content="#1e5a94">
<link rel="stylesheet" href="tavola.css">
<link rel="preload" href="core.wasm" as="fetch" type="application/wasm" crossorigin>
<link rel="modulepreload" href="core.js">
<script type="module" src="page.js"></script>
)";
    for (const char* face : {"sans", "sans-bold", "sans-bold-italic", "serif-bold"})
        html << "<link rel=\"preload\" href=\"fonts/tavola-" << face
             << ".woff2\" as=\"font\" type=\"font/woff2\" crossorigin>\n";
    html << "</head>\n<body>\n<div id=\"window\">\n";
    menuBar(html);
    html << "<button id=\"keypadToggle\" type=\"button\" tabindex=\"-1\" aria-pressed=\"false\" aria-controls=\"keypad\" "
            "title=\"Tastierino\"><img src=\"art/keypad.svg\" alt=\"Tastierino\"></button>\n<div id=\"Tavola\">\n";

    // Controls that take the focus come first, in tab order, so that Tab
    // follows the layout's order; the layers come from the layout's order.
    const auto rows = layoutRows();
    std::vector<std::size_t> order(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&rows](std::size_t a, std::size_t b) {
        const auto rank = [](const ControlEntry& row) { return row.tabIndex < 0 ? 1000 : row.tabIndex; };
        return rank(rows[a]) < rank(rows[b]);
    });
    for (const std::size_t i : order)
        control(rows[i], int(rows.size() - i), html, css);
    html << "</div>\n</div>\n";
    keypad(html);
    html << R"(<dialog id="box" aria-labelledby="boxTitle" aria-describedby="boxPrompt">
<h1 id="boxTitle"></h1>
<p><span id="boxIcon" hidden>?</span><label id="boxPrompt" for="boxEntry"></label></p>
<input id="boxEntry" type="text" autocomplete="off" spellcheck="false">
<p class="buttons"><button id="boxYes" value="1">Sì</button><button id="boxNo" value="2">No</button><button id="boxOk" value="1">OK</button><button id="boxCancel" value="2">Annulla</button></p>
</dialog>
<div id="ended" role="alert" tabindex="-1" hidden><p>Tavola è chiusa: la partita è finita. Ora puoi chiudere questa scheda.</p><p><a href="">Gioca ancora</a></p></div>
</body>
</html>
)";
    std::ofstream(argv[1]) << html.str();
    std::ofstream(argv[2]) << css.str();
    return 0;
}
