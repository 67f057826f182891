#pragma once

#include <QString>
#include <string_view>

namespace tavola {

// A text of the game logic (UTF-8) as Qt's.
inline QString qs(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

}  // namespace tavola
