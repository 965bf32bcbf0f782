// The verbs that check what a user sees: the boxes shown, the windows and
// their controls, what was printed, and the program's state.

#include "ScenarioRunner.h"

#include "access/Access.h"
#include "CaptionFit.h"
#include "cash/CashLedger.h"
#include "catalogue/Catalogue.h"
#include "members/MemberTable.h"
#include "platform/FolderList.h"
#include "platform/NumberForm.h"
#include "sales/Ledger.h"
#include "shell/ShellState.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTextEdit>

#include <map>

namespace vendalise::testing {

namespace {

QString describePrinted(const ScriptedPrinter::Line& line) {
    if (line.endOfDocument)
        return QStringLiteral("enddoc");
    return (line.failed ? QStringLiteral("failed ") : QString()) + QString::number(line.size) +
           (line.bold ? QStringLiteral(" bold") : QStringLiteral(" -")) +
           (line.underline ? QStringLiteral(" underline ") : QStringLiteral(" - ")) +
           quoted(line.text);
}

} // namespace

std::vector<Verb> ScenarioRunner::expectVerbs() {
    return {
        {"expect message", 4, Block::None,
         "expect message TITLE TEXT [none|information|exclamation|critical] [ok|yesno]",
         &ScenarioRunner::expectMessage},
        {"expect input", 4, Block::None, "expect input TITLE PROMPT [PROPOSED]",
         &ScenarioRunner::expectInput},
        {"expect no-message", 2, Block::None, "expect no-message",
         &ScenarioRunner::expectNoMessage},
        {"expect text", 4, Block::None, "expect text W.C|W TEXT", &ScenarioRunner::expectText},
        {"expect visible", 4, Block::None, "expect visible W.C yes|no",
         &ScenarioRunner::expectVisible},
        {"expect checked", 4, Block::None, "expect checked W.C yes|no",
         &ScenarioRunner::expectChecked},
        {"expect shown", 4, Block::None, "expect shown W yes|no", &ScenarioRunner::expectShown},
        {"expect loaded", 4, Block::None, "expect loaded W yes|no", &ScenarioRunner::expectLoaded},
        {"expect selected", 4, Block::None, "expect selected W.C TEXT|none",
         &ScenarioRunner::expectSelected},
        {"expect rows", 3, Block::Words, "expect rows W.C, one TEXT DATA line per row, end",
         &ScenarioRunner::expectRows},
        {"expect tooltip", 4, Block::None, "expect tooltip W.C TEXT",
         &ScenarioRunner::expectTooltip},
        {"expect enabled", 4, Block::None, "expect enabled W.C yes|no",
         &ScenarioRunner::expectEnabled},
        {"expect captions", 3, Block::None, "expect captions W...",
         &ScenarioRunner::expectCaptions},
        {"expect printed", 2, Block::Words,
         "expect printed, one [failed] SIZE bold|- underline|- TEXT or enddoc line, end",
         &ScenarioRunner::expectPrinted},
        {"expect ended", 3, Block::None, "expect ended yes|no", &ScenarioRunner::expectEnded},
        {"expect state", 4, Block::None, "expect state NAME VALUE", &ScenarioRunner::expectState},
    };
}

void ScenarioRunner::expectMessage(const Step& step) {
    expectBox(false, step.words.mid(2));
}

void ScenarioRunner::expectInput(const Step& step) {
    expectBox(true, step.words.mid(2));
}

void ScenarioRunner::expectBox(bool input, const QStringList& words) {
    const QString kind = input ? QStringLiteral("input") : QStringLiteral("message");
    if (boxesExpected_ >= messages_.shown.size()) {
        fail(QStringLiteral("expected %1 %2 %3, but none was shown")
                 .arg(kind, quoted(words[0]), quoted(words[1])));
        return;
    }
    const ShownBox& box = messages_.shown[boxesExpected_++];
    ShownBox expected = box;
    expected.isInput = input;
    expected.title = words[0];
    expected.text = words[1];
    if (input) {
        if (words.size() > 2)
            expected.proposed = words[2];
    } else {
        static const QHash<QString, Messages::Icon> icons{
            {QStringLiteral("none"), Messages::Icon::None},
            {QStringLiteral("information"), Messages::Icon::Information},
            {QStringLiteral("exclamation"), Messages::Icon::Exclamation},
            {QStringLiteral("critical"), Messages::Icon::Critical}};
        for (const QString& word : words.mid(2)) {
            if (word == QLatin1String("ok"))
                expected.buttons = Messages::Buttons::Ok;
            else if (word == QLatin1String("yesno"))
                expected.buttons = Messages::Buttons::YesNo;
            else if (icons.contains(word))
                expected.icon = icons.value(word);
            else
                abort(QStringLiteral("unknown icon or buttons: ") + word);
        }
    }
    const QString wanted = describe(expected);
    const QString actual = describe(box);
    if (wanted != actual)
        fail(QStringLiteral("expected %1\n    got %2").arg(wanted, actual));
}

void ScenarioRunner::expectNoMessage(const Step&) {
    for (; boxesExpected_ < messages_.shown.size(); ++boxesExpected_)
        fail(QStringLiteral("not expected: ") + describe(messages_.shown[boxesExpected_]));
}

void ScenarioRunner::expectText(const Step& step) {
    const QStringList& w = step.words;
    if (!w[2].contains(QLatin1Char('.'))) {
        if (Form* window = existingWindow(w[2]))
            compare(QStringLiteral("title of ") + w[2], w[3], window->windowTitle());
        return;
    }
    QWidget* control = existingControl(w[2]);
    if (!control)
        return;
    QString actual;
    if (auto* label = qobject_cast<QLabel*>(control))
        actual = label->text();
    else if (auto* field = qobject_cast<QLineEdit*>(control))
        actual = field->text();
    else if (auto* button = qobject_cast<QAbstractButton*>(control))
        actual = button->text();
    else if (auto* combo = qobject_cast<QComboBox*>(control))
        actual = combo->currentText();
    else if (auto* folders = qobject_cast<FolderList*>(control))
        actual = folders->path();
    else if (auto* edit = qobject_cast<QTextEdit*>(control))
        actual = edit->toPlainText();
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(control))
        actual = plain->toPlainText();
    else
        abort(w[2] + QStringLiteral(" has no text"));
    compare(QStringLiteral("text of ") + w[2], w[3], actual);
}

void ScenarioRunner::expectVisible(const Step& step) {
    const QStringList& w = step.words;
    if (QWidget* control = existingControl(w[2]))
        compare(QStringLiteral("visible ") + w[2], yesNo(yes(w[3])),
                yesNo(control->isVisibleTo(control->window())));
}

void ScenarioRunner::expectChecked(const Step& step) {
    const QStringList& w = step.words;
    if (QWidget* control = existingControl(w[2])) {
        auto* button = qobject_cast<QAbstractButton*>(control);
        if (!button)
            abort(w[2] + QStringLiteral(" cannot be checked"));
        compare(QStringLiteral("checked ") + w[2], yesNo(yes(w[3])), yesNo(button->isChecked()));
    }
}

void ScenarioRunner::expectShown(const Step& step) {
    const QStringList& w = step.words;
    Form* window = app_->windows().find(w[2]);
    compare(QStringLiteral("shown ") + w[2], yesNo(yes(w[3])),
            yesNo(window && window->isVisible()));
}

void ScenarioRunner::expectLoaded(const Step& step) {
    const QStringList& w = step.words;
    compare(QStringLiteral("loaded ") + w[2], yesNo(yes(w[3])),
            yesNo(app_->windows().find(w[2]) != nullptr));
}

void ScenarioRunner::expectSelected(const Step& step) {
    const QStringList& w = step.words;
    QWidget* control = existingControl(w[2]);
    if (!control)
        return;
    QString actual = QStringLiteral("none");
    if (auto* list = qobject_cast<QListView*>(control)) {
        const QModelIndexList selected = list->selectionModel()->selectedIndexes();
        if (!selected.isEmpty())
            actual = selected.first().data().toString();
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        if (combo->currentIndex() >= 0)
            actual = combo->currentText();
    } else {
        abort(w[2] + QStringLiteral(" is not a list or combo box"));
    }
    compare(QStringLiteral("selected in ") + w[2], w[3], actual);
}

void ScenarioRunner::expectRows(const Step& step) {
    const QString& target = step.words[2];
    QWidget* control = existingControl(target);
    if (!control)
        return;
    QStringList actual;
    if (auto* list = qobject_cast<QListView*>(control)) {
        const QAbstractItemModel* model = list->model();
        for (int i = 0; i < model->rowCount(); ++i)
            actual.append(quoted(model->index(i, 0).data().toString()) + QLatin1Char(' ') +
                          QString::number(model->index(i, 0).data(Qt::UserRole).toInt()));
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        for (int i = 0; i < combo->count(); ++i)
            actual.append(quoted(combo->itemText(i)) + QLatin1Char(' ') +
                          QString::number(combo->itemData(i).toInt()));
    } else if (auto* folders = qobject_cast<FolderList*>(control)) {
        // The rows under the folder shown.
        if (const QTreeWidgetItem* shown = folders->currentItem())
            for (int i = 0; i < shown->childCount(); ++i)
                actual.append(quoted(shown->child(i)->text(0)) + QStringLiteral(" 0"));
    } else if (auto* table = qobject_cast<QTableView*>(control)) {
        // A table's rows: the text of each cell.
        const QAbstractItemModel* model = table->model();
        for (int r = 0; r < model->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < model->columnCount(); ++c)
                cells.append(quoted(model->index(r, c).data().toString()));
            actual.append(cells.join(QLatin1Char(' ')));
        }
        QStringList expected;
        for (const QStringList& row : step.rows) {
            QStringList cells;
            for (const QString& cell : row)
                cells.append(quoted(cell));
            expected.append(cells.join(QLatin1Char(' ')));
        }
        if (expected != actual)
            fail(QStringLiteral("rows of %1:\n  expected:\n    %2\n  got:\n    %3")
                     .arg(target, expected.join(QStringLiteral("\n    ")),
                          actual.join(QStringLiteral("\n    "))));
        return;
    } else {
        abort(target + QStringLiteral(" is not a list, combo box or table"));
    }
    QStringList expected;
    for (const QStringList& row : step.rows) {
        if (row.size() != 2)
            abort(QStringLiteral("a row is TEXT DATA"));
        expected.append(quoted(row[0]) + QLatin1Char(' ') + row[1]);
    }
    if (expected != actual)
        fail(QStringLiteral("rows of %1:\n  expected:\n    %2\n  got:\n    %3")
                 .arg(target, expected.join(QStringLiteral("\n    ")),
                      actual.join(QStringLiteral("\n    "))));
}

void ScenarioRunner::expectTooltip(const Step& step) {
    const QStringList& w = step.words;
    if (QWidget* control = existingControl(w[2]))
        compare(QStringLiteral("tooltip of ") + w[2], w[3], control->toolTip());
}

void ScenarioRunner::expectEnabled(const Step& step) {
    const QStringList& w = step.words;
    if (QWidget* control = existingControl(w[2]))
        compare(QStringLiteral("enabled ") + w[2], yesNo(yes(w[3])), yesNo(control->isEnabled()));
}

void ScenarioRunner::expectCaptions(const Step& step) {
    for (const QString& name : step.words.mid(2)) {
        if (Form* window = existingWindow(name)) {
            for (const QString& cut : captionsThatDoNotFit(*window))
                fail(name + QStringLiteral(".") + cut);
        }
    }
}

void ScenarioRunner::expectPrinted(const Step& step) {
    QStringList expected;
    for (QStringList row : step.rows) {
        QString line;
        if (row.value(0) == QLatin1String("failed")) {
            line = QStringLiteral("failed ");
            row.removeFirst();
        }
        if (row.size() == 1 && row[0] == QLatin1String("enddoc") && line.isEmpty()) {
            expected.append(QStringLiteral("enddoc"));
            continue;
        }
        if (row.size() != 4)
            abort(QStringLiteral("a printed line is [failed] SIZE BOLD UNDERLINE TEXT, or enddoc"));
        bool ok = false;
        const double size = row[0].toDouble(&ok);
        if (!ok || (row[1] != QLatin1String("bold") && row[1] != QLatin1String("-")) ||
            (row[2] != QLatin1String("underline") && row[2] != QLatin1String("-")))
            abort(QStringLiteral("a printed line is [failed] SIZE BOLD UNDERLINE TEXT"));
        expected.append(line + QString::number(size) + QLatin1Char(' ') + row[1] +
                        QLatin1Char(' ') + row[2] + QLatin1Char(' ') + quoted(row[3]));
    }
    QStringList actual;
    for (; printedExpected_ < printer_.printed.size(); ++printedExpected_)
        actual.append(describePrinted(printer_.printed[printedExpected_]));
    if (expected != actual)
        fail(QStringLiteral("printed:\n  expected:\n    %1\n  got:\n    %2")
                 .arg(expected.join(QStringLiteral("\n    ")),
                      actual.join(QStringLiteral("\n    "))));
}

void ScenarioRunner::expectEnded(const Step& step) {
    compare(QStringLiteral("ended"), yesNo(yes(step.words[2])), yesNo(ended_));
}

void ScenarioRunner::expectState(const Step& step) {
    const QString& name = step.words[2];
    const QString& value = step.words[3];
    App& app = *app_;
    const auto count = [](auto value) { return QString::number(value); };
    const std::map<QString, std::function<QString()>> states{
        {QStringLiteral("access"), [&] { return yesNo(app.part<Access>().granted); }},
        {QStringLiteral("password"), [&] { return app.part<Access>().password; }},
        {QStringLiteral("data-dir"), [&] { return app.part<ShellState>().dataDirectory; }},
        {QStringLiteral("current-dir"),
         [&] { return QDir::toNativeSeparators(app.files.current()); }},
        {QStringLiteral("tables-dir"),
         [&] { return QDir::toNativeSeparators(app.files.tablesFolder()); }},
        {QStringLiteral("threshold"), [&] { return count(app.part<Catalogue>().threshold); }},
        {QStringLiteral("last-answer"), [&] { return count(app.lastAnswer); }},
        {QStringLiteral("files-created"),
         [&] { return yesNo(app.part<ShellState>().filesCreated); }},
        {QStringLiteral("font"), [&] { return printer_.font; }},
        {QStringLiteral("member-count"), [&] { return count(app.part<Members>().table.count()); }},
        {QStringLiteral("product-count"),
         [&] { return count(app.part<Catalogue>().table.count()); }},
        {QStringLiteral("current-line"), [&] { return count(app.part<Sales>().currentLine); }},
        {QStringLiteral("unlabelled"), [&] { return count(app.part<Catalogue>().unlabelled); }},
        {QStringLiteral("stock-value"),
         [&] { return numberForm(app.part<Catalogue>().stockValue); }},
        {QStringLiteral("current-product"), [&] { return count(app.part<Catalogue>().current); }},
        {QStringLiteral("line-count"), [&] { return count(app.part<Sales>().ledger.count()); }},
        {QStringLiteral("current-member"), [&] { return count(app.part<Members>().current); }},
        {QStringLiteral("total-material"),
         [&] { return numberForm(registerTotal(app, Register::Material)); }},
        {QStringLiteral("total-drinks"),
         [&] { return numberForm(registerTotal(app, Register::Drinks)); }},
        // The totals the program holds, as its last sum, print or statement left them.
        {QStringLiteral("held-material"),
         [&] { return numberForm(app.part<Cash>().totalOf(Register::Material)); }},
        {QStringLiteral("held-drinks"),
         [&] { return numberForm(app.part<Cash>().totalOf(Register::Drinks)); }},
    };
    QString actual;
    if (name.startsWith(QLatin1String("debt:"))) {
        // debt:N, member N's debt.
        bool ok = false;
        const int member = name.mid(5).toInt(&ok);
        if (!ok)
            abort(QStringLiteral("debt:N needs a member number"));
        actual = numberForm(app.part<Members>().debtOf(member));
    } else if (const auto it = states.find(name); it != states.end()) {
        actual = it->second();
    } else {
        QStringList names;
        for (const auto& [known, get] : states)
            names.append(known);
        abort(
            QStringLiteral("unknown state %1 (known: %2)").arg(name, names.join(QLatin1Char(' '))));
    }
    if (actual != value)
        fail(QStringLiteral("state %1: expected %2, got %3")
                 .arg(name, quoted(value), quoted(actual)));
}

} // namespace vendalise::testing
