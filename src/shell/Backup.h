#pragma once

#include <QDate>
#include <QString>

namespace vendalise {

class App;

// The suffix of the dated copies: " du dd-mm-yy".
QString DateMF(QDate today);

// Copies the five data files to the backup folder the user confirms, then
// beside themselves with today's suffix. Each copy that fails is told and
// the others go on; a success is not told. Cancel or an empty folder
// abandons the backup.
void Sauvegarde(App& app);

} // namespace vendalise
