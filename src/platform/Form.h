#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>

class QPushButton;
class QCheckBox;

namespace vendalise {

class RecordList;

// 1 twip = 1/1440 inch: 15 twips make one pixel at 96 dots per inch.
constexpr int twipsToPixels(int twips) {
    return (twips + 7) / 15;
}
QRect twips(int left, int top, int width, int height);

// A label that reacts to a click, as every label of the program does: a
// click on a label is the label's, never the window background's.
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickLabel(QWidget* parent = nullptr);
Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// Fonts are sized in whole pixels at 96 dots per inch, as Windows sizes its
// own and as the layouts in twips are, whatever the screen's font density.
int pointsToPixels(double points);

// The font every window's layout in twips is made for: the 8-point
// sans-serif dialog face of Windows, or the face with its widths.
QFont dialogFont();

// The size a control's caption needs with the control's font: the text's
// extent, plus the frame and margins of a label, the style's margin and
// frame of a button, the indicator and its spacing of a check box. Invalid
// for a control that shows no caption.
QSize captionExtent(const QWidget& control);

// Gives a control a font of this size, bold and italic or not.
void setFontOf(QWidget* control, double points, bool bold = false, bool italic = false);
// Makes a control's font bold, its size kept.
void setBoldOf(QWidget* control);

// A text field that tells when it loses the focus.
class TextField : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;
Q_SIGNALS:
    void left();

protected:
    void focusOutEvent(QFocusEvent* event) override;
};

// Base of every window: a fixed client area given in twips, controls placed
// by twips, no default button (Enter belongs to the field that has the
// focus), Escape does nothing. The close box discards the window: its owner
// forgets it and creates it afresh on next use; a return button only hides
// it, keeping its contents.
class Form : public QDialog {
    Q_OBJECT
public:
    Form(const QString& name, int clientWidthTwips, int clientHeightTwips,
         QWidget* parent = nullptr);

    // Shrinks the font of each control whose caption does not fit, only as
    // much as needed; the layout stays as designed. A window laid out by
    // Qt's layouts needs none: each control gets the size it asks for.
    void fitCaptions();

    // A window laid out by Qt's layouts rather than by twips: its size is
    // the one given in twips when it is first shown, and the user may
    // resize it (no smaller than its layout allows) and maximise it.
    void makeResizable();

Q_SIGNALS:
    // The window was closed with its close box.
    void discarded();
    // A click on the window itself, not on one of its controls.
    void backgroundClicked();

protected:
    ClickLabel* addLabel(const QString& name, const QString& text, const QRect& where);
    QPushButton* addButton(const QString& name, const QString& caption, const QString& tooltip,
                           const QRect& where);
    TextField* addField(const QString& name, const QRect& where);
    QCheckBox* addCheckBox(const QString& name, const QString& caption, const QRect& where);
    // A list of rows, sorted by text or kept in the order given.
    RecordList* addList(const QString& name, bool sorted, const QString& tooltip,
                        const QRect& where);
    // A button showing a picture instead of a caption.
    QPushButton* addPictureButton(const QString& name, const QIcon& picture, const QString& tooltip,
                                  const QRect& where);

    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool pressedOnBackground_ = false;
};

} // namespace vendalise
