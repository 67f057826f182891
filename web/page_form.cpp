#include "web/page_form.h"

#include <emscripten/emscripten.h>

#include <string>

#include "game/layout.h"

// The page's side of each call, in page.js.
EM_JS(int, js_text, (const char* id, char* buffer, int size), {
    const text = Module.page.text(UTF8ToString(id));
    stringToUTF8(text, buffer, size);
    return lengthBytesUTF8(text);
});
EM_JS(void, js_setText, (const char* id, const char* text), {
    Module.page.setText(UTF8ToString(id), UTF8ToString(text));
});
EM_JS(void, js_setEnabled, (const char* id, int enabled), { Module.page.setEnabled(UTF8ToString(id), !!enabled); });
EM_JS(void, js_setFocus, (const char* id), { Module.page.setFocus(UTF8ToString(id)); });
EM_JS(void, js_setBackColor, (int red, int green, int blue), { Module.page.setBackColor(red, green, blue); });
EM_JS(int, js_hidden, (), { return document.visibilityState == 'hidden'; });
EM_JS(void, js_setCaption, (const char* caption), { Module.page.setCaption(UTF8ToString(caption)); });
EM_JS(void, js_setAccessible, (const char* id, int description, const char* text), {
    Module.page.setAccessible(UTF8ToString(id), !!description, UTF8ToString(text));
});
EM_JS(void, js_announce, (const char* message), { Module.page.announce(UTF8ToString(message)); });
EM_JS(void, js_load, (), { Module.page.load(); });
EM_JS(void, js_unload, (), { Module.page.unload(); });
EM_JS(double, js_localSeconds, (), {
    const now = new Date();
    return Math.floor((now.getTime() - now.getTimezoneOffset() * 60000) / 1000);
});
EM_JS(void, js_beep, (), { Module.page.beep(); });
EM_JS(void, js_openBox, (int kind, const char* title, const char* prompt, const char* entry), {
    Module.page.openBox(kind, UTF8ToString(title), UTF8ToString(prompt), UTF8ToString(entry));
});
EM_ASYNC_JS(int, js_waitEvent, (), { return await Module.page.waitEvent(); });
EM_JS(int, js_boxEntry, (char* buffer, int size), {
    const text = Module.page.boxEntry();
    stringToUTF8(text, buffer, size);
    return lengthBytesUTF8(text);
});
EM_JS(void, js_end, (), { Module.page.end(); });

namespace tavola {

namespace {

const char* id(Control control) { return layoutRow(control).name; }

// A text the page hands over, into a buffer that grows until it fits.
template <typename Read>
std::string readText(Read read)
{
    std::string text(64, '\0');
    for (;;) {
        const auto length = std::size_t(read(text.data(), int(text.size())));
        if (length < text.size()) {
            text.resize(length);
            return text;
        }
        text.resize(length + 1);
    }
}

// Box kinds and answers as page.js knows them.
enum BoxKind { okBox = 0, yesNoBox = 1, entryBox = 2 };
constexpr int kAnswerYesOrOk = 1;

}  // namespace

std::string PageForm::text(Control control) const
{
    return readText([control](char* buffer, int size) { return js_text(id(control), buffer, size); });
}

void PageForm::setText(Control control, std::string_view text) { js_setText(id(control), std::string(text).c_str()); }

void PageForm::setEnabled(Control control, bool enabled) { js_setEnabled(id(control), enabled); }

void PageForm::setFocus(Control control) { js_setFocus(id(control)); }

void PageForm::setBackColor(std::int32_t rgb) { js_setBackColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF); }

int PageForm::windowState() const { return js_hidden() ? kWindowMinimized : 0; }

// The window's caption is the page's title, which page.js gives for no id.
std::string PageForm::caption() const
{
    return readText([](char* buffer, int size) { return js_text("", buffer, size); });
}

void PageForm::setCaption(std::string_view caption) { js_setCaption(std::string(caption).c_str()); }

void PageForm::setAccessibleName(Control control, std::string_view name)
{
    js_setAccessible(id(control), false, std::string(name).c_str());
}

void PageForm::setAccessibleDescription(Control control, std::string_view description)
{
    js_setAccessible(id(control), true, std::string(description).c_str());
}

void PageForm::announce(std::string_view message) { js_announce(std::string(message).c_str()); }

void PageForm::load() { js_load(); }

void PageForm::unload() { js_unload(); }

// The page is on show already.
void PageForm::show() {}

TimeValue PageServices::now()
{
    // The current whole second of local time, as a clock shows it.
    const auto seconds = static_cast<long long>(js_localSeconds());
    const long long days = seconds / 86400;
    const auto second = int(seconds % 86400);
    return makeDate(1970, 1, 1) + double(days) + makeTime(second / 3600, second / 60 % 60, second % 60);
}

void PageServices::beep() { js_beep(); }

int PageServices::waitForAnswer()
{
    for (;;) {
        const int event = js_waitEvent();
        if (event == int(PageEvent::tick) || event == int(PageEvent::resize))
            m_onEvent(PageEvent(event));
        else
            return event;
    }
}

MsgBoxResult PageServices::msgBox(std::string_view prompt, MsgBoxButtons buttons, std::string_view title)
{
    const bool yesNo = buttons == MsgBoxButtons::yesNoDefaultNo;
    js_openBox(yesNo ? yesNoBox : okBox, std::string(title).c_str(), std::string(prompt).c_str(), "");
    const int answer = waitForAnswer();
    if (!yesNo)
        return MsgBoxResult::ok;
    return answer == kAnswerYesOrOk ? MsgBoxResult::yes : MsgBoxResult::no;
}

std::string PageServices::inputBox(std::string_view prompt, std::string_view title, std::string_view defaultText)
{
    js_openBox(entryBox, std::string(title).c_str(), std::string(prompt).c_str(), std::string(defaultText).c_str());
    if (waitForAnswer() != kAnswerYesOrOk)
        return {};
    return readText([](char* buffer, int size) { return js_boxEntry(buffer, size); });
}

void PageServices::end() { js_end(); }

}  // namespace tavola
