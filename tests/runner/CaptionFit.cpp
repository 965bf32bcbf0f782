#include "CaptionFit.h"

#include "platform/Form.h"

#include <QAbstractButton>
#include <QLabel>

namespace vendalise {

QStringList captionsThatDoNotFit(const QWidget& window) {
    QStringList cut;
    for (const QWidget* control : window.findChildren<QWidget*>()) {
        if (!control->isVisibleTo(&window))
            continue;
        const QSize needed = captionExtent(*control);
        if (!needed.isValid() ||
            (needed.width() <= control->width() && needed.height() <= control->height()))
            continue;
        const auto* label = qobject_cast<const QLabel*>(control);
        QString text =
            label ? label->text() : qobject_cast<const QAbstractButton*>(control)->text();
        cut << QStringLiteral("%1: \"%2\" needs %3 x %4, has %5 x %6 in %7 pixels")
                   .arg(control->objectName(),
                        text.replace(QLatin1Char('\n'), QStringLiteral("\\n")))
                   .arg(needed.width())
                   .arg(needed.height())
                   .arg(control->width())
                   .arg(control->height())
                   .arg(control->font().pixelSize());
    }
    return cut;
}

} // namespace vendalise
