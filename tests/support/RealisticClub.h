#pragma once

#include <QDate>
#include <QList>
#include <QString>

namespace vendalise::testing {

// A club as a treasurer has one, to try what the windows, prints and
// exports show: a climbing club of 16 members (long, hyphenated and
// accented names), 26 products (drinks and articles, long names), about
// 550 sales from 1 September 2006 to the eve of today (two seasons and the
// start of a third), paid and owed, owed ones settled weeks later, a
// returned article (a member in credit), corrections of both signs, and a
// statement of each register on 31 August of each season, kept in
// "Relevés". Made the same on every run and every system.
struct RealisticClub {
    struct Member {
        QString name;
        QString firstName;
    };
    struct Product {
        QString name;
        float price = 0;
        float stock = 0;
    };
    struct Sale {
        QDate day;
        int product = 0; // from 1
        int member = 0;  // from 1
        float quantity = 0;
        bool paidAtOnce = false;
        QDate settled; // an owed sale paid later; invalid while it is owed
        bool owedToday() const { return !paidAtOnce && !settled.isValid(); }
    };
    struct Correction {
        QDate day;
        int cashRegister = 0; // 0 material, 1 drinks
        QString label;
        float amount = 0;
    };

    QDate today;
    qint16 threshold = 5;
    QList<Member> members;
    QList<Product> products;
    QList<Sale> sales; // by day, the ledger's order
    QList<Correction> corrections;
    QList<QDate> statements; // both registers kept and emptied that day

    // The same club with every product name 65 characters long, the most
    // the product file holds.
    RealisticClub withLongNames() const;
};

RealisticClub realisticClub();

// Writes the club's data files into the folder (which must exist):
// "Produits.orv", "Adhérents.orv", "es.orv", "Compta.orv",
// "ComptaBoisson.orv" and the kept statements of "Relevés", with the
// program's own record formats and entry texts. False when a file cannot
// be written.
bool writeClub(const RealisticClub& club, const QString& folder);

} // namespace vendalise::testing
