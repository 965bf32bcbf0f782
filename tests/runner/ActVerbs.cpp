// The verbs that act as the user does: start and restart the program,
// answer its boxes, click, type, press keys, choose rows, close windows.

#include "ScenarioRunner.h"

#include "platform/FolderList.h"
#include "shell/Startup.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QHorizontalBarSeries>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QTabBar>
#include <QTableView>
#include <QTabWidget>
#include <QTextDocumentFragment>

namespace vendalise::testing {

namespace {

void sendClick(QWidget* widget, QPoint where) {
    QMouseEvent press(QEvent::MouseButtonPress, where, widget->mapToGlobal(where), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, where, widget->mapToGlobal(where),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

void sendKey(QWidget* widget, int key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &release);
}

// The key code a keyboard gives for a character: Qt's codes of printable
// ASCII characters are their upper-case codes; other characters come as
// text alone.
int keyFor(QChar c) {
    const char16_t u = c.toUpper().unicode();
    return (u >= 0x20 && u < 0x7f) ? u : 0;
}

// Key names of the "key" verb; any other single character is its own key.
int namedKey(const QString& name) {
    static const QHash<QString, int> keys{
        {QStringLiteral("enter"), Qt::Key_Return},
        {QStringLiteral("escape"), Qt::Key_Escape},
        {QStringLiteral("tab"), Qt::Key_Tab},
        {QStringLiteral("backspace"), Qt::Key_Backspace},
        {QStringLiteral("delete"), Qt::Key_Delete},
        {QStringLiteral("space"), Qt::Key_Space},
        {QStringLiteral("up"), Qt::Key_Up},
        {QStringLiteral("down"), Qt::Key_Down},
        {QStringLiteral("left"), Qt::Key_Left},
        {QStringLiteral("right"), Qt::Key_Right},
        {QStringLiteral("home"), Qt::Key_Home},
        {QStringLiteral("end"), Qt::Key_End},
        {QStringLiteral("pageup"), Qt::Key_PageUp},
        {QStringLiteral("pagedown"), Qt::Key_PageDown},
    };
    if (const auto it = keys.find(name.toLower()); it != keys.end())
        return *it;
    if (name.size() >= 2 && name.size() <= 3 && name[0].toLower() == QLatin1Char('f')) {
        bool ok = false;
        const int n = name.mid(1).toInt(&ok);
        if (ok && n >= 1 && n <= 12)
            return Qt::Key_F1 + n - 1;
    }
    return 0;
}

} // namespace

std::vector<Verb> ScenarioRunner::actVerbs() {
    return {
        {"start", 1, Block::None, "start", &ScenarioRunner::start},
        {"restart", 1, Block::None, "restart", &ScenarioRunner::restart},
        {"answer", 2, Block::None, "answer yes|no", &ScenarioRunner::answer},
        {"input", 2, Block::None, "input TEXT|cancel", &ScenarioRunner::input},
        {"save", 2, Block::None, "save PATH|cancel", &ScenarioRunner::save},
        {"choose-folder", 2, Block::None, "choose-folder PATH|cancel",
         &ScenarioRunner::chooseFolder},
        {"click", 2, Block::None, "click W.C|W", &ScenarioRunner::click},
        {"type", 3, Block::None, "type W.C TEXT", &ScenarioRunner::type},
        {"key", 3, Block::None, "key W.C KEY", &ScenarioRunner::key},
        {"leave", 2, Block::None, "leave W.C", &ScenarioRunner::leave},
        {"select", 3, Block::None, "select W.C TEXT|#N", &ScenarioRunner::select},
        {"sort", 3, Block::None, "sort W.C HEADER", &ScenarioRunner::sort},
        {"open", 3, Block::None, "open W.C PATH", &ScenarioRunner::open},
        {"close", 2, Block::None, "close W", &ScenarioRunner::close},
        {"screenshot", 3, Block::None, "screenshot W FILE.png", &ScenarioRunner::screenshot},
        {"tables", 3, Block::None, "tables W FILE", &ScenarioRunner::tables},
    };
}

void ScenarioRunner::start(const Step&) {
    if (started_)
        abort(QStringLiteral("the program is already started"));
    started_ = true;
    runProgram(*app_);
}

// The program ends and is launched again on the same home, data and
// settings. The ended program's windows are hidden and kept: some of them
// may still be on the call stack.
void ScenarioRunner::restart(const Step&) {
    if (!started_)
        abort(QStringLiteral("the program is not started"));
    for (Form* window : app_->windows().all())
        window->hide();
    modal_.clear();
    // The run before has ended: its lock is given up as its end gives it up.
    app_->folderLock.release();
    ended_apps_.push_back(std::move(app_));
    app_ = std::make_unique<App>(services_);
    installFaults(*app_);
    ended_ = false;
    runProgram(*app_);
}

void ScenarioRunner::answer(const Step& step) {
    messages_.answers.push_back(yes(step.words[1]) ? Answer::Yes : Answer::No);
}

void ScenarioRunner::input(const Step& step) {
    const QString& text = step.words[1];
    messages_.inputs.push_back(text == QLatin1String("cancel") ? std::nullopt
                                                               : std::optional(text));
}

void ScenarioRunner::save(const Step& step) {
    const QString& path = step.words[1];
    messages_.savePaths.push_back(path == QLatin1String("cancel") ? QString() : path);
}

void ScenarioRunner::chooseFolder(const Step& step) {
    const QString& path = step.words[1];
    messages_.folderPaths.push_back(path == QLatin1String("cancel") ? QString() : path);
}

// A click on the header of a table's column.
void ScenarioRunner::sort(const Step& step) {
    const QString& target = step.words[1];
    auto* table = qobject_cast<QTableView*>(actionableControl(target));
    if (!table)
        abort(target + QStringLiteral(" is not a table"));
    QHeaderView* header = table->horizontalHeader();
    const QAbstractItemModel* model = table->model();
    for (int c = 0; c < model->columnCount(); ++c) {
        // A header may be shown on two lines.
        if (model->headerData(c, Qt::Horizontal)
                .toString()
                .replace(QLatin1Char('\n'), QLatin1Char(' ')) == step.words[2]) {
            sendClick(header->viewport(),
                      QPoint(header->sectionViewportPosition(c) + header->sectionSize(c) / 2,
                             header->height() / 2));
            return;
        }
    }
    abort(QStringLiteral("no column %1 in %2").arg(quoted(step.words[2]), target));
}

void ScenarioRunner::click(const Step& step) {
    const QString& target = step.words[1];
    if (!target.contains(QLatin1Char('.'))) {
        Form* window = shownWindow(target);
        // A point of the window that no control covers.
        for (int y = 1; y < window->height(); y += 3) {
            for (int x = 1; x < window->width(); x += 3) {
                if (!window->childAt(x, y)) {
                    sendClick(window, QPoint(x, y));
                    return;
                }
            }
        }
        abort(QStringLiteral("no free place to click in ") + target);
    }
    QWidget* control = actionableControl(target);
    // A button or check box reacts wherever its caption is clicked.
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->click();
        return;
    }
    sendClick(control, control->rect().center());
}

void ScenarioRunner::type(const Step& step) {
    const QString& target = step.words[1];
    const QString& text = step.words[2];
    auto* field = qobject_cast<QLineEdit*>(actionableControl(target));
    if (!field)
        abort(target + QStringLiteral(" is not a text field"));
    field->selectAll();
    if (text.isEmpty()) {
        sendKey(field, Qt::Key_Backspace, {});
        return;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        QString character(text[i]);
        if (text[i].isHighSurrogate() && i + 1 < text.size())
            character += text[++i];
        sendKey(field, keyFor(character[0]), character);
    }
}

void ScenarioRunner::key(const Step& step) {
    const QString& name = step.words[2];
    QWidget* control = actionableControl(step.words[1]);
    int code = namedKey(name);
    QString text;
    if (code == Qt::Key_Return)
        text = QStringLiteral("\r");
    else if (code == Qt::Key_Space)
        text = QStringLiteral(" ");
    else if (code == 0 && name.size() == 1) {
        code = keyFor(name[0]);
        text = name;
    } else if (code == 0)
        abort(QStringLiteral("unknown key ") + name);
    sendKey(control, code, text);
}

void ScenarioRunner::leave(const Step& step) {
    QWidget* control = actionableControl(step.words[1]);
    QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(control, &focusOut);
}

void ScenarioRunner::select(const Step& step) {
    const QString& target = step.words[1];
    const QString& row = step.words[2];
    QWidget* control = actionableControl(target);
    auto rowIndex = [&](const QStringList& texts) {
        if (row.startsWith(QLatin1Char('#'))) {
            bool ok = false;
            const int n = row.mid(1).toInt(&ok);
            if (!ok || n < 1 || n > texts.size())
                abort(
                    QStringLiteral("no row %1 in %2 (%3 rows)").arg(row, target).arg(texts.size()));
            return n - 1;
        }
        const qsizetype i = texts.indexOf(row);
        if (i < 0)
            abort(QStringLiteral("no row %1 in %2").arg(quoted(row), target));
        return static_cast<int>(i);
    };
    // A list's row, or a table's by the text of its first cell.
    if (qobject_cast<QListView*>(control) || qobject_cast<QTableView*>(control)) {
        auto* view = static_cast<QAbstractItemView*>(control);
        QAbstractItemModel* model = view->model();
        QStringList texts;
        for (int i = 0; i < model->rowCount(); ++i)
            texts.append(model->index(i, 0).data().toString());
        const QModelIndex index = model->index(rowIndex(texts), 0);
        view->scrollTo(index);
        const QRect where = view->visualRect(index);
        if (where.isEmpty())
            abort(QStringLiteral("the row cannot be reached in ") + target);
        sendClick(view->viewport(), where.center());
        return;
    }
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        QStringList texts;
        for (int i = 0; i < combo->count(); ++i)
            texts.append(combo->itemText(i));
        const int index = rowIndex(texts);
        combo->setCurrentIndex(index);
        Q_EMIT combo->activated(index);
        return;
    }
    if (auto* tabs = qobject_cast<QTabWidget*>(control)) {
        QStringList texts;
        for (int i = 0; i < tabs->count(); ++i)
            texts.append(tabs->tabText(i));
        QTabBar* bar = tabs->tabBar();
        sendClick(bar, bar->tabRect(rowIndex(texts)).center());
        return;
    }
    abort(target + QStringLiteral(" is not a list, table, combo box or tabs"));
}

void ScenarioRunner::open(const Step& step) {
    const QString& target = step.words[1];
    auto* folders = qobject_cast<FolderList*>(actionableControl(target));
    if (!folders)
        abort(target + QStringLiteral(" is not a folder list"));
    if (!folders->open(step.words[2]))
        abort(QStringLiteral("no such folder: ") + step.words[2]);
}

void ScenarioRunner::close(const Step& step) {
    shownWindow(step.words[1])->close();
}

void ScenarioRunner::tables(const Step& step) {
    QString text;
    const auto line = [&](const QStringList& cells) {
        text += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    };
    for (const QTableView* table : shownWindow(step.words[1])->findChildren<QTableView*>()) {
        const QAbstractItemModel* model = table->model();
        line({table->objectName()});
        QStringList header;
        for (int c = 0; c < model->columnCount(); ++c)
            header.append(model->headerData(c, Qt::Horizontal)
                              .toString()
                              .replace(QLatin1Char('\n'), QLatin1Char(' ')));
        line(header);
        for (int r = 0; r < model->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < model->columnCount(); ++c)
                cells.append(model->index(r, c).data().toString());
            line(cells);
        }
        text += QLatin1Char('\n');
    }
    // Each chart: its name, its title, its categories, then a line per
    // series (its name and values, to the cent with a decimal comma).
    for (const QChartView* view : shownWindow(step.words[1])->findChildren<QChartView*>()) {
        const QChart* chart = view->chart();
        line({view->objectName()});
        line({chart->title()});
        QStringList categories;
        for (QAbstractAxis* axis : chart->axes())
            if (auto* names = qobject_cast<QBarCategoryAxis*>(axis))
                categories = names->categories();
        const auto* series = qobject_cast<const QAbstractBarSeries*>(chart->series().value(0));
        // A horizontal chart holds its rows from the bottom up.
        const bool reversed = qobject_cast<const QHorizontalBarSeries*>(series) != nullptr;
        if (reversed)
            std::reverse(categories.begin(), categories.end());
        // The axis holds its labels as rich text.
        for (QString& category : categories)
            category = QTextDocumentFragment::fromHtml(category).toPlainText();
        line(categories.isEmpty() ? QStringList{QStringLiteral("(aucune)")} : categories);
        for (const QBarSet* set : series ? series->barSets() : QList<QBarSet*>{}) {
            QStringList values{set->label()};
            for (int i = 0; i < set->count(); ++i)
                values.append(QString::number(set->at(reversed ? set->count() - 1 - i : i), 'f', 2)
                                  .replace(QLatin1Char('.'), QLatin1Char(',')));
            line(values);
        }
        text += QLatin1Char('\n');
    }
    QFile file(step.words[2]);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text.toUtf8()) < 0)
        abort(QStringLiteral("cannot write ") + step.words[2]);
}

void ScenarioRunner::screenshot(const Step& step) {
    if (!shownWindow(step.words[1])->grab().save(step.words[2], "PNG"))
        abort(QStringLiteral("cannot write the picture ") + step.words[2]);
}

} // namespace vendalise::testing
