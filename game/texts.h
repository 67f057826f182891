#pragma once

#include <string>
#include <string_view>

namespace tavola {

// The window's fixed texts, all in one place.
namespace text {

inline constexpr std::string_view kCaption = "Vorlando";

inline constexpr std::string_view kRight = "Esatto, è incredibile!!!";
inline constexpr std::string_view kWrongPrefix = "Sbagliato!! ";

inline constexpr std::string_view kNewGamePrompt = "INIZIAMO UNA NUOVA GARA  ?";
inline constexpr std::string_view kNewGameTitle = "INIZIARE NUOVA GARA";

inline constexpr std::string_view kEndPrefix = "Gioco fino alle ";
inline constexpr std::string_view kEndTitle = "Fine";

inline constexpr std::string_view kEndTimePrompt = "Immettere l'orario di fine  gioco";
inline constexpr std::string_view kEndTimeTitle = "Il gioco termina alle ore";
inline constexpr std::string_view kBadEndTime = "L'orario immesso non è valido.";
inline constexpr std::string_view kBadEndTimeTitle = "Orario di esempio  14.22";

}  // namespace text

// What a screen reader says, composed so that every minus sign is heard as a
// word and the brackets of A − (B) are not lost.
namespace spoken {

// "meno 3" for -3, "7" for 7.
std::string number(long long value);

// "7 meno, tra parentesi, meno 3?": the answer box's name. At most 37
// characters, so that a 40-cell braille display shows it whole beside the caret.
std::string question(long long operandA, long long operandB);

// The verdict with the problem, its value and the three counters as shown.
std::string verdict(bool right, long long operandA, long long operandB, long long value, std::string_view correct,
                    std::string_view wrong, std::string_view total);

// The answer box's description: its role, and once answers were scored the
// last outcome and the counters, for "where am I".
std::string answerBox(bool anyAnswer, bool lastRight, std::string_view correct, std::string_view wrong,
                      std::string_view total);

// Confirms an accepted end time to a screen reader.
std::string endTimeSet(std::string_view time);

}  // namespace spoken

}  // namespace tavola
