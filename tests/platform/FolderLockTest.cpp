#include "platform/FolderLock.h"

#include "TestHelpers.h"

namespace vendalise {
namespace {

class FolderLocks : public InScratchDir {};

TEST_F(FolderLocks, OneHolderAtATimeWhichTheOthersAreToldOf) {
    FolderLock first;
    FolderLock second;
    EXPECT_EQ(first.take(pathOf(u"Vendalise.verrou"_s)).state, FolderLock::State::Held);
    const FolderLock::Outcome refused = second.take(pathOf(u"Vendalise.verrou"_s));
    EXPECT_EQ(refused.state, FolderLock::State::HeldElsewhere);
    EXPECT_EQ(refused.host, FolderLock::thisComputer());
    first.release();
    EXPECT_FALSE(QFile::exists(pathOf(u"Vendalise.verrou"_s)));
    EXPECT_EQ(second.take(pathOf(u"Vendalise.verrou"_s)).state, FolderLock::State::Held);
}

// A run that died on this computer left its lock: the next one takes it.
TEST_F(FolderLocks, ALockLeftByAProcessThatIsGoneIsTakenOver) {
    writeBytes(u"Vendalise.verrou"_s,
               "2147480000\nvendalise\n" + FolderLock::thisComputer().toUtf8() + "\n");
    FolderLock lock;
    EXPECT_EQ(lock.take(pathOf(u"Vendalise.verrou"_s)).state, FolderLock::State::Held);
}

TEST_F(FolderLocks, AFolderWhereNoLockCanBeMadeIsToldWithItsReason) {
    FolderLock lock;
    const FolderLock::Outcome outcome = lock.take(pathOf(u"Absent/Vendalise.verrou"_s));
    EXPECT_EQ(outcome.state, FolderLock::State::Unavailable);
    EXPECT_FALSE(outcome.description.isEmpty());
}

} // namespace
} // namespace vendalise
