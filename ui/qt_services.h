#pragma once

#include <QPointer>
#include <QWidget>
#include "runtime/random_source.h"
#include "runtime/services.h"

namespace tavola {

// The platform's services: local clock, a random source, the bell and Qt's
// modal boxes over the game window.
class QtServices : public Services {
public:
    void setParentWindow(QWidget* window) { m_parent = window; }

    TimeValue now() override;
    void randomize() override;
    double nextRandom() override;
    void beep() override;
    MsgBoxResult msgBox(std::string_view prompt, MsgBoxButtons buttons, std::string_view title) override;
    std::string inputBox(std::string_view prompt, std::string_view title, std::string_view defaultText) override;
    void end() override;

private:
    QPointer<QWidget> m_parent;
    RandomSource m_random;
};

}  // namespace tavola
