// What one keystroke, one Enter and one clock tick cost in the game logic.
// Each runs against the fake window of the tests and against a lean window
// that only stores the texts, so the fake's own logging can be told apart.
#include <benchmark/benchmark.h>

#include <array>
#include <string>
#include <type_traits>

#include "game/answer.h"
#include "support/fakes.h"

namespace {

using namespace tavola;
using tavola::testing::FakeForm;
using tavola::testing::FakeServices;

// Texts only: no log, no checks.
class LeanForm : public Form {
public:
    std::string text(Control control) const override { return m_texts[index(control)]; }
    void setText(Control control, std::string_view text) override { m_texts[index(control)].assign(text); }
    void setEnabled(Control, bool enabled) override { m_enabled = enabled; }
    void setFocus(Control control) override { m_focus = control; }
    void setBackColor(std::int32_t rgb) override { m_back = rgb; }
    int windowState() const override { return 0; }
    std::string caption() const override { return m_caption; }
    void setCaption(std::string_view caption) override { m_caption.assign(caption); }
    void setAccessibleName(Control, std::string_view name) override { m_name.assign(name); }
    void setAccessibleDescription(Control, std::string_view description) override { m_description.assign(description); }
    void announce(std::string_view) override {}
    void load() override {}
    void unload() override {}
    void show() override {}

private:
    static std::size_t index(Control control) { return static_cast<std::size_t>(control); }
    std::array<std::string, 10> m_texts;
    bool m_enabled = false;
    Control m_focus = Control::cmdNext;
    std::int32_t m_back = 0;
    std::string m_caption = "Vorlando";
    std::string m_name, m_description;
};

// A window object on either form, loaded and showing its first problem.
template <typename FormType>
struct Bench {
    Bench()
    {
        tavola.start();
        services.clock = 46363.5;  // 7 December 2026, noon
    }
    // The fake keeps a log of every call; keep it from growing without end.
    void trim()
    {
        if constexpr (std::is_same_v<FormType, FakeForm>) {
            if (form.log.size() > 4096)
                form.log.clear();
        }
    }
    FormType form;
    FakeServices services;
    Tavola tavola{form, services};
};

template <typename FormType>
void keystroke(benchmark::State& state)
{
    Bench<FormType> bench;
    std::int16_t key = '7';
    for (auto _ : state) {
        key = '7';
        bench.tavola.txtAnswer_KeyPress(key);
        benchmark::DoNotOptimize(key);
    }
}

template <typename FormType>
void enter(benchmark::State& state)
{
    Bench<FormType> bench;
    const std::string right = std::to_string(bench.tavola.state().expectedAnswer);
    int scored = 0;
    for (auto _ : state) {
        bench.form.setText(Control::txtAnswer, right);
        std::int16_t key = kKeyEnter;
        bench.tavola.txtAnswer_KeyPress(key);
        // Start the counts again long before they reach their cap.
        if (++scored == 30000) {
            scored = 0;
            bench.tavola.Form_Load();
        }
        bench.trim();
    }
    benchmark::DoNotOptimize(bench.tavola.state().correctCount);
}

// Two ticks in each second: one finds the clock text unchanged, one shows a new second.
template <typename FormType>
void tickSameSecond(benchmark::State& state)
{
    Bench<FormType> bench;
    bench.tavola.Timer1_Timer();
    for (auto _ : state) {
        bench.tavola.Timer1_Timer();
        bench.trim();
    }
}

template <typename FormType>
void tickNewSecond(benchmark::State& state)
{
    Bench<FormType> bench;
    for (auto _ : state) {
        bench.services.clock += 1.0 / 86400.0;
        bench.tavola.Timer1_Timer();
        bench.trim();
    }
}

BENCHMARK_TEMPLATE(keystroke, LeanForm)->Name("keystroke/lean_form");
BENCHMARK_TEMPLATE(keystroke, FakeForm)->Name("keystroke/fake_form");
BENCHMARK_TEMPLATE(enter, LeanForm)->Name("enter/lean_form");
BENCHMARK_TEMPLATE(enter, FakeForm)->Name("enter/fake_form");
BENCHMARK_TEMPLATE(tickSameSecond, LeanForm)->Name("tick_same_second/lean_form");
BENCHMARK_TEMPLATE(tickNewSecond, LeanForm)->Name("tick_new_second/lean_form");

}  // namespace

BENCHMARK_MAIN();
