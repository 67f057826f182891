#include "ui/qt_services.h"

#include <QApplication>
#include <QDateTime>
#include <QGridLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

#include "ui/application.h"
#include "ui/bell.h"
#include "ui/qt_text.h"
#include "ui/wayland_dialog.h"

namespace tavola {

namespace {

// Wide enough for the desktop to show the whole title beside its buttons.
int widthForTitle(const QWidget& box, const QString& title)
{
    QFont font = box.font();
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(title) * 5 / 4 + 160;
}

// Shown before its loop runs: a Wayland compositor must hear that it is a
// dialog before it first places it.
int execModal(QDialog& box)
{
    box.setWindowModality(Qt::ApplicationModal);
    box.show();
    const ModalDialogMark dialog(box.windowHandle());
    return box.exec();
}

}  // namespace

TimeValue QtServices::now()
{
    const QDateTime local = QDateTime::currentDateTime();
    const QDate date = local.date();
    const QTime time = local.time();
    // The current whole second, as a clock shows it: never ahead of the time.
    return makeDate(date.year(), date.month(), date.day()) + makeTime(time.hour(), time.minute(), time.second());
}

void QtServices::randomize() { m_random.randomize(); }

double QtServices::nextRandom() { return m_random.next(); }

void QtServices::beep() { ringBell(); }

MsgBoxResult QtServices::msgBox(std::string_view prompt, MsgBoxButtons buttons, std::string_view title)
{
    useItalianQtTexts();
    QMessageBox box(m_parent);
    box.setWindowTitle(qs(title));
    box.setText(qs(prompt));
    box.setTextFormat(Qt::PlainText);
    // A braille display shows a box by its name alone: the message belongs in
    // it. A screen reader then no longer reads the message a second time.
    box.setAccessibleName(qs(title) + ". " + qs(prompt));
    // A message box sizes itself to its text; a spacer below it widens it.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(widthForTitle(box, box.windowTitle()), 0, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    if (buttons == MsgBoxButtons::yesNoDefaultNo) {
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    const int answer = execModal(box);
    if (buttons == MsgBoxButtons::okOnly)
        return MsgBoxResult::ok;
    return answer == QMessageBox::Yes ? MsgBoxResult::yes : MsgBoxResult::no;
}

std::string QtServices::inputBox(std::string_view prompt, std::string_view title, std::string_view defaultText)
{
    useItalianQtTexts();
    QInputDialog dialog(m_parent);
    dialog.setObjectName("inputBox");
    dialog.setWindowTitle(qs(title));
    dialog.setLabelText(qs(prompt));
    dialog.setTextValue(qs(defaultText));
    // The dialog fits its layout to the entry, so the entry sets its width.
    if (auto* entry = dialog.findChild<QLineEdit*>())
        entry->setMinimumWidth(widthForTitle(dialog, dialog.windowTitle()) - 24);
    if (execModal(dialog) != QDialog::Accepted)
        return {};
    return dialog.textValue().toStdString();
}

void QtServices::end() { QCoreApplication::exit(0); }

}  // namespace tavola
