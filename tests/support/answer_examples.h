#pragma once

#include <cstdint>
#include <optional>

namespace tavola::testing {

// Texts in the answer box, typed or pasted, and the 16-bit number each reads
// as; nothing where the number it begins with is no 16-bit value. The unit
// tests score them, the fuzz target's reference reader is checked on them,
// and the day simulation pastes them.
struct AnswerExample {
    const char* text;
    std::optional<std::int16_t> answer;
};

inline constexpr std::nullopt_t kNoNumber = std::nullopt;

inline constexpr AnswerExample kAnswerExamples[] = {
    {"", 0},           {"-", 0},          {"--", 0},           {"--5", 0},          {"-0", 0},
    {"5-", 5},         {"3-2", 3},        {"007", 7},          {"-15", -15},        {"  12", 12},
    {"\t\n\r-3", -3},  {"+7", 7},         {".5", 0},           {"0.51", 1},         {"2.5", 2},
    {"3.5", 4},        {"-2.5", -2},      {"-3.5", -4},        {"1.5d1", 15},       {"1d2", 100},
    {"25E-1", 2},      {"9E-1", 1},       {"9e3", 9000},       {"1e", 1},           {"1e+", 1},
    {"4.", 4},         {".", 0},          {"-.", 0},           {"12abc", 12},       {"ciao", 0},
    {"9999", 9999},    {"-999", -999},    {"32767", 32767},    {"32767.4", 32767},  {"32767.5", kNoNumber},
    {"32768", kNoNumber},                 {"40000", kNoNumber}, {"-32768", -32768}, {"-32768.5", -32768},
    {"-32768.6", kNoNumber},              {"9e99", kNoNumber}, {"-9e999", kNoNumber},
    {"1e999999999999", kNoNumber},        {"1e-999999999", 0}, {"abc", 0},          {"0x10", 0},
    {"inf", 0},        {"nan", 0},        {"1 2", 1},          {"12,5", 12},
};

}  // namespace tavola::testing
