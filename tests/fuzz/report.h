#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace tavola::fuzz {

// The input as printable ASCII, other bytes as \xNN, for the failure message.
inline std::string printable(std::string_view text)
{
    std::string out;
    for (const unsigned char c : text) {
        if (c >= 32 && c < 127 && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            out += hex;
        }
    }
    return out;
}

// Stops the fuzzer on a broken property; libFuzzer keeps the input.
[[noreturn]] inline void failOn(const char* reader, std::string_view text, const std::string& what)
{
    std::fprintf(stderr, "%s \"%s\": %s\n", reader, printable(text).c_str(), what.c_str());
    std::abort();
}

}  // namespace tavola::fuzz
