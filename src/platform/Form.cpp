#include "platform/Form.h"

#include "platform/RecordList.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

namespace vendalise {

QRect twips(int left, int top, int width, int height) {
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

void setFontOf(QWidget* control, double points, bool bold, bool italic) {
    QFont font = control->font();
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(italic);
    control->setFont(font);
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
    // The layouts in twips are made for small system fonts of 8 points.
    QFont small = font();
    small.setPointSizeF(8.25);
    setFont(small);
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

QCheckBox* Form::addCheckBox(const QString& name, const QString& caption, const QRect& where) {
    auto* box = new QCheckBox(caption, this);
    box->setObjectName(name);
    box->setGeometry(where);
    return box;
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
