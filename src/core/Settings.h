#pragma once

#include "core/App.h"

#include <QString>

#include <optional>
#include <type_traits>
#include <utility>

// The program's settings, each read and written only through its Setting,
// which knows where it is kept, its type and its value when not stored.
namespace vendalise {

// "True" or a number other than 0 is true; anything else ("False", 0, a
// text that is no number) is false. A number with a comma or a point.
bool readBoolean(const QString& text);
// A whole number of 16 bits, rounded half to even ("5,5" gives 6);
// nullopt when the text is no number or out of range.
std::optional<qint16> readInteger16(const QString& text);

// The reorder threshold as the stock window's field holds it and as it is
// stored: a text, read as a whole number of 16 bits (none when the text is
// no such number).
struct ThresholdText {
    QString text;
    std::optional<qint16> value() const { return readInteger16(text); }
};

// A value of the settings store, of type bool, QString or ThresholdText.
template <class T> class Setting {
public:
    // Kept in `section` under `key`, written under `writtenKey` when given
    // (keys match without regard to case, so a stored spelling is kept);
    // `missing` is the text read when the value is not stored; `lost`, the
    // message ("%1": the value) telling that a value could not be kept.
    Setting(QString section, QString key, QString missing, QString lost = {},
            QString writtenKey = {})
        : section_(std::move(section)), key_(std::move(key)), missing_(std::move(missing)),
          lost_(std::move(lost)), writtenKey_(writtenKey.isEmpty() ? key_ : writtenKey) {}

    T read(SettingsStore& store) const { return fromText(store.value(section_, key_, missing_)); }
    // Returns false when the store could not keep the value.
    bool store(SettingsStore& store, const T& value) const {
        return store.setValue(section_, writtenKey_, toText(value));
    }
    // Stores a value the user chose. One that cannot be kept is told, and
    // the program goes on: the value holds for this run only.
    void keep(App& app, const T& value) const {
        if (!store(app.sys.settings, value))
            app.tell(lost_.arg(toText(value)), QStringLiteral("Vendalise"),
                     Messages::Icon::Exclamation);
    }

private:
    static T fromText(const QString& text) {
        if constexpr (std::is_same_v<T, bool>)
            return readBoolean(text);
        else if constexpr (std::is_same_v<T, ThresholdText>)
            return ThresholdText{text};
        else
            return text;
    }
    static QString toText(const T& value) {
        if constexpr (std::is_same_v<T, bool>)
            return value ? QStringLiteral("True") : QStringLiteral("False");
        else if constexpr (std::is_same_v<T, ThresholdText>)
            return value.text;
        else
            return value;
    }

    QString section_;
    QString key_;
    QString missing_;
    QString lost_;
    QString writtenKey_;
};

// Whether the reserved access starts granted: "False" once a password was
// put in place.
inline const Setting<bool> kAccessOpenSetting{QStringLiteral("Psw"), QStringLiteral("PswActif"),
                                              QStringLiteral("True")};
inline const Setting<QString> kPasswordSetting{QStringLiteral("Psw"), QStringLiteral("Psw"), {}};
// Read as "dir", written as "Dir".
inline const Setting<QString> kDataDirectorySetting{
    QStringLiteral("DirFichiersGestion"),
    QStringLiteral("dir"),
    {},
    QStringLiteral("Le répertoire des données n'a pas pu être enregistré :\r\n%1\r\n"
                   "Au prochain lancement, il faudra le choisir de nouveau."),
    QStringLiteral("Dir")};
inline const Setting<ThresholdText> kThresholdSetting{
    QStringLiteral("SeuilCommande"), QStringLiteral("Seuil"), QStringLiteral("5"),
    QStringLiteral("Le seuil de commande n'a pas pu être enregistré :\r\n%1\r\n"
                   "Au prochain lancement, le seuil sera celui d'avant.")};
// The folder of the backup copies, proposed at the next backup.
inline const Setting<QString> kBackupFolderSetting{
    QStringLiteral("Sauvegarde"),
    QStringLiteral("Dossier"),
    {},
    QStringLiteral("Le dossier de la sauvegarde n'a pas pu être enregistré :\r\n%1\r\n"
                   "Il ne sera pas proposé à la prochaine sauvegarde.")};

// The club's name, as the Bilans window's field "Club" holds it, printed at
// the head of the Bilans and of the documents made from them; empty by
// default.
inline const Setting<QString> kClubSetting{
    QStringLiteral("Club"),
    QStringLiteral("Nom"),
    {},
    QStringLiteral("Le nom du club n'a pas pu être enregistré :\r\n%1\r\n"
                   "Au prochain lancement, il faudra le saisir de nouveau.")};
// The club's name as stored, without surrounding blanks ("" when none).
inline QString clubName(App& app) {
    return kClubSetting.read(app.sys.settings).trimmed();
}

} // namespace vendalise
