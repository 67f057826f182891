#pragma once

namespace tavola {

// Installs what screen readers need of the window beyond Qt's own: pictures
// read as images, and no stray caret news from the answer box. Once, before
// the first control is built.
void installAccessibility();

}  // namespace tavola
