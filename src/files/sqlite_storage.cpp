#include "files/sqlite_storage.h"

#include <QCoreApplication>

#include "schema/slot_files.h"

namespace velmora {

namespace {

// A failure on the open book names its file, unless the reason already does.
template <typename Result> Result naming(const Connection &book, Result result, bool failed, QString *error)
{
    if (failed && !error->contains(QLatin1Char('"') + book.fileName() + QLatin1Char('"')))
        *error = QCoreApplication::translate("Storage", "%1 (in \"%2\")").arg(*error, book.fileName());
    return result;
}

} // namespace

SqliteStorage::SqliteStorage(const QDir &folder, int lockWaitMs)
    : data1_(QStringLiteral("Data1"), folder), data2_(QStringLiteral("Data2"), folder),
      data22_(QStringLiteral("Data22"), folder), settings_(data2_, data22_), appointments_(data1_)
{
    // Opened by the first read that needs them: a file another program holds locked is waited for
    // once the window is on the screen, where the user sees why.
    for (Connection *connection : {&data1_, &data2_, &data22_})
        connection->setLockWait(lockWaitMs);
    data1_.pointLater(QString::fromLatin1(kDoctorSlots[0].appointmentFile));
    data2_.pointLater(QString::fromLatin1(kMainSettingsFile));
    data22_.pointLater(QString::fromLatin1(kExtraSettingsFile));
}

bool SqliteStorage::openBook(int slot, QString *error)
{
    return data1_.pointAt(QString::fromLatin1(doctorSlot(slot).appointmentFile), error);
}

bool SqliteStorage::bookIsEmpty(bool *empty, QString *error)
{
    bool any = false;
    if (!appointments_.hasRecords(&any, error))
        return naming(data1_, false, true, error);
    *empty = !any;
    return true;
}

bool SqliteStorage::addPlaceholder(QString *error)
{
    const bool ok = appointments_.addPlaceholder(error);
    return naming(data1_, ok, !ok, error);
}

bool SqliteStorage::readDay(QDate date, QVector<Appointment> *bookings, QString *error)
{
    const bool ok = appointments_.readDay(date, bookings, error);
    return naming(data1_, ok, !ok, error);
}

AddOutcome SqliteStorage::add(const Appointment &booking, int linkedSlot, QString *error)
{
    const QString linkedFile =
        isDoctorSlot(linkedSlot) ? QString::fromLatin1(doctorSlot(linkedSlot).appointmentFile) : QString();
    const AddOutcome outcome = appointments_.add(booking, linkedFile, error);
    return naming(data1_, outcome, outcome == AddOutcome::NotStored, error);
}

WriteOutcome SqliteStorage::update(const Appointment &stored, const Appointment &changed, QString *error)
{
    const WriteOutcome outcome = appointments_.update(stored, changed, error);
    return naming(data1_, outcome, outcome == WriteOutcome::Failed, error);
}

WriteOutcome SqliteStorage::remove(const Appointment &stored, QString *error)
{
    const WriteOutcome outcome = appointments_.remove(stored, error);
    return naming(data1_, outcome, outcome == WriteOutcome::Failed, error);
}

bool SqliteStorage::takeBookReopened()
{
    return data1_.takeReopened();
}

bool SqliteStorage::readDoctors(AllDoctorFields *fields, QString *error)
{
    return settings_.readDoctorFields(fields, error);
}

bool SqliteStorage::tryReadDoctors(AllDoctorFields *fields, QString *error)
{
    return settings_.tryReadDoctorFields(fields, error);
}

bool SqliteStorage::readSlotLengthAndLink(int slot, DoctorFields *fields, QString *error)
{
    return settings_.readSlotLengthAndLink(slot, fields, error);
}

bool SqliteStorage::saveDoctors(const AllDoctorChanges &changes, QString *error)
{
    return settings_.saveDoctorFields(changes, error);
}

bool SqliteStorage::readWeeklyTimes(int slot, WeeklyTimes *times, QString *error)
{
    return settings_.readWeeklyTimes(slot, times, error);
}

bool SqliteStorage::saveWeeklyTimes(int slot, const WeeklyTimes &times, QString *error)
{
    return settings_.saveWeeklyTimes(slot, times, error);
}

} // namespace velmora
