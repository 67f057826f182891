#include "ui/accessibility.h"

#include <QAccessible>

#include "ui/answer_box.h"
#include "ui/picture_view.h"

namespace tavola {

namespace {

void withoutStrayCaretMoves(QAccessibleEvent* event)
{
    if (AnswerBox::isStrayCaretEvent(*event))
        return;
    // Hand everything else on along Qt's own way.
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(withoutStrayCaretMoves);
}

}  // namespace

void installAccessibility()
{
    static const bool installed = [] {
        PictureView::installAccessibleRole();
        QAccessible::installUpdateHandler(withoutStrayCaretMoves);
        return true;
    }();
    (void)installed;
}

}  // namespace tavola
