// Fuzzes the answer reader: any bytes may be pasted into the answer box.
// Checks that the reader agrees with a small reference reader written here,
// apart from the product code, and two properties that hold for every text.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "game/answer.h"
#include "fuzz/report.h"
#include "runtime/numbers.h"
#include "support/answer_examples.h"

namespace {

struct Reading {
    double number = 0.0;
    // Set when the decimal lies outside what a double holds: the number is
    // then only known to be infinite (overflow) or next to zero (underflow).
    bool overflow = false;
    bool underflow = false;
};

bool blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool digit(char c) { return c >= '0' && c <= '9'; }

// The number a text begins with: blanks, sign, digits, optional fraction,
// optional exponent (e, E, d or D; ignored when no digit follows). The
// decimal is converted by std::from_chars, not strtod.
Reading referenceNumber(std::string_view text)
{
    std::size_t at = 0;
    while (at < text.size() && blank(text[at]))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        negative = text[at++] == '-';

    std::string mantissa;  // every digit, without the point
    long long scale = 0;   // value = mantissa * 10^scale
    while (at < text.size() && digit(text[at]))
        mantissa += text[at++];
    if (at < text.size() && text[at] == '.') {
        ++at;
        while (at < text.size() && digit(text[at])) {
            mantissa += text[at++];
            --scale;
        }
    }
    Reading reading;
    if (mantissa.empty())
        return reading;

    if (at < text.size() && std::string_view("eEdD").find(text[at]) != std::string_view::npos) {
        std::size_t e = at + 1;
        bool minus = false;
        if (e < text.size() && (text[e] == '+' || text[e] == '-'))
            minus = text[e++] == '-';
        long long exponent = 0;
        bool any = false;
        for (; e < text.size() && digit(text[e]); ++e) {
            any = true;
            // Saturates far beyond any double; the digits still all belong to the number.
            exponent = std::min(exponent * 10 + (text[e] - '0'), 1'000'000'000LL);
        }
        if (any)
            scale += minus ? -exponent : exponent;
    }

    const std::size_t first = mantissa.find_first_not_of('0');
    if (first == std::string::npos) {
        reading.number = negative ? -0.0 : 0.0;
        return reading;
    }
    mantissa.erase(0, first);
    // Power of ten of the leading digit.
    const long long magnitude = scale + static_cast<long long>(mantissa.size()) - 1;
    if (magnitude > 400) {
        reading.overflow = true;
        reading.number = negative ? -HUGE_VAL : HUGE_VAL;
        return reading;
    }
    if (magnitude < -400) {
        reading.underflow = true;
        reading.number = negative ? -0.0 : 0.0;
        return reading;
    }
    const std::string decimal = mantissa + "e" + std::to_string(scale);
    double value = 0.0;
    const auto result = std::from_chars(decimal.data(), decimal.data() + decimal.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        reading.overflow = magnitude > 0;
        reading.underflow = magnitude <= 0;
        value = reading.overflow ? HUGE_VAL : 0.0;
    } else if (result.ec != std::errc() || result.ptr != decimal.data() + decimal.size()) {
        std::fprintf(stderr, "reference could not convert %s\n", decimal.c_str());
        std::abort();
    }
    reading.number = negative ? -value : value;
    return reading;
}

// Nearest integer, ties to the even one; nothing outside 16 bits.
std::optional<std::int16_t> referenceRound(double value)
{
    if (!(value > -32769.0 && value < 32768.0))
        return std::nullopt;
    const double below = std::floor(value);
    const double rest = value - below;  // exact in this range
    double nearest = below;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(below, 2.0) != 0.0))
        nearest = below + 1.0;
    if (nearest < -32768.0 || nearest > 32767.0)
        return std::nullopt;
    return static_cast<std::int16_t>(nearest);
}

std::optional<std::int16_t> referenceAnswer(std::string_view text) { return referenceRound(referenceNumber(text).number); }

std::string shown(std::optional<std::int16_t> answer) { return answer ? std::to_string(*answer) : "nothing"; }

[[noreturn]] void fail(std::string_view text, const std::string& what)
{
    tavola::fuzz::failOn("answer reader, text", text, what);
}

void checkText(std::string_view text)
{
    const auto answer = tavola::readAnswer(text);
    const auto expected = referenceAnswer(text);
    if (answer != expected)
        fail(text, "reads " + shown(answer) + ", reference " + shown(expected));

    // leadingNumber itself: the same double, except where only the side of
    // the range is known.
    const Reading reference = referenceNumber(text);
    const double number = tavola::leadingNumber(text);
    if (reference.overflow) {
        if (!std::isinf(number) || std::signbit(number) != std::signbit(reference.number))
            fail(text, "leading number " + std::to_string(number) + " should be an infinity");
    } else if (reference.underflow) {
        if (!(std::fabs(number) < 1e-300))
            fail(text, "leading number " + std::to_string(number) + " should be next to zero");
    } else if (number != reference.number) {
        char both[96];
        std::snprintf(both, sizeof both, "leading number %.17g, reference %.17g", number, reference.number);
        fail(text, both);
    }

    // A character that cannot continue a number changes nothing after it;
    // neither do blanks in front.
    const std::string longer = std::string(text) + "x";
    if (tavola::readAnswer(longer) != answer)
        fail(text, "a trailing letter changes the answer");
    const std::string indented = " \t" + std::string(text);
    if (tavola::readAnswer(indented) != answer)
        fail(text, "leading blanks change the answer");
}

// The reference and the product must both read the agreed examples, so that
// the reference is checked before it judges anything.
void checkExamples()
{
    for (const auto& row : tavola::testing::kAnswerExamples) {
        if (referenceAnswer(row.text) != row.answer)
            fail(row.text, "reference reads " + shown(referenceAnswer(row.text)) + ", table says " + shown(row.answer));
        checkText(row.text);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    checkExamples();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    checkText(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
