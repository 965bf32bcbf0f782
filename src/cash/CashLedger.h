#pragma once

#include "platform/Rows.h"

#include <QByteArrayView>
#include <QObject>
#include <QString>
#include <QStringList>

namespace vendalise {

class App;

// The two cash registers, each a cp1252 text ledger of cash entries: the
// material register "Compta.orv" for articles, the drinks register
// "ComptaBoisson.orv" for drinks.
enum class Register { Material = 0, Drinks = 1 };

QString ledgerFileOf(Register cashRegister);
// Sales and settlements of a product whose name begins with "*" (a drink)
// go to the drinks register, all others to the material register.
Register registerOf(const QString& productName);

// The cash registers' part of the shared state: the rows of both register
// lists as last filled, and the register totals as last computed.
class Cash : public QObject {
    Q_OBJECT
public:
    Rows rows[2];
    float totals[2] = {0, 0};
    // The length of the ledger file the rows were filled from (-1 unknown).
    qint64 filledFrom[2] = {-1, -1};

    Rows& rowsOf(Register r) { return rows[static_cast<int>(r)]; }
    float& totalOf(Register r) { return totals[static_cast<int>(r)]; }

    // Tells the windows that the rows are about to change, then changes them
    // and tells that they were filled. A window lets go of the rows it shows
    // meanwhile, so that 100,000 rows are changed in place, not copied.
    template <class Change> void changeRows(Register r, Change change) {
        Q_EMIT rowsChanging(r);
        change(rowsOf(r));
        Q_EMIT listFilled(r);
    }

Q_SIGNALS:
    void rowsChanging(Register cashRegister);
    // A register's list was filled again: its window shows the new rows.
    void listFilled(Register cashRegister);
};

// A cash entry: three lines, each followed by CR LF (the ledger's empty
// line is added when it is appended).
QString cashEntry(const QString& line1, const QString& line2, const QString& line3);
// A purchase paid at once, and an owed one paid later. Names, quantity and
// product name are taken as given (the callers trim them).
QString saleEntry(const QString& date, const QString& firstName, const QString& name,
                  const QString& quantity, const QString& productName, float unitPrice,
                  float total);
QString settlementEntry(const QString& date, const QString& firstName, const QString& name,
                        const QString& quantity, const QString& productName, float unitPrice,
                        float total);
QString correctionEntry(Register cashRegister, const QString& date, const QString& label,
                        float amount);

// The rows of a register's list for the lines of ledger text (cp1252, split
// at CR LF): "€" after every line with "Prix total" and after every line
// with "Correction de caisse".
Rows registerRows(const QByteArray& text);
// Fills a register's list from its ledger file, which must exist.
void fillRegisterList(App& app, Register cashRegister);

// Appends one entry and its empty line in one write; a failed append
// leaves the ledger as it was. Returns the ledger's former length.
qint64 appendCashEntry(App& app, Register cashRegister, const QString& entry);
// Refills the register's list after the entry was appended at formerLength:
// when the list showed the ledger up to there, only the entry's rows are
// added, as the fill rule would; otherwise the whole ledger is read again.
void showAppendedEntry(App& app, Register cashRegister, const QString& entry, qint64 formerLength);
// The same for any text appended at formerLength (lines ending in CR LF).
void showAppendedText(App& app, Register cashRegister, const QString& text, qint64 formerLength);
// Appends the entry, then refills the register's list.
void MajCompta(App& app, const QString& entry);
void MajComptaBoisson(App& app, const QString& entry);

// The money a register should hold: every amount after "Prix total :" and
// after the register's correction marker in the ledger's cp1252 text,
// summed in double precision and rounded to single at each step. Read on
// the bytes: cp1252 has one byte a character and the markers are ASCII.
float registerTotal(const QByteArray& ledgerText, Register cashRegister);
// The amounts one line adds: after "Prix total :", then after the
// register's correction marker.
struct LineAmounts {
    double values[2] = {0, 0};
    int count = 0;
};
LineAmounts amountsOfLine(QByteArrayView line, Register cashRegister);
// One amount added to a register's running total, as the total adds it.
inline float addAmount(float sum, double value) {
    return static_cast<float>(double(sum) + value);
}
// The same for the register's ledger file; a missing file holds nothing.
float registerTotal(App& app, Register cashRegister);

} // namespace vendalise
