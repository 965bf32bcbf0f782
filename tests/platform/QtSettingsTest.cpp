#include "platform/QtSettings.h"

#include "TestHelpers.h"

#include <QSettings>
#include <QStandardPaths>
#include <QSysInfo>

namespace vendalise {
namespace {

class IniSettings : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder_.isValid()); }
    QString iniFile() const { return folder_.filePath(u"Vendalise.ini"_s); }

private:
    QTemporaryDir folder_;
};

TEST_F(IniSettings, SectionsAndKeysMatchWithoutRegardToCase) {
    QtSettingsStore file(iniFile());
    SettingsStore& store = file; // the defaults are the interface's
    store.setValue(u"DirFichiersGestion"_s, u"Dir"_s, u"/données/club"_s);
    EXPECT_EQ(store.value(u"dirfichiersgestion"_s, u"dir"_s), u"/données/club"_s);

    // Another spelling updates the same key instead of adding one.
    store.setValue(u"DIRFICHIERSGESTION"_s, u"DIR"_s, u"/autre"_s);
    EXPECT_EQ(store.value(u"DirFichiersGestion"_s, u"Dir"_s), u"/autre"_s);
    QSettings raw(iniFile(), QSettings::IniFormat);
    EXPECT_EQ(raw.childGroups(), QStringList{u"DirFichiersGestion"_s});
    raw.beginGroup(u"DirFichiersGestion"_s);
    EXPECT_EQ(raw.childKeys(), QStringList{u"Dir"_s});
}

TEST_F(IniSettings, AValueThatCannotBeStoredIsReported) {
    QtSettingsStore good(iniFile());
    EXPECT_TRUE(good.setValue(u"Psw"_s, u"Psw"_s, u"abc"_s));
    // A store whose folder would have to be made inside a plain file.
    QtSettingsStore bad(iniFile() + u"/sous-dossier/Vendalise.ini"_s);
    EXPECT_FALSE(bad.setValue(u"Psw"_s, u"Psw"_s, u"abc"_s));
}

TEST_F(IniSettings, ValuesSurviveARoundTripThroughTheFile) {
    const QString values[] = {u"12,50"_s,
                              u"a, b, c"_s,
                              u"  blancs devant et derrière  "_s,
                              u"Évaluée à l'œil ; « ça »"_s,
                              u"C:\\Vendalise\\Données\\"_s,
                              u"clé=valeur"_s,
                              u"\"guillemets\" #dièse"_s,
                              QString()};
    for (const QString& value : values) {
        SCOPED_TRACE(value.toStdString());
        QtSettingsStore(iniFile()).setValue(u"Test"_s, u"V"_s, value);
        EXPECT_EQ(QtSettingsStore(iniFile()).value(u"Test"_s, u"V"_s, u"défaut"_s), value);
    }
}

TEST_F(IniSettings, TwoStoresOnOneFileSeeEachOthersWrites) {
    QtSettingsStore firstFile(iniFile());
    QtSettingsStore secondFile(iniFile());
    SettingsStore& first = firstFile;
    SettingsStore& second = secondFile;
    first.setValue(u"Acces"_s, u"MotDePasse"_s, u"abc"_s);
    EXPECT_EQ(second.value(u"Acces"_s, u"MotDePasse"_s), u"abc"_s);
    second.setValue(u"acces"_s, u"motdepasse"_s, u"xyz"_s);
    EXPECT_EQ(first.value(u"Acces"_s, u"MotDePasse"_s), u"xyz"_s);
}

// The program's own places: on Windows the folders a club's PC has always
// had, and the registry under the application's name; elsewhere the home
// folder and the user's configuration folder.
TEST(SystemPlaces, DefaultFoldersAndTheNativeStoreAreTheSystemsOwn) {
    const bool windows = QSysInfo::productType() == u"windows"_s;
    const DefaultFolders folders = systemDefaultFolders();
    if (windows) {
        EXPECT_EQ(folders.data, u"C:\\Vendalise"_s);
        EXPECT_EQ(folders.backup, u"a:\\"_s);
    } else {
        EXPECT_EQ(folders.data, QDir::homePath() + u"/Vendalise"_s);
        EXPECT_EQ(folders.backup, QDir::homePath());
    }

    // Test mode keeps the user's own configuration folder out of it.
    // On Windows the user's own threshold, if any, is put back afterwards.
    QStandardPaths::setTestModeEnabled(true);
    QSettings raw(QSettings::NativeFormat, QSettings::UserScope, u"Vendalise"_s, u"Vendalise"_s);
    const QVariant before = raw.value(u"SeuilCommande/Seuil"_s);
    QtSettingsStore nativeStore;
    SettingsStore& native = nativeStore;
    ASSERT_TRUE(native.setValue(u"SeuilCommande"_s, u"Seuil"_s, u"7"_s));
    raw.sync();
    if (windows)
        EXPECT_EQ(raw.fileName(), u"\\HKEY_CURRENT_USER\\Software\\Vendalise\\Vendalise"_s);
    else
        EXPECT_TRUE(raw.fileName().endsWith(u"/Vendalise/Vendalise.conf"_s))
            << raw.fileName().toStdString();
    EXPECT_EQ(raw.value(u"SeuilCommande/Seuil"_s).toString(), u"7"_s);
    EXPECT_EQ(native.value(u"seuilcommande"_s, u"SEUIL"_s), u"7"_s);
    if (before.isValid())
        raw.setValue(u"SeuilCommande/Seuil"_s, before);
    else
        raw.remove(u"SeuilCommande/Seuil"_s);
    QStandardPaths::setTestModeEnabled(false);
}

} // namespace
} // namespace vendalise
