#include "ui/qt_services.h"

#include <QApplication>
#include <QDateTime>
#include <QInputDialog>
#include <QMessageBox>
#include <chrono>

#include "ui/bell.h"

namespace tavola {

namespace {

QString qs(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

}  // namespace

TimeValue QtServices::now()
{
    const QDateTime local = QDateTime::currentDateTime();
    const QDate date = local.date();
    const QTime time = local.time();
    return makeDate(date.year(), date.month(), date.day()) + time.msecsSinceStartOfDay() / 86400000.0;
}

void QtServices::randomize()
{
    // Every reseed gets its own seed, even two within the same tick of the
    // clock, so that the draws after one reseed are not tied to those after another.
    const auto ticks = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::seed_seq seed{std::uint32_t(ticks), std::uint32_t(ticks >> 32), std::uint32_t(++m_reseeds),
                       std::uint32_t(std::random_device{}())};
    m_engine.seed(seed);
}

double QtServices::nextRandom()
{
    // 53 random bits: uniform in [0, 1), never 1.
    return double(m_engine() >> 11) * 0x1.0p-53;
}

void QtServices::beep() { ringBell(); }

MsgBoxResult QtServices::msgBox(std::string_view prompt, MsgBoxButtons buttons, std::string_view title)
{
    QMessageBox box(m_parent);
    box.setWindowTitle(qs(title));
    box.setText(qs(prompt));
    box.setTextFormat(Qt::PlainText);
    if (buttons == MsgBoxButtons::yesNoDefaultNo) {
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    const int answer = box.exec();
    if (buttons == MsgBoxButtons::okOnly)
        return MsgBoxResult::ok;
    return answer == QMessageBox::Yes ? MsgBoxResult::yes : MsgBoxResult::no;
}

std::string QtServices::inputBox(std::string_view prompt, std::string_view title, std::string_view defaultText)
{
    QInputDialog dialog(m_parent);
    dialog.setObjectName("inputBox");
    dialog.setWindowTitle(qs(title));
    dialog.setLabelText(qs(prompt));
    dialog.setTextValue(qs(defaultText));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.textValue().toStdString();
}

void QtServices::end() { QCoreApplication::exit(0); }

}  // namespace tavola
