#include "assignment/progressstandaside.h"

#include <QProgressDialog>

ProgressStandAside::ProgressStandAside(QProgressDialog *dialog)
{
    // A cancelled window is hidden already, and reset() would forget the cancel.
    if (!dialog || dialog->wasCanceled())
        return;
    m_dialog = dialog;
    m_value = dialog->value();
    // The one public way to stop the timer that would show the window: it
    // also hides it and counts it as never shown.
    dialog->reset();
    dialog->hide();
}

ProgressStandAside::~ProgressStandAside()
{
    // Cancelled while aside (the box's "Cancel"): the job ends without its window.
    if (!m_dialog || m_dialog->wasCanceled())
        return;
    // After reset() the first value starts the window's clock again when it is
    // the minimum, and shows the window when the job began long enough ago.
    m_dialog->setValue(m_value);
}
