#include "ui/qt_services.h"

#include <QApplication>
#include <QDateTime>
#include <QInputDialog>
#include <QMessageBox>

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

void QtServices::randomize() { m_random.randomize(); }

double QtServices::nextRandom() { return m_random.next(); }

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
