#include "RealisticClub.h"

#include "cash/CashLedger.h"
#include "cash/KeptStatements.h"
#include "catalogue/ProductTable.h"
#include "core/Names.h"
#include "members/MemberTable.h"
#include "platform/Cp1252.h"
#include "platform/NumberForm.h"
#include "sales/Ledger.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cstdint>

namespace vendalise::testing {

namespace {

// A generator of its own, so that the club is the same with any standard
// library.
class Draw {
public:
    explicit Draw(std::uint32_t seed) : state_(seed) {}
    std::uint32_t next() {
        state_ = state_ * 1664525u + 1013904223u;
        return state_ >> 8;
    }
    // 0 to n - 1.
    int below(int n) { return int(next() % std::uint32_t(n)); }
    // True with the chance of `percent` in a hundred.
    bool chance(int percent) { return below(100) < percent; }

private:
    std::uint32_t state_;
};

// How busy the shop is in each month, September first (the season's
// start) down to August.
constexpr int kMonthWeight[13] = {0, 3, 3, 4, 5, 6, 5, 2, 1, 9, 8, 5, 5};

QString entryDate(QDate day) {
    return dateText(day);
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size() && file.flush();
}

} // namespace

RealisticClub realisticClub() {
    RealisticClub club;
    club.today = QDate(2008, 10, 20);
    club.members = {
        {"DUPONT", "Jean"},        {"MARTIN", "Sophie"},
        {"CHEVALIER-DUBOIS", "François"}, {"GIRARD", "Hugo"},
        {"LEFÈVRE", "Gaëlle"},     {"DE LA FONTAINE-SAINT-JUST", "Marie-Ève"},
        {"MOREAU", "Benoît"},      {"ROUSSEAU", "Anaïs"},
        {"FAURE", "Timothée"},     {"BONNET", "Hélène"},
        {"GUÉRIN", "Jérôme"},      {"N'DIAYE", "Aminata"},
        {"PETIT", "Noémie"},       {"MÜLLER", "Lukas"},
        {"BLANC", "Zoé"},          {"VINCENT", "Léo"},
    };
    club.products = {
        {"*Bière pression 25 cl", 2.5f, 96},
        {"*Jus de pomme artisanal", 1.5f, 40},
        {"*Café", 1, 180},
        {"*Thé ou infusion", 1, 75},
        {"*Soda cola 33 cl", 1.8f, 48},
        {"*Eau gazeuse 50 cl", 1.2f, 30},
        {"*Sirop à l'eau", 0.8f, 55},
        {"*Chocolat chaud", 1.5f, 3},
        {"Tee-shirt du club", 7.5f, 12},
        {"Sweat à capuche brodé au logo du club", 32, 5},
        {"Casquette", 9, 8},
        {"Gourde inox 75 cl", 12.9f, 4},
        {"Sac à dos 30 L", 45, 2},
        {"Corde dynamique 9,8 mm 60 m", 139, 1},
        {"Baudrier réglable", 55, 3},
        {"Mousqueton à vis", 8.9f, 25},
        {"Dégaines express (lot de 6)", 79, 2},
        {"Magnésie en poudre 250 g", 6.5f, 10},
        {"Chaussons d'escalade", 89, 0},
        {"Casque", 59, 5},
        {"Lampe frontale 300 lumens", 29.9f, 6},
        {"Topo des falaises du Vercors", 24, 7},
        {"Autocollant du club", 1, 150},
        {"Écusson brodé", 4.5f, 30},
        {"Bonnet", 12, 9},
        {"Licence FFME (part du club)", 15, 100},
    };

    Draw draw(20060901);
    const int members = int(club.members.size());
    const int drinks = 8;
    const int products = int(club.products.size());
    // Two members pay late, one of them never.
    const int late = 4;
    const int neverPays = 11;
    for (QDate day(2006, 9, 1); day < club.today; day = day.addDays(1)) {
        const int monthIndex = (day.month() + 3) % 12 + 1; // September is 1
        const int weight = kMonthWeight[monthIndex] * (day.dayOfWeek() >= 6 ? 2 : 1);
        // About 550 sales over the two seasons and a month.
        int count = 0;
        for (int chance = weight; chance > 0; chance -= 10)
            count += draw.chance(std::min(chance, 10) * 10) ? 1 : 0;
        for (int i = 0; i < count; ++i) {
            RealisticClub::Sale sale;
            sale.day = day;
            const bool drink = draw.chance(62);
            sale.product = drink ? 1 + draw.below(drinks) : drinks + 1 + draw.below(products - drinks);
            sale.member = 1 + draw.below(members);
            const float drinkQuantities[] = {1, 1, 1, 2, 2, 3, 4, 6};
            const float articleQuantities[] = {1, 1, 1, 1, 2};
            sale.quantity = drink ? drinkQuantities[draw.below(8)] : articleQuantities[draw.below(5)];
            const bool owed = draw.chance(18) ||
                              ((sale.member == late || sale.member == neverPays) && draw.chance(50));
            sale.paidAtOnce = !owed;
            if (owed && sale.member != neverPays) {
                const QDate when = day.addDays(5 + draw.below(110));
                if (when < club.today.addDays(-2) && draw.chance(72))
                    sale.settled = when;
            }
            club.sales.append(sale);
        }
    }
    // A sweat brought back, booked as an owed line of quantity -1: its
    // member, who owes nothing else, is in credit.
    const int returning = 16;
    for (RealisticClub::Sale& sale : club.sales)
        if (sale.member == returning && sale.owedToday())
            sale.settled = sale.day.addDays(1);
    club.sales.append({QDate(2008, 9, 27), 10, returning, -1, false, {}});
    std::stable_sort(club.sales.begin(), club.sales.end(),
                     [](const auto& a, const auto& b) { return a.day < b.day; });

    // Corrections: the float put in at each season's start, and the odd
    // mistake in change or a broken bottle.
    for (const int year : {2006, 2007, 2008}) {
        club.corrections.append({QDate(year, 9, 1), 0, "Fond de caisse", 50});
        club.corrections.append({QDate(year, 9, 1), 1, "Fond de caisse", 20});
    }
    club.corrections.append({QDate(2006, 11, 18), 0, "Erreur de rendu de monnaie", -2.5f});
    club.corrections.append({QDate(2007, 2, 10), 1, "Bouteille cassée", -1.8f});
    club.corrections.append({QDate(2007, 6, 2), 0, "Don d'un adhérent", 30});
    club.corrections.append({QDate(2008, 3, 15), 1, "Écart de caisse", -3.5f});
    club.corrections.append({QDate(2008, 5, 24), 0, "Remboursement d'un mousqueton", -8.9f});
    std::stable_sort(club.corrections.begin(), club.corrections.end(),
                     [](const auto& a, const auto& b) { return a.day < b.day; });
    club.statements = {QDate(2007, 8, 31), QDate(2008, 8, 31)};
    return club;
}

RealisticClub RealisticClub::withLongNames() const {
    static const QString more =
        QStringLiteral(" – modèle de la saison, en vente au local du club d'escalade");
    RealisticClub club = *this;
    for (Product& product : club.products)
        product.name = (product.name + more).left(kProductNameWidth);
    return club;
}

bool writeClub(const RealisticClub& club, const QString& folder) {
    const QDir dir(folder);
    QByteArray products;
    for (const RealisticClub::Product& product : club.products)
        products += productRecord(product.name, product.price, product.stock);
    QByteArray members;
    for (const RealisticClub::Member& member : club.members)
        members += memberRecord(member.name, member.firstName);
    QByteArray ledger;
    for (const RealisticClub::Sale& sale : club.sales)
        ledger += ledgerRecord({dateText(sale.day), qint16(sale.product), qint16(sale.member),
                                sale.quantity, sale.owedToday() ? kOwed : kPaid});

    // Each register's entries by day: sales paid at once, settlements, and
    // corrections, in the order the treasurer made them.
    struct Entry {
        QDate day;
        int cashRegister;
        QString text;
    };
    QList<Entry> entries;
    for (const RealisticClub::Sale& sale : club.sales) {
        const RealisticClub::Product& product = club.products[sale.product - 1];
        const RealisticClub::Member& member = club.members[sale.member - 1];
        const int r = int(registerOf(product.name));
        const float total = float(double(product.price) * sale.quantity);
        if (sale.paidAtOnce)
            entries.append({sale.day, r,
                            saleEntry(entryDate(sale.day), member.firstName, member.name,
                                      numberForm(sale.quantity), product.name, product.price,
                                      total)});
        else if (sale.settled.isValid())
            entries.append({sale.settled, r,
                            settlementEntry(entryDate(sale.settled), member.firstName, member.name,
                                            numberForm(sale.quantity), product.name,
                                            product.price, total)});
    }
    for (const RealisticClub::Correction& correction : club.corrections)
        entries.append({correction.day, correction.cashRegister,
                        correctionEntry(Register(correction.cashRegister),
                                        entryDate(correction.day), correction.label,
                                        correction.amount)});
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return a.day < b.day; });

    // A statement keeps what its register held and empties it.
    if (!dir.mkpath(kKeptFolder))
        return false;
    QString text[2];
    qsizetype next = 0;
    for (const QDate& statement : club.statements) {
        for (; next < entries.size() && entries[next].day <= statement; ++next)
            text[entries[next].cashRegister] += entries[next].text + QStringLiteral("\r\n");
        for (const int r : {0, 1}) {
            const QString name = keptStatementName(Register(r), statement, 1);
            if (!writeFile(dir.filePath(kKeptFolder + QLatin1Char('/') + name), toCp1252(text[r])))
                return false;
            text[r].clear();
        }
    }
    for (; next < entries.size(); ++next)
        text[entries[next].cashRegister] += entries[next].text + QStringLiteral("\r\n");

    return writeFile(dir.filePath(kProductFile), products) &&
           writeFile(dir.filePath(kMemberFile), members) &&
           writeFile(dir.filePath(kLedgerFile), ledger) &&
           writeFile(dir.filePath(kMaterialLedgerFile), toCp1252(text[0])) &&
           writeFile(dir.filePath(kDrinksLedgerFile), toCp1252(text[1]));
}

} // namespace vendalise::testing
