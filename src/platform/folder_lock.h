#pragma once

#include <QDir>
#include <QLockFile>
#include <QString>

namespace velmora {

// The data folder claimed by one copy of the program at a time, through velmora.lock. A lock left by a
// program of this computer that is no longer running is taken over; one of another computer sharing
// the folder is taken over once it is older than kAbandonedLockHours, or when the user confirms that
// the program is closed there.
class FolderLock
{
public:
    static constexpr const char *kFileName = "velmora.lock";
    static constexpr int kAbandonedLockHours = 24;

    explicit FolderLock(const QDir &folder);

    enum class Claim
    {
        Claimed,
        HeldHere,      // another copy of the program on this computer
        HeldElsewhere, // another computer's, younger than kAbandonedLockHours: may be taken over
        NotAFile,      // velmora.lock is a folder, a link, a pipe or a device
        NotAFolder,    // the data folder is none
        CannotWrite
    };
    Claim claim();
    // Another computer's lock removed and the folder claimed, on the user's word.
    Claim takeOver();

    // What the user is told of a claim that failed.
    QString refusal(Claim claim) const;
    // The question asked of another computer's lock.
    QString takeOverQuestion() const;

private:
    QDir folder_;
    QLockFile lock_;
    QString holder_; // the other computer, and since when
};

} // namespace velmora
