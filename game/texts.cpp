#include "game/texts.h"

#include "runtime/numbers.h"

namespace tavola::spoken {

namespace {

std::string problem(long long operandA, long long operandB)
{
    return number(operandA) + " meno, tra parentesi, " + number(operandB);
}

std::string counters(std::string_view correct, std::string_view wrong, std::string_view total)
{
    return "Risposte esatte " + std::string(correct) + ", errate " + std::string(wrong) + ", totali " +
           std::string(total) + ".";
}

}  // namespace

std::string number(long long value) { return value < 0 ? "meno " + formatInteger(-value) : formatInteger(value); }

std::string question(long long operandA, long long operandB) { return problem(operandA, operandB) + "?"; }

std::string verdict(bool right, long long operandA, long long operandB, long long value, std::string_view correct,
                    std::string_view wrong, std::string_view total)
{
    return std::string(right ? "Esatto, è incredibile! " : "Sbagliato! ") + problem(operandA, operandB) + " fa " +
           number(value) + ". " + counters(correct, wrong, total);
}

std::string answerBox(bool anyAnswer, bool lastRight, std::string_view correct, std::string_view wrong,
                      std::string_view total)
{
    if (!anyAnswer)
        return "risposta";
    return std::string("risposta. Ultima risposta ") + (lastRight ? "esatta. " : "sbagliata. ") +
           counters(correct, wrong, total);
}

std::string endTimeSet(std::string_view time) { return std::string(text::kEndTimeTitle) + " " + std::string(time); }

}  // namespace tavola::spoken
