#pragma once

#include <QStringList>

class QWidget;

namespace vendalise {

// Every label, button and check box of the window that shows a caption and
// is not hidden, whose caption does not fit inside the control at its size
// with the control's font (captionExtent). One line each:
// "Name: "text" needs W x H, has W x H in P pixels".
QStringList captionsThatDoNotFit(const QWidget& window);

} // namespace vendalise
