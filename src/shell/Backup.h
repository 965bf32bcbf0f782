#pragma once

#include "backup/BackupNames.h"

namespace vendalise {

class App;

// Copies the five data files to the backup folder the user confirms, then
// beside themselves with today's suffix (DateMF). Each copy that fails is
// told and the others go on; a success is not told. Cancel or an empty
// folder abandons the backup.
void Sauvegarde(App& app);

} // namespace vendalise
