#pragma once

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace tavola::testing {

// Closes every modal box still open, so that a failing test cannot hang the run.
inline void closeLeftoverModals()
{
    while (QWidget* modal = QApplication::activeModalWidget())
        modal->close();
}

// Acts on the next modal box as soon as it is open: polls for it, so it works
// however late the box opens. Gives up after `timeoutMs`. A check that fails
// inside `act` closes the box, so that the test goes on to report it rather
// than wait in the box's loop.
inline void whenModalOpens(std::function<void(QWidget*)> act, int timeoutMs = 5000)
{
    auto* poll = new QTimer(qApp);
    auto* waited = new int(0);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, waited, act = std::move(act), timeoutMs] {
        *waited += 10;
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal && *waited < timeoutMs)
            return;
        poll->stop();
        poll->deleteLater();
        delete waited;
        if (modal)
            act(modal);
        if (QTest::currentTestFailed())
            closeLeftoverModals();
    });
    poll->start();
}

}  // namespace tavola::testing
