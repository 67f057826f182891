#pragma once

#include <QList>
#include <array>

#include "game/form.h"
#include "ui/answer_box.h"
#include "ui/buttons.h"
#include "ui/label.h"
#include "ui/picture_view.h"
#include "ui/surface.h"

namespace tavola {

// The controls of the window, built afresh on every load, each as what it is.
struct Controls {
    Surface* surface = nullptr;
    AnswerBox* txtAnswer = nullptr;
    PictureButton* cmdNext = nullptr;
    PictureButton* cmdExit = nullptr;
    // The labels the game logic writes, by the Control each is; none for the
    // answer box and the buttons.
    std::array<Label*, kControlCount> labels{};
    // Every control of the layout, front to back.
    QList<QWidget*> all;

    Label* label(Control control) const { return labels[std::size_t(control)]; }
    // The widget the game logic knows as `control`.
    QWidget* widget(Control control) const;
};

// Builds every control on a new surface, with its captions, fonts, colours,
// pictures, tooltips, layering and tab order as at program start.
Controls buildControls();

}  // namespace tavola
