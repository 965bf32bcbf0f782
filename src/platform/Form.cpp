#include "platform/Form.h"

#include "platform/RecordList.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleOption>

#include <algorithm>

namespace vendalise {

QRect twips(int left, int top, int width, int height) {
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

int pointsToPixels(double points) {
    return qRound(points * 96 / 72);
}

QFont dialogFont() {
    // 8.25 points is how the form designer stores 8 points: 11 pixels at 96
    // dots per inch.
    QFont font;
#ifdef Q_OS_WIN
    // "MS Sans Serif" is the old bitmap face that Windows maps to its
    // TrueType "Microsoft Sans Serif"; Wine, which has neither as an outline
    // face, has Tahoma, which is slightly wider.
    font.setFamilies({QStringLiteral("Microsoft Sans Serif"), QStringLiteral("MS Sans Serif"),
                      QStringLiteral("Tahoma")});
#else
    // Liberation Sans has Arial's widths, the closest outline face to
    // Microsoft Sans Serif that Debian has.
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")});
#endif
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pointsToPixels(8.25));
    return font;
}

void setBoldOf(QWidget* control) {
    QFont font = control->font();
    font.setBold(true);
    control->setFont(font);
}

void setFontOf(QWidget* control, double points, bool bold, bool italic) {
    QFont font = control->font();
    font.setPixelSize(pointsToPixels(points));
    font.setBold(bold);
    font.setItalic(italic);
    control->setFont(font);
}

QSize captionExtent(const QWidget& control) {
    const QStyle* style = control.style();
    const QFontMetrics metrics = control.fontMetrics();
    if (const auto* label = qobject_cast<const QLabel*>(&control)) {
        if (label->text().isEmpty() || label->textFormat() == Qt::RichText)
            return {};
        const QSize chrome = label->size() - label->contentsRect().size() +
                             QSize(2 * label->margin(), 2 * label->margin());
        if (label->wordWrap())
            return metrics
                       .boundingRect(0, 0, label->width() - chrome.width(), 1 << 20,
                                     Qt::TextWordWrap | Qt::TextShowMnemonic, label->text())
                       .size() +
                   chrome;
        return metrics.size(Qt::TextShowMnemonic, label->text()) + chrome;
    }
    const auto* button = qobject_cast<const QAbstractButton*>(&control);
    if (!button || button->text().isEmpty())
        return {};
    const QSize text = metrics.size(Qt::TextShowMnemonic, button->text());
    QStyleOptionButton option;
    option.initFrom(button);
    if (qobject_cast<const QCheckBox*>(button)) {
        const int width = style->pixelMetric(QStyle::PM_IndicatorWidth, &option, button);
        const int height = style->pixelMetric(QStyle::PM_IndicatorHeight, &option, button);
        const int spacing = style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, button);
        return {width + spacing + text.width(), std::max(height, text.height())};
    }
    const int margin = style->pixelMetric(QStyle::PM_ButtonMargin, &option, button);
    const int frame = 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, button);
    const int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
    return {text.width() + icon + margin + frame, text.height() + frame};
}

ClickLabel::ClickLabel(QWidget* parent) : QLabel(parent) {}

void ClickLabel::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

Form::Form(const QString& name, int clientWidthTwips, int clientHeightTwips, QWidget* parent)
    : QDialog(parent) {
    setObjectName(name);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(twipsToPixels(clientWidthTwips), twipsToPixels(clientHeightTwips));
    setFont(dialogFont());
}

ClickLabel* Form::addLabel(const QString& name, const QString& text, const QRect& where) {
    auto* label = new ClickLabel(this);
    label->setObjectName(name);
    label->setText(text);
    label->setGeometry(where);
    return label;
}

QPushButton* Form::addButton(const QString& name, const QString& caption, const QString& tooltip,
                             const QRect& where) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setToolTip(tooltip);
    button->setGeometry(where);
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

RecordList* Form::addList(const QString& name, bool sorted, const QString& tooltip,
                          const QRect& where) {
    auto* list = new RecordList(this, sorted);
    list->setObjectName(name);
    list->setToolTip(tooltip);
    list->setGeometry(where);
    return list;
}

QPushButton* Form::addPictureButton(const QString& name, const QIcon& picture,
                                    const QString& tooltip, const QRect& where) {
    QPushButton* button = addButton(name, {}, tooltip, where);
    button->setIcon(picture);
    button->setIconSize(button->size() - QSize(8, 8));
    return button;
}

void TextField::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    Q_EMIT left();
}

TextField* Form::addField(const QString& name, const QRect& where) {
    auto* field = new TextField(this);
    field->setObjectName(name);
    field->setGeometry(where);
    return field;
}

namespace {

// The style of the program's check boxes: the application's, with an
// indicator no taller than the check box, so that a box of 13 pixels (195
// twips, the height of Windows' own indicator) shows it whole in styles
// whose indicator is larger.
class CheckBoxStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        const int size = QProxyStyle::pixelMetric(metric, option, widget);
        if (widget && (metric == PM_IndicatorHeight || metric == PM_IndicatorWidth))
            return std::min(size, widget->height());
        return size;
    }
};

QStyle* checkBoxStyle() {
    static QPointer<CheckBoxStyle> style;
    if (!style) {
        style = new CheckBoxStyle;
        style->setParent(qApp);
    }
    return style;
}

} // namespace

QCheckBox* Form::addCheckBox(const QString& name, const QString& caption, const QRect& where) {
    auto* box = new QCheckBox(caption, this);
    box->setStyle(checkBoxStyle());
    box->setObjectName(name);
    box->setGeometry(where);
    return box;
}

void Form::makeResizable() {
    const QSize designed = size();
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    resize(designed);
}

void Form::fitCaptions() {
    // A laid-out window gives each control the size its caption needs.
    if (layout())
        return;
    // Below 6 points a caption is no longer read: it stays cut, and says so
    // to the test that walks the windows.
    const int smallest = pointsToPixels(6);
    for (QWidget* control : findChildren<QWidget*>()) {
        QSize needed = captionExtent(*control);
        while (needed.isValid() &&
               (needed.width() > control->width() || needed.height() > control->height()) &&
               control->font().pixelSize() > smallest) {
            QFont smaller = control->font();
            smaller.setPixelSize(smaller.pixelSize() - 1);
            control->setFont(smaller);
            needed = captionExtent(*control);
        }
    }
}

void Form::showEvent(QShowEvent* event) {
    fitCaptions();
    QDialog::showEvent(event);
}

void Form::closeEvent(QCloseEvent* event) {
    QDialog::closeEvent(event);
    if (event->isAccepted() || !isVisible())
        Q_EMIT discarded();
}

void Form::keyPressEvent(QKeyEvent* event) {
    // QDialog would hide the window on Escape and press a default button on
    // Enter; the program's windows do neither.
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void Form::mousePressEvent(QMouseEvent* event) {
    pressedOnBackground_ = event->button() == Qt::LeftButton;
    event->accept();
}

void Form::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (pressedOnBackground_ && event->button() == Qt::LeftButton &&
        rect().contains(event->position().toPoint())) {
        pressedOnBackground_ = false;
        Q_EMIT backgroundClicked();
    }
}

} // namespace vendalise
